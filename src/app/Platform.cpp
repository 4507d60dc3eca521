#include "Platform.h"

#include <QDir>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#ifdef HALVIC_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <cstdlib>
#include <cstring>

namespace halvic {

bool useSoftwareSceneGraph(const std::function<QByteArray(const char *)> &variable, const GraphicsFacts &facts)
{
    if (!variable("QT_QUICK_BACKEND").isEmpty() || !variable("QSG_RHI_BACKEND").isEmpty())
        return false;
    if (variable("LIBGL_ALWAYS_SOFTWARE") == "1" || variable("LIBGL_ALWAYS_SOFTWARE") == "true")
        return true;
    if (!facts.renderNode)
        return true;
    return facts.onX11 && !facts.x11DirectRendering;
}

WebEngineSetup webEngineSetup(
    const std::function<QByteArray(const char *)> &variable, bool softwareSceneGraph, bool runningAsRoot)
{
    WebEngineSetup setup;
    setup.shareOpenGLContexts = !softwareSceneGraph;
    const QByteArray flags = variable("QTWEBENGINE_CHROMIUM_FLAGS");
    if (softwareSceneGraph && !flags.contains("-gpu"))
        setup.chromiumFlags = (flags + " --disable-gpu").trimmed();
    setup.disableSandbox = runningAsRoot && variable("QTWEBENGINE_DISABLE_SANDBOX").isEmpty();
    return setup;
}

namespace {

bool hasRenderNode()
{
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
}

bool x11OffersDirectRendering()
{
#ifdef HALVIC_HAVE_XCB
    // A connection of its own, before the application's: closed again at once.
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    bool found = false;
    for (const char *name : {"DRI3", "DRI2"}) {
        auto *reply = xcb_query_extension_reply(
            connection, xcb_query_extension(connection, uint16_t(std::strlen(name)), name), nullptr);
        found = found || (reply && reply->present);
        std::free(reply);
    }
    xcb_disconnect(connection);
    return found;
#else
    return false;
#endif
}

} // namespace

GraphicsFacts readGraphicsFacts(bool onX11)
{
    GraphicsFacts facts;
    facts.renderNode = hasRenderNode();
    facts.onX11 = onX11;
    facts.x11DirectRendering = onX11 && facts.renderNode && x11OffersDirectRendering();
    return facts;
}

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
