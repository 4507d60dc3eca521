#pragma once

#include <QObject>
#include <QtQmlIntegration>

#include <optional>

#include "ScheduledCall.h"

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

    qint64 now() const { return m_now; }
    bool isTicking() const { return m_tick.isPending(); }

signals:
    void nowChanged();

private:
    void follow();
    void refresh();

    Scheduler &m_scheduler;
    const AgentListModel &m_agents;
    qint64 m_now = 0;
    ScheduledCall m_tick;
};

} // namespace halvic
