#pragma once

#include <functional>
#include <memory>

#include "WaylandPointer.h"

namespace halvic {

/// Synthetic pointer events through KWin's fake input protocol, on a Wayland connection of
/// its own: see WaylandPointer.
///
/// KWin announces fake input only to a program whose installed desktop entry (with `Exec=`
/// its real path) lists `X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input`. Without it the
/// pointer is Unavailable: events go to the fallback, a warning is logged and `refused` is
/// called once, on the pointer's own thread (hand it on to the main thread from there).
class KWinFakePointer final : public WaylandPointer
{
public:
    /// `display`: as WaylandPointer's.
    KWinFakePointer(QByteArray display, double pixelsPerPoint, std::unique_ptr<PointerSink> fallback,
        std::function<void()> refused);
};

/// KWin's fake input on the session's display ($WAYLAND_DISPLAY).
std::unique_ptr<PointerSink> makeKWinFakePointer(
    double pixelsPerPoint, std::unique_ptr<PointerSink> fallback, std::function<void()> refused);

} // namespace halvic
