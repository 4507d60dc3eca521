#include "HudRoles.h"

#include <algorithm>
#include <chrono>

#include "AgentClock.h"
#include "HudLogic.h"
#include "ListModels.h"

namespace halvic {

TranscriptRows::TranscriptRows(TranscriptModel &lines, QObject *parent)
    : QIdentityProxyModel(parent)
{
    setSourceModel(&lines);
    // The symbol follows the speaker.
    connect(&lines, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
            if (roles.isEmpty() || roles.contains(TranscriptModel::WhoRole))
                emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), {SymbolRole});
        });
}

QVariant TranscriptRows::data(const QModelIndex &index, int role) const
{
    if (role == SymbolRole)
        return hud::speakerSymbol(QIdentityProxyModel::data(index, TranscriptModel::WhoRole).toString());
    return QIdentityProxyModel::data(index, role);
}

QHash<int, QByteArray> TranscriptRows::roleNames() const
{
    QHash<int, QByteArray> names = QIdentityProxyModel::roleNames();
    names.insert(SymbolRole, "symbol");
    return names;
}

AgentChipRows::AgentChipRows(AgentListModel &chips, const AgentClock &clock, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_clock(clock)
{
    setSourceModel(&chips);
    connect(&chips, &QAbstractItemModel::dataChanged, this, &AgentChipRows::sourceChanged);
    connect(&clock, &AgentClock::nowChanged, this, &AgentChipRows::clockTicked);
}

QVariant AgentChipRows::data(const QModelIndex &index, int role) const
{
    const auto source = [&](int sourceRole) { return QIdentityProxyModel::data(index, sourceRole); };
    switch (role) {
    case EmojiRole:
        return hud::agentEmoji(source(AgentListModel::AgentRole).toString(),
            source(AgentListModel::DescRole).toString(), source(AgentListModel::StalledRole).toBool(),
            source(AgentListModel::DoneRole).toBool());
    case ShortLabelRole:
        return hud::shortLabel(source(AgentListModel::DescRole).toString());
    case ElapsedRole:
        return hud::elapsedText(
            std::chrono::milliseconds(m_clock.now() - source(AgentListModel::StartedAtRole).toLongLong()));
    default:
        return QIdentityProxyModel::data(index, role);
    }
}

QHash<int, QByteArray> AgentChipRows::roleNames() const
{
    QHash<int, QByteArray> names = QIdentityProxyModel::roleNames();
    names.insert(EmojiRole, "emoji");
    names.insert(ShortLabelRole, "shortLabel");
    names.insert(ElapsedRole, "elapsed");
    return names;
}

void AgentChipRows::sourceChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    const auto touches = [&](std::initializer_list<int> inputs) {
        return roles.isEmpty() || std::any_of(inputs.begin(), inputs.end(), [&](int r) { return roles.contains(r); });
    };
    QList<int> derived;
    if (touches({AgentListModel::AgentRole, AgentListModel::DescRole, AgentListModel::StalledRole,
            AgentListModel::DoneRole}))
        derived << EmojiRole;
    if (touches({AgentListModel::DescRole}))
        derived << ShortLabelRole;
    if (touches({AgentListModel::StartedAtRole}))
        derived << ElapsedRole;
    if (!derived.isEmpty())
        emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), derived);
}

void AgentChipRows::clockTicked()
{
    // One change for all chips per tick, as the clock itself ticks once a second.
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {ElapsedRole});
}

} // namespace halvic
