#pragma once

#include "Desktop.h"

namespace halvic {

/// The X11 backend: EWMH for windows, XTest for the pointer, EWMH hints for our own windows.
/// Also what Wayland sessions without a backend of their own get, through XWayland.
class X11Desktop final : public Desktop
{
public:
    explicit X11Desktop(DesktopKind kind = DesktopKind::X11);
    ~X11Desktop() override;

    std::unique_ptr<WindowSystem> windowSystem() override;
    std::unique_ptr<PointerSink> pointerSink() override;
    OwnWindows &ownWindows() override;

private:
    std::unique_ptr<OwnWindows> m_own;
};

/// The placement of our own windows by EWMH hints, on the X server Qt is on: what other
/// backends whose own windows run on XWayland build on.
std::unique_ptr<OwnWindows> x11OwnWindows();

/// XTest on the X server Qt is on (XWayland's on a Wayland session); the null sink without it.
std::unique_ptr<PointerSink> xtestPointerSink();

/// Whether the session's X server offers direct rendering (DRI3 or DRI2), asked on a
/// connection of its own.
bool x11OffersDirectRendering();

} // namespace halvic
