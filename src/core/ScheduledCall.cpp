#include "ScheduledCall.h"

#include <utility>

namespace halvic {

ScheduledCall::ScheduledCall(Scheduler &scheduler, Duration delay, std::function<void()> call)
    : m_scheduler(scheduler)
    , m_delay(delay)
    , m_call(std::move(call))
{
}

ScheduledCall::~ScheduledCall()
{
    cancel();
}

void ScheduledCall::restart()
{
    restart(m_delay);
}

void ScheduledCall::restart(Duration delay)
{
    cancel();
    // No context object: the destructor cancels, so the call never outlives its owner.
    m_pending = m_scheduler.callAfter(delay, nullptr, [this] { fire(); });
}

bool ScheduledCall::startIfIdle()
{
    if (m_pending)
        return false;
    restart();
    return true;
}

void ScheduledCall::cancel()
{
    if (const auto pending = std::exchange(m_pending, std::nullopt))
        m_scheduler.cancel(*pending);
}

void ScheduledCall::fire()
{
    // Cleared first: the call may restart this very timer.
    m_pending.reset();
    m_call();
}

} // namespace halvic
