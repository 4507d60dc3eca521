#include "Scheduler.h"

#include <QTimer>

namespace halvic {

QtScheduler::QtScheduler(QObject *parent)
    : QObject(parent)
{
}

QtScheduler::~QtScheduler() = default;

TimePoint QtScheduler::now() const
{
    return std::chrono::steady_clock::now();
}

Scheduler::CallId QtScheduler::callAfter(Duration delay, const QObject *context, std::function<void()> call)
{
    const CallId id = m_nextId++;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QPointer<const QObject> guard(context);
    const bool hadContext = context != nullptr;
    QObject::connect(timer.get(), &QTimer::timeout, this, [this, id, guard, hadContext, call = std::move(call)] {
        // Take the timer out first: the call may schedule or cancel others.
        auto node = m_timers.extract(id);
        // Cancelled while already due in this pass of the event loop.
        if (node.empty())
            return;
        node.mapped().release()->deleteLater();
        if (hadContext && !guard)
            return;
        call();
    });
    timer->start(delay);
    m_timers.emplace(id, std::move(timer));
    return id;
}

void QtScheduler::cancel(CallId id)
{
    auto node = m_timers.extract(id);
    if (node.empty())
        return;
    // Deletion waits for the event loop; the timer must not fire before then.
    QObject *timer = node.mapped().release();
    static_cast<QTimer *>(timer)->stop();
    timer->deleteLater();
}

Scheduler::CallId ManualScheduler::callAfter(Duration delay, const QObject *context, std::function<void()> call)
{
    const CallId id = m_nextId++;
    m_pending.emplace(id, Pending{m_now + delay, context, context != nullptr, std::move(call)});
    return id;
}

void ManualScheduler::cancel(CallId id)
{
    m_pending.erase(id);
}

void ManualScheduler::advance(Duration by)
{
    const TimePoint end = m_now + by;
    for (;;) {
        auto next = m_pending.end();
        for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
            if (it->second.due <= end && (next == m_pending.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_pending.end())
            break;
        Pending due = std::move(next->second);
        m_pending.erase(next);
        m_now = std::max(m_now, due.due);
        if (due.hadContext && !due.context)
            continue;
        due.call();
    }
    m_now = end;
}

} // namespace halvic
