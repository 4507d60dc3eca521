#include "ListModels.h"

#include <algorithm>

namespace halvic {

int TranscriptModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant TranscriptModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Line &line = m_lines[static_cast<std::size_t>(index.row())];
    switch (role) {
    case IdRole:
        return line.id.toString(QUuid::WithoutBraces);
    case WhoRole:
        return line.who;
    case TextRole:
    case Qt::DisplayRole:
        return line.text;
    default:
        return {};
    }
}

QHash<int, QByteArray> TranscriptModel::roleNames() const
{
    return {{IdRole, "lineId"}, {WhoRole, "who"}, {TextRole, "text"}};
}

void TranscriptModel::append(Line line)
{
    const int row = static_cast<int>(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines.push_back(std::move(line));
    endInsertRows();
}

void TranscriptModel::keepLast(std::size_t count)
{
    if (m_lines.size() <= count)
        return;
    const auto excess = static_cast<int>(m_lines.size() - count);
    beginRemoveRows({}, 0, excess - 1);
    m_lines.erase(m_lines.begin(), m_lines.begin() + excess);
    endRemoveRows();
}

int AgentListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_chips.size());
}

QVariant AgentListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const AgentChip &chip = m_chips[static_cast<std::size_t>(index.row())];
    switch (role) {
    case IdRole:
        return chip.id.toString(QUuid::WithoutBraces);
    case AgentRole:
        return chip.agent;
    case DescRole:
    case Qt::DisplayRole:
        return chip.desc;
    case TaskIdRole:
        return chip.taskId;
    case DoneRole:
        return chip.done;
    case NoteRole:
        return chip.note;
    case StalledRole:
        return chip.stalled;
    case StartedAtRole:
        return QVariant::fromValue<qint64>(
            std::chrono::duration_cast<std::chrono::milliseconds>(chip.startedAt.time_since_epoch()).count());
    default:
        return {};
    }
}

QHash<int, QByteArray> AgentListModel::roleNames() const
{
    return {{IdRole, "chipId"}, {AgentRole, "agent"}, {DescRole, "desc"}, {TaskIdRole, "taskId"}, {DoneRole, "done"},
        {NoteRole, "note"}, {StalledRole, "stalled"}, {StartedAtRole, "startedAt"}};
}

void AgentListModel::append(AgentChip chip)
{
    const int row = static_cast<int>(m_chips.size());
    beginInsertRows({}, row, row);
    m_chips.push_back(std::move(chip));
    endInsertRows();
}

void AgentListModel::update(std::size_t row, const std::function<void(AgentChip &)> &change, const QList<int> &roles)
{
    if (row >= m_chips.size())
        return;
    change(m_chips[row]);
    const QModelIndex changed = index(static_cast<int>(row));
    emit dataChanged(changed, changed, roles);
}

void AgentListModel::removeById(const QUuid &id)
{
    for (std::size_t row = m_chips.size(); row-- > 0;) {
        if (m_chips[row].id != id)
            continue;
        beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
        m_chips.erase(m_chips.begin() + static_cast<std::ptrdiff_t>(row));
        endRemoveRows();
    }
}

void AgentListModel::clear()
{
    if (m_chips.empty())
        return;
    beginResetModel();
    m_chips.clear();
    endResetModel();
}

} // namespace halvic
