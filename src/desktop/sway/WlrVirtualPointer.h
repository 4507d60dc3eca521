#pragma once

#include "WaylandPointer.h"

namespace halvic {

/// Synthetic pointer events through the wlroots virtual pointer protocol (sway and other
/// wlroots compositors), on a Wayland connection of its own: see WaylandPointer.
class WlrVirtualPointer final : public WaylandPointer
{
public:
    /// As WaylandPointer's, for the wlroots protocol.
    WlrVirtualPointer(QByteArray display, double pixelsPerPoint, std::unique_ptr<PointerSink> fallback);
};

} // namespace halvic
