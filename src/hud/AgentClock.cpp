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
{
    connect(&agents, &QAbstractItemModel::rowsInserted, this, &AgentClock::follow);
    connect(&agents, &QAbstractItemModel::rowsRemoved, this, &AgentClock::follow);
    connect(&agents, &QAbstractItemModel::modelReset, this, &AgentClock::follow);
    follow();
}

AgentClock::~AgentClock()
{
    if (m_pending)
        m_scheduler.cancel(*m_pending);
}

void AgentClock::follow()
{
    if (m_agents.rowCount() == 0) {
        if (m_pending)
            m_scheduler.cancel(*m_pending);
        m_pending.reset();
        return;
    }
    // A new chip reads 0s at once rather than waiting for the next tick.
    refresh();
    if (!m_pending)
        scheduleTick();
}

void AgentClock::refresh()
{
    const qint64 now = toMilliseconds(m_scheduler.now());
    if (now == m_now)
        return;
    m_now = now;
    emit nowChanged();
}

void AgentClock::scheduleTick()
{
    m_pending = m_scheduler.callAfter(tick, this, [this] {
        m_pending.reset();
        refresh();
        scheduleTick();
    });
}

} // namespace halvic
