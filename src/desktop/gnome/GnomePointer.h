#pragma once

#include <QObject>
#include <QRect>

#include <deque>
#include <functional>
#include <memory>

#include "GnomeExtension.h"
#include "PointerSink.h"

namespace halvic {

/// Synthetic pointer events through the HUD's GNOME Shell extension (a virtual pointer of
/// the Shell's): they reach every window, native or X11. Main thread only; post() never
/// waits. Until the extension has answered a first call, events wait (moves collapse into the
/// latest); where it is not there, they go to the fallback and `missing` is called once.
class GnomePointer final : public PointerSink
{
public:
    enum class State { Asking, Ready, Unavailable };

    /// `pixelsPerPoint` turns desktop points into the Shell's coordinates; `desktop` (in
    /// points) is where the pointer may go.
    GnomePointer(std::shared_ptr<gnome::Extension> extension, double pixelsPerPoint, QRect desktop,
        std::unique_ptr<PointerSink> fallback, std::function<void()> missing);
    ~GnomePointer() override;

    void post(const PointerEvent &event) override;

    State state() const { return m_state; }

private:
    void answered(bool ready);
    void send(const PointerEvent &event);

    const std::shared_ptr<gnome::Extension> m_extension;
    const double m_pixelsPerPoint;
    const QRect m_desktop;
    const std::unique_ptr<PointerSink> m_fallback;
    const std::function<void()> m_missing;
    State m_state = State::Asking;
    std::deque<PointerEvent> m_pending;
    /// Where the extension's answer arrives; goes first, so no answer outlives us.
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};

} // namespace halvic
