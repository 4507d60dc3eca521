#pragma once

#include <functional>
#include <optional>

#include "Scheduler.h"

namespace halvic {

/// One delayed call on the scheduler with its bookkeeping in one place: at most one call is
/// pending; it is cancelled when replaced and when this object goes, so the call may use its
/// owner freely.
///   restart()     debounce: drop the pending call and wait the whole delay again;
///   startIfIdle() throttle: schedule only when nothing is pending (the call reads the
///                 latest state when it runs, so the latest change wins).
class ScheduledCall
{
public:
    ScheduledCall(Scheduler &scheduler, Duration delay, std::function<void()> call);
    ~ScheduledCall();
    ScheduledCall(const ScheduledCall &) = delete;
    ScheduledCall &operator=(const ScheduledCall &) = delete;

    void restart();
    /// Restarts with another delay (the default delay stays as it was).
    void restart(Duration delay);
    /// Returns whether a new call was scheduled.
    bool startIfIdle();
    void cancel();
    bool isPending() const { return m_pending.has_value(); }

    Duration delay() const { return m_delay; }

private:
    void fire();

    Scheduler &m_scheduler;
    const Duration m_delay;
    std::function<void()> m_call;
    std::optional<Scheduler::CallId> m_pending;
};

} // namespace halvic
