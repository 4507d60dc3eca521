#pragma once

#include <QByteArray>

#include <memory>

#include "PointerSink.h"

namespace halvic {

/// Synthetic pointer events through the wlroots virtual pointer protocol, on a Wayland
/// connection of its own; they reach every client of the compositor, native or X11.
///
/// Connecting (and learning where the outputs are) runs on a thread of its own, which then
/// stays to read the compositor's messages: output changes, and its going away. Events posted
/// meanwhile wait and follow in order. Once connected, post() writes the requests and flushes
/// them without waiting for an answer; where the compositor offers no virtual pointer, events
/// go to the fallback sink instead; once the compositor is gone, they are dropped.
class WlrVirtualPointer final : public PointerSink
{
public:
    enum class State { Connecting, Ready, Unavailable, Gone };

    /// `display`: the Wayland socket, a name under $XDG_RUNTIME_DIR or a path (the session's
    /// $WAYLAND_DISPLAY when empty). `pixelsPerPoint` turns desktop points into the
    /// compositor's layout coordinates.
    WlrVirtualPointer(QByteArray display, double pixelsPerPoint, std::unique_ptr<PointerSink> fallback);
    ~WlrVirtualPointer() override;
    WlrVirtualPointer(const WlrVirtualPointer &) = delete;
    WlrVirtualPointer &operator=(const WlrVirtualPointer &) = delete;

    void post(const PointerEvent &event) override;

    State state() const;

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace halvic
