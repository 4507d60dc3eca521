#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace halvic {

/// The Qt platform plugin to force, if any: on a Wayland session with XWayland the HUD runs
/// on xcb (window placement and stay-on-top need it), unless the user chose a platform.
/// `variable` reads one environment variable.
QByteArray forcedPlatform(const std::function<QByteArray(const char *)> &variable);

/// Whether a usable video capture device exists among the "video*" nodes of `deviceFolder`.
bool hasVideoCaptureDevice(const QString &deviceFolder = QStringLiteral("/dev"));

} // namespace halvic
