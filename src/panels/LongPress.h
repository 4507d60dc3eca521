#pragma once

#include <QPointF>

#include <functional>
#include <optional>

#include "ScheduledCall.h"

namespace halvic {

/// Press-and-hold detection for a glass panel's background: fires 0.5 s after a left press,
/// while the button is still down, unless the pointer has travelled more than 6 points.
/// The panel feeds it pointer events in screen coordinates; time comes from the Scheduler.
class LongPress
{
public:
    static constexpr Duration delay{500};
    static constexpr double threshold = 6.0;

    struct Hooks
    {
        /// Asked when a press starts and again when it completes; unset means "yes".
        std::function<bool()> canLongPress;
        /// Runs right before onLongPress (visual cue).
        std::function<void()> onLongPressBegin;
        /// The long press itself; detection is off while this is unset.
        std::function<void()> onLongPress;
    };

    explicit LongPress(Scheduler &scheduler);
    ~LongPress();
    LongPress(const LongPress &) = delete;
    LongPress &operator=(const LongPress &) = delete;

    void setHooks(Hooks hooks);
    bool isEnabled() const { return bool(m_hooks.onLongPress); }
    /// A press is being timed.
    bool isPending() const { return m_down.has_value(); }

    /// Left button down at `screenPos`; `onBackground` is false over any control.
    void press(QPointF screenPos, bool onBackground);
    /// Pointer moved (button held) to `screenPos`.
    void move(QPointF screenPos);
    /// Left button up.
    void release();

private:
    void end();
    void fire();
    bool allowed() const;

    Hooks m_hooks;
    std::optional<QPointF> m_down;
    QPointF m_pointer;
    ScheduledCall m_timer;
};

} // namespace halvic
