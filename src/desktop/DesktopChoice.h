#pragma once

#include <QString>

#include <functional>

namespace halvic {

/// The kinds of desktop session the HUD tells apart, each served by one backend (window
/// listing and control, the pointer, the placement of the HUD's own windows).
enum class DesktopKind {
    /// An X11 session: EWMH for windows, XTest for the pointer.
    X11,
    /// sway or another compositor speaking sway's IPC.
    Sway,
    /// KDE Plasma on Wayland: KWin, through a script of ours.
    KdeWayland,
    /// GNOME on Wayland: GNOME Shell, through the extension that ships with the HUD (which
    /// tells the user itself when that is not enabled).
    GnomeWayland,
    /// Wayland sessions without a backend of their own yet: only what runs on XWayland is
    /// reached.
    OtherWayland,
    /// No display at all.
    None,
};

/// Reads the session's environment (`variable` returns an empty string for an unset name).
DesktopKind chooseDesktop(const std::function<QString(const char *)> &variable);

/// A short name for the log.
QString desktopName(DesktopKind kind);

/// The one line a user reads when window layout on this session reaches only some
/// applications; empty where every application is reached.
QString desktopLimitation(DesktopKind kind);

} // namespace halvic
