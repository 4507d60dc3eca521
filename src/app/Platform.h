#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QQmlEngine;

namespace halvic {

/// Where `qml` finds our QML modules: compiled in, and the plugins loaded on demand (the
/// email card's web bodies) installed beside the libraries, or in the build tree.
void addImportPaths(QQmlEngine &qml);

/// The Qt platform plugin to force, if any: on a Wayland session with XWayland the HUD runs
/// on xcb (window placement and stay-on-top need it), unless the user chose a platform.
/// `variable` reads one environment variable.
QByteArray forcedPlatform(const std::function<QByteArray(const char *)> &variable);

/// What the machine offers for drawing, as far as choosing Qt Quick's renderer goes.
struct GraphicsFacts
{
    /// A DRM render node (/dev/dri/renderD*): a GPU driver is there.
    bool renderNode = false;
    /// The HUD runs on X11 and its server offers direct rendering (DRI2 or DRI3); Xvfb,
    /// Xorg's dummy driver and VNC servers do not.
    bool x11DirectRendering = false;
    bool onX11 = false;
};

/// Whether Qt Quick should use its software scene graph: only a software rasterizer
/// (llvmpipe, which alone costs about 54 MiB of resident memory) would draw with OpenGL here.
/// A renderer the user chose (QT_QUICK_BACKEND or QSG_RHI_BACKEND) always stands.
bool useSoftwareSceneGraph(const std::function<QByteArray(const char *)> &variable, const GraphicsFacts &facts);

/// Reads the facts from this machine (and its X server, when `onX11`).
GraphicsFacts readGraphicsFacts(bool onX11);

/// How the web engine (loaded later, for email bodies) must be set up before the application
/// object exists.
struct WebEngineSetup
{
    /// Share the scene graph's OpenGL context with it (only when Qt Quick draws with OpenGL).
    bool shareOpenGLContexts = false;
    /// Value for QTWEBENGINE_CHROMIUM_FLAGS, or empty to leave it alone.
    QByteArray chromiumFlags;
    /// Set QTWEBENGINE_DISABLE_SANDBOX: Chromium's sandbox refuses to run as root.
    bool disableSandbox = false;
};
/// `softwareSceneGraph`: Qt Quick draws in software (chosen by us or by QT_QUICK_BACKEND).
/// Without OpenGL the web engine draws in software too. Settings the user made stand.
WebEngineSetup webEngineSetup(
    const std::function<QByteArray(const char *)> &variable, bool softwareSceneGraph, bool runningAsRoot);

/// A video device node as the camera check found it.
struct VideoNode
{
    enum class Access {
        capture, ///< opened, and it captures video: a camera
        other,   ///< no camera: another kind of video device, or it cannot be queried
        denied,  ///< this user may not open it
    };
    QString path;
    Access access = Access::other;
    /// The group that owns the node, the one whose members may open it.
    QString group;
};

/// The "video*" nodes of `deviceFolder`, each opened to learn what it is.
QList<VideoNode> videoNodes(const QString &deviceFolder = QStringLiteral("/dev"));

/// What to tell someone who switched hand gestures on when no camera can serve them.
struct CameraAlert
{
    QString title;
    QString text;
    /// The desktop's own camera settings (program, then arguments); empty when none is known.
    QStringList settings;
};

/// None when a camera can be opened. `desktop` is $XDG_CURRENT_DESKTOP; `hasDesktopEntry` says
/// whether an application entry of that file name is installed.
std::optional<CameraAlert> cameraAlert(
    const QList<VideoNode> &nodes, const QString &desktop, const std::function<bool(const QString &)> &hasDesktopEntry);

} // namespace halvic
