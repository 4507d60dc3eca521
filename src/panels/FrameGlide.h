#pragma once

#include <QRect>

#include <functional>

#include "ScheduledCall.h"

class QWindow;

namespace halvic {

namespace glide {
/// The panels' spring: critically damped (no overshoot) with a 0.3 s response.
inline constexpr double responseSeconds = 0.3;
/// A glide steps about once per display frame.
inline constexpr Duration step{16};
/// A glide that has not landed by now lands at once (the spring is within a pixel long before).
inline constexpr Duration longest{450};

/// How far along the spring is `elapsed` after it started, from 0 towards 1.
double progress(Duration elapsed);
/// The frame `progress` of the way from `from` to `to`, in whole pixels.
QRect between(const QRect &from, const QRect &to, double progress);
} // namespace glide

/// Moves and resizes a window to a new frame along the panels' spring, one step per display
/// frame on the scheduler, the position and size set together so that an edge meant to stay
/// put does not wobble. Nothing is scheduled while the window is not gliding.
class FrameGlide
{
public:
    /// `landed` runs when a glide reaches its frame (not when it is cut short).
    FrameGlide(QWindow &window, Scheduler &scheduler, std::function<void()> landed = {});

    /// Glides from where the window is now to `frame`; a glide under way turns towards the
    /// new frame from where it has got to. A hidden window is put there at once.
    void glideTo(const QRect &frame);
    /// Puts the window at `frame` at once, ending a glide.
    void jumpTo(const QRect &frame);
    /// Ends a glide where it has got to.
    void stop() { m_step.cancel(); }

    bool isGliding() const { return m_step.isPending(); }
    /// Where the window is heading: the end of its glide, else its frame.
    QRect target() const;

private:
    void advance();

    QWindow &m_window;
    Scheduler &m_scheduler;
    std::function<void()> m_landed;
    QRect m_from;
    QRect m_to;
    QRect m_last;
    TimePoint m_start{};
    ScheduledCall m_step;
};

} // namespace halvic
