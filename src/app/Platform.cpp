#include "Platform.h"

#include <QDir>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace halvic {

QByteArray forcedPlatform(const std::function<QByteArray(const char *)> &variable)
{
    if (!variable("QT_QPA_PLATFORM").isEmpty())
        return {};
    const bool wayland = variable("XDG_SESSION_TYPE") == "wayland" || !variable("WAYLAND_DISPLAY").isEmpty();
    const bool xwayland = !variable("DISPLAY").isEmpty();
    return wayland && xwayland ? QByteArrayLiteral("xcb") : QByteArray();
}

namespace {

bool capturesVideo(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    v4l2_capability caps = {};
    const bool queried = ::ioctl(fd, VIDIOC_QUERYCAP, &caps) == 0;
    ::close(fd);
    if (!queried)
        return false;
    // Metadata nodes of the same camera report no capture capability of their own.
    const quint32 own = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    return own & (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_VIDEO_CAPTURE_MPLANE);
}

} // namespace

bool hasVideoCaptureDevice(const QString &deviceFolder)
{
    const QStringList nodes = QDir(deviceFolder).entryList({QStringLiteral("video*")}, QDir::System | QDir::Files);
    for (const QString &node : nodes) {
        if (capturesVideo(QDir(deviceFolder).filePath(node)))
            return true;
    }
    return false;
}

} // namespace halvic
