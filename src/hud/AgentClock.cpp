#include "AgentClock.h"

#include "ListModels.h"

namespace halvic {

namespace {

qint64 toMilliseconds(TimePoint time)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

} // namespace

AgentClock::AgentClock(Scheduler &scheduler, const AgentListModel &agents, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_agents(agents)
    , m_tick(scheduler, tick, [this] {
        refresh();
        m_tick.restart();
    })
{
    connect(&agents, &QAbstractItemModel::rowsInserted, this, &AgentClock::follow);
    connect(&agents, &QAbstractItemModel::rowsRemoved, this, &AgentClock::follow);
    connect(&agents, &QAbstractItemModel::modelReset, this, &AgentClock::follow);
    follow();
}

void AgentClock::follow()
{
    if (m_agents.rowCount() == 0) {
        m_tick.cancel();
        return;
    }
    // A new chip reads 0s at once rather than waiting for the next tick.
    refresh();
    m_tick.startIfIdle();
}

void AgentClock::refresh()
{
    const qint64 now = toMilliseconds(m_scheduler.now());
    if (now == m_now)
        return;
    m_now = now;
    emit nowChanged();
}

} // namespace halvic
