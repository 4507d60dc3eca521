#include "RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvic {

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    // Anything else under that name (a pipe, a device) is not even opened; the open below
    // cannot block either way, and the file it gives is checked again.
    struct stat named = {};
    if (::stat(QFile::encodeName(path).constData(), &named) != 0 || !S_ISREG(named.st_mode))
        return std::nullopt;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes)
        return std::nullopt;
    return file.read(maxBytes);
}

} // namespace halvic
