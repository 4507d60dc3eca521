#include "LongPress.h"

namespace halvic {

namespace {

bool beyondThreshold(QPointF a, QPointF b)
{
    const QPointF d = a - b;
    return d.x() * d.x() + d.y() * d.y() > LongPress::threshold * LongPress::threshold;
}

} // namespace

LongPress::LongPress(Scheduler &scheduler)
    : m_timer(scheduler, delay, [this] { fire(); })
{
}

LongPress::~LongPress()
{
    end();
}

void LongPress::setHooks(Hooks hooks)
{
    end();
    m_hooks = std::move(hooks);
}

bool LongPress::allowed() const
{
    return !m_hooks.canLongPress || m_hooks.canLongPress();
}

void LongPress::press(QPointF screenPos, bool onBackground)
{
    end();
    if (!isEnabled() || !allowed() || !onBackground)
        return;
    m_down = screenPos;
    m_pointer = screenPos;
    m_timer.restart();
}

void LongPress::move(QPointF screenPos)
{
    m_pointer = screenPos;
    if (m_down && beyondThreshold(screenPos, *m_down))
        end();
}

void LongPress::release()
{
    end();
}

void LongPress::end()
{
    m_timer.cancel();
    m_down.reset();
}

void LongPress::fire()
{
    if (!m_down)
        return;
    const QPointF down = *m_down;
    end();
    if (beyondThreshold(m_pointer, down) || !allowed())
        return;
    // Copies: a hook may replace the hooks.
    const Hooks hooks = m_hooks;
    if (hooks.onLongPressBegin)
        hooks.onLongPressBegin();
    if (hooks.onLongPress)
        hooks.onLongPress();
}

} // namespace halvic
