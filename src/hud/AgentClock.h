#pragma once

#include <QObject>
#include <QtQmlIntegration>

#include <optional>

#include "Scheduler.h"

namespace halvic {

class AgentListModel;

/// The agent chips' shared clock: ticks once a second while there are chips, and not at all
/// otherwise (an idle HUD runs no timers). `now` is in the chips' `startedAt` time base.
class AgentClock : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the HUD controller")
    Q_PROPERTY(qint64 now READ now NOTIFY nowChanged)
public:
    static constexpr Duration tick{1000};

    AgentClock(Scheduler &scheduler, const AgentListModel &agents, QObject *parent = nullptr);
    ~AgentClock() override;

    qint64 now() const { return m_now; }
    bool isTicking() const { return m_pending.has_value(); }

signals:
    void nowChanged();

private:
    void follow();
    void refresh();
    void scheduleTick();

    Scheduler &m_scheduler;
    const AgentListModel &m_agents;
    qint64 m_now = 0;
    std::optional<Scheduler::CallId> m_pending;
};

} // namespace halvic
