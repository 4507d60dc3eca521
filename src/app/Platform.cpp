#include "Platform.h"

#include "X11Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QQmlEngine>

#include <cerrno>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace halvic {

void addImportPaths(QQmlEngine &qml)
{
    // The modules are compiled in under qrc:/<URI path>.
    qml.addImportPath(QStringLiteral("qrc:/"));
    // An installed HUD never uses the build tree's.
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/halvic/qml");
    qml.addImportPath(QFileInfo(installed).isDir() ? installed : QStringLiteral(HALVIC_BUILD_QML_DIR));
}

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
    QByteArray added;
    if (softwareSceneGraph && !flags.contains("-gpu"))
        added += " --disable-gpu";
    // Email bodies need no utility process of their own (the network service runs in the
    // browser process), so the zygote that would start them unsandboxed, a process of about
    // 50 MiB, is not made. The sandboxed one stays.
    if (!flags.contains("zygote"))
        added += " --no-unsandboxed-zygote";
    // The only script that runs is ours, measuring a body's height, once: V8 without its
    // compilers is fast enough for that, takes less memory and leaves no page both writable
    // and executable in the process that parses the email.
    if (!flags.contains("js-flags"))
        added += " --js-flags=--jitless";
    if (!added.isEmpty())
        setup.chromiumFlags = (flags + added).trimmed();
    setup.disableSandbox = runningAsRoot && variable("QTWEBENGINE_DISABLE_SANDBOX").isEmpty();
    return setup;
}

namespace {

bool hasRenderNode()
{
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
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

VideoNode::Access accessOf(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? VideoNode::Access::denied : VideoNode::Access::other;
    v4l2_capability caps = {};
    const bool queried = ::ioctl(fd, VIDIOC_QUERYCAP, &caps) == 0;
    ::close(fd);
    if (!queried)
        return VideoNode::Access::other;
    // Metadata nodes of the same camera report no capture capability of their own.
    const quint32 own = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    return own & (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_VIDEO_CAPTURE_MPLANE) ? VideoNode::Access::capture
                                                                          : VideoNode::Access::other;
}

/// The desktop's camera page, where its settings program has one.
QStringList cameraSettings(const QString &desktop, const std::function<bool(const QString &)> &hasDesktopEntry)
{
    const QStringList desktops = desktop.split(u':', Qt::SkipEmptyParts);
    if (!desktops.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive))
        return {};
    // GNOME 43 has a camera panel of its own; later versions keep it under privacy. KDE
    // Plasma has no camera page.
    if (hasDesktopEntry(QStringLiteral("gnome-camera-panel.desktop")))
        return {QStringLiteral("gnome-control-center"), QStringLiteral("camera")};
    if (hasDesktopEntry(QStringLiteral("gnome-privacy-panel.desktop")))
        return {QStringLiteral("gnome-control-center"), QStringLiteral("privacy")};
    return {};
}

} // namespace

QList<VideoNode> videoNodes(const QString &deviceFolder)
{
    const QDir folder(deviceFolder);
    QList<VideoNode> nodes;
    const QStringList names = folder.entryList({QStringLiteral("video*")}, QDir::System | QDir::Files);
    for (const QString &name : names) {
        const QString path = folder.filePath(name);
        nodes.append({path, accessOf(path), QFileInfo(path).group()});
    }
    return nodes;
}

std::optional<CameraAlert> cameraAlert(
    const QList<VideoNode> &nodes, const QString &desktop, const std::function<bool(const QString &)> &hasDesktopEntry)
{
    const auto has = [&](VideoNode::Access access) {
        return std::find_if(nodes.begin(), nodes.end(), [&](const VideoNode &n) { return n.access == access; });
    };
    if (has(VideoNode::Access::capture) != nodes.end())
        return std::nullopt;
    const auto denied = has(VideoNode::Access::denied);
    if (denied == nodes.end()) {
        return CameraAlert{QCoreApplication::translate("Platform", "No camera found for hand gestures"),
            QCoreApplication::translate("Platform",
                "Hand gestures need a camera, and this computer has none: no video capture device "
                "(/dev/video*) was found. Connect a camera, then turn Hand Gestures on again."),
            {}};
    }
    CameraAlert alert{QCoreApplication::translate("Platform", "Camera access needed for hand gestures"),
        QCoreApplication::translate("Platform", "There is a video device, %1, but your user may not open it.")
            .arg(denied->path),
        cameraSettings(desktop, hasDesktopEntry)};
    if (denied->group.isEmpty()) {
        alert.text += u' '
            + QCoreApplication::translate(
                "Platform", "Ask your administrator for access to it, then turn Hand Gestures on again.");
    } else {
        alert.text += u' '
            + QCoreApplication::translate("Platform",
                "It belongs to the group \u201c%1\u201d: ask your administrator to add you to that group (sudo "
                "adduser $USER %1), log out and in again, then turn Hand Gestures on again.")
                  .arg(denied->group);
    }
    if (!alert.settings.isEmpty())
        alert.text += u' '
            + QCoreApplication::translate(
                "Platform", "The desktop's camera settings may also have the camera switched off.");
    return alert;
}

} // namespace halvic
