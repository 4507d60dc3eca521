#include "HudConfig.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Opened without waiting and read only when it is a regular file: a pipe or a device
    // under that name would block the read (and this runs on the main thread).
    const QByteArray path = QFile::encodeName(QDir(controlFolder).filePath(fileName));
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxFileSize)
        return std::nullopt;
    return parseIdleOpacity(file.read(maxFileSize));
}

} // namespace halvic::hudconfig
