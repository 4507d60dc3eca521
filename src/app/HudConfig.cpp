#include "HudConfig.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

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
    QFile file(QDir(controlFolder).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileSize)
        return std::nullopt;
    return parseIdleOpacity(file.read(maxFileSize));
}

} // namespace halvic::hudconfig
