#include "FrameGlide.h"

#include "OwnWindows.h"

#include <QWindow>

#include <cmath>
#include <numbers>

namespace halvic {

namespace glide {

double progress(Duration elapsed)
{
    if (elapsed <= Duration::zero())
        return 0;
    // A critically damped spring let go at rest: the distance left is (1 + ωt)·e^(−ωt).
    const double omega = 2 * std::numbers::pi / responseSeconds;
    const double t = std::chrono::duration<double>(elapsed).count();
    return 1 - (1 + omega * t) * std::exp(-omega * t);
}

QRect between(const QRect &from, const QRect &to, double progress)
{
    // Edge by edge, so that an edge the two frames share stays exactly where it is.
    const auto mix = [progress](int a, int b) { return int(std::lround(a + (b - a) * progress)); };
    const int left = mix(from.x(), to.x());
    const int top = mix(from.y(), to.y());
    const int right = mix(from.x() + from.width(), to.x() + to.width());
    const int bottom = mix(from.y() + from.height(), to.y() + to.height());
    return {left, top, right - left, bottom - top};
}

} // namespace glide

namespace {

bool withinAPixel(const QRect &a, const QRect &b)
{
    return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1 && std::abs(a.width() - b.width()) <= 1
        && std::abs(a.height() - b.height()) <= 1;
}

} // namespace

FrameGlide::FrameGlide(QWindow &window, Scheduler &scheduler, std::function<void()> landed)
    : m_window(window)
    , m_scheduler(scheduler)
    , m_landed(std::move(landed))
    , m_step(scheduler, glide::step, [this] { advance(); })
{
}

QRect FrameGlide::target() const
{
    return isGliding() ? m_to : m_window.geometry();
}

void FrameGlide::glideTo(const QRect &frame)
{
    if (!m_window.isVisible()) {
        jumpTo(frame);
        return;
    }
    if (frame == target())
        return;
    // Turning mid-way starts from the frame last set, which the window manager may not have
    // confirmed yet.
    m_from = isGliding() ? m_last : m_window.geometry();
    m_last = m_from;
    m_to = frame;
    m_start = m_scheduler.now();
    m_step.restart();
}

void FrameGlide::jumpTo(const QRect &frame)
{
    stop();
    m_window.setGeometry(frame);
    OwnWindows::current().placed(m_window, frame);
}

void FrameGlide::advance()
{
    const Duration elapsed = std::chrono::duration_cast<Duration>(m_scheduler.now() - m_start);
    QRect frame = glide::between(m_from, m_to, glide::progress(elapsed));
    // The spring takes long over its last pixel: within one of the end, or out of time, land.
    if (elapsed >= glide::longest || withinAPixel(frame, m_to))
        frame = m_to;
    if (frame != m_last) {
        m_window.setGeometry(frame);
        OwnWindows::current().placed(m_window, frame);
    }
    m_last = frame;
    if (frame != m_to) {
        m_step.restart();
        return;
    }
    if (m_landed)
        m_landed();
}

} // namespace halvic
