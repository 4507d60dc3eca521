#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>

#include <memory>
#include <optional>
#include <utility>

#include "PointerSink.h"

struct wl_registry;

namespace halvic {

/// What one compositor's pointer protocol adds to the shared Wayland connection of a
/// WaylandPointer. Its calls come from the pointer's thread while connecting, and then under
/// the pointer's lock, never two at once.
class WaylandPointerProtocol
{
public:
    virtual ~WaylandPointerProtocol() = default; // destroys its objects; the connection is still open
    /// Each global the compositor announces: binds the ones the protocol needs.
    virtual void offer(wl_registry *registry, quint32 name, const char *interface, quint32 version) = 0;
    /// After the first roundtrip: creates the device; false where the compositor offers none.
    virtual bool create() = 0;
    /// One event at `at`, a point of the compositor's layout inside `layout` (the outputs' box).
    /// Requests only: the connection flushes them.
    virtual void send(const PointerEvent &event, QPoint at, const QRect &layout) = 0;
};

/// The Linux button code and Wayland button state (pressed 1, released 0) of a button event;
/// none for moves.
std::optional<std::pair<quint32, quint32>> waylandButton(PointerEvent::Type type);

/// Synthetic pointer events on a Wayland connection of its own, through a compositor's own
/// protocol; they reach every client of the compositor, native or X11.
///
/// Connecting (and learning where the outputs are) runs on a thread of its own, which then
/// stays to read the compositor's messages: output changes, and its going away. Events posted
/// meanwhile wait and follow in order. Once connected, post() writes the requests and flushes
/// them without waiting for an answer; where the compositor offers no such pointer, events
/// go to the fallback sink instead; once the compositor is gone, they are dropped.
class WaylandPointer : public PointerSink
{
public:
    enum class State { Connecting, Ready, Unavailable, Gone };

    /// `display`: the Wayland socket, a name under $XDG_RUNTIME_DIR or a path (the session's
    /// $WAYLAND_DISPLAY when empty). `pixelsPerPoint` turns desktop points into the
    /// compositor's layout coordinates.
    WaylandPointer(QByteArray display, double pixelsPerPoint, std::unique_ptr<WaylandPointerProtocol> protocol,
        std::unique_ptr<PointerSink> fallback);
    ~WaylandPointer() override;
    WaylandPointer(const WaylandPointer &) = delete;
    WaylandPointer &operator=(const WaylandPointer &) = delete;

    void post(const PointerEvent &event) override;

    State state() const;

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace halvic
