#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace halvic {

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

/// Whether a usable video capture device exists among the "video*" nodes of `deviceFolder`.
bool hasVideoCaptureDevice(const QString &deviceFolder = QStringLiteral("/dev"));

} // namespace halvic
