#include "HudConfig.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include "RegularFile.h"

namespace halvic::hudconfig {

namespace {
constexpr QLatin1StringView idleOpacityKey{"idle_opacity"};
// The file is a few bytes; anything far larger is not ours to parse.
constexpr qint64 maxFileSize = 64 * 1024;
} // namespace

double clampOpacity(double value)
{
    return std::clamp(value, 0.1, 1.0);
}

std::optional<double> parseIdleOpacity(QByteArrayView json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray());
    if (!document.isObject())
        return std::nullopt;
    const QJsonValue value = document.object().value(idleOpacityKey);
    double number = 0;
    if (value.isDouble()) {
        number = value.toDouble();
    } else if (value.isString()) {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(number))
        return std::nullopt;
    // 1 itself means fully opaque, not one percent.
    if (number > 1)
        number /= 100;
    return clampOpacity(number);
}

std::optional<double> readIdleOpacity(const QString &controlFolder)
{
    // Only a regular file is read: a pipe under that name would block the main thread.
    const auto bytes = readRegularFile(QDir(controlFolder).filePath(fileName), maxFileSize);
    return bytes ? parseIdleOpacity(*bytes) : std::nullopt;
}

} // namespace halvic::hudconfig
