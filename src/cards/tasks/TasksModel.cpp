#include "TasksModel.h"

#include <algorithm>

namespace halvic {

void TasksModel::setTasks(std::vector<TaskItem> tasks)
{
    if (tasks == m_tasks)
        return;
    const int before = count();
    beginResetModel();
    m_tasks = std::move(tasks);
    endResetModel();
    if (count() != before)
        emit countChanged();
}

void TasksModel::addOnTop(TaskItem item)
{
    const int removed = eraseId(item.id);
    beginInsertRows({}, 0, 0);
    m_tasks.insert(m_tasks.begin(), std::move(item));
    endInsertRows();
    if (removed != 1)
        emit countChanged();
}

int TasksModel::removeId(const QString &id)
{
    const int removed = eraseId(id);
    if (removed > 0)
        emit countChanged();
    return removed;
}

int TasksModel::eraseId(const QString &id)
{
    int removed = 0;
    // From the bottom, so the rows still to visit keep their numbers.
    for (int row = count() - 1; row >= 0; --row) {
        if (m_tasks[std::size_t(row)].id != id)
            continue;
        beginRemoveRows({}, row, row);
        m_tasks.erase(m_tasks.begin() + row);
        endRemoveRows();
        ++removed;
    }
    return removed;
}

std::optional<QString> TasksModel::textOf(const QString &id) const
{
    const auto it = std::find_if(m_tasks.begin(), m_tasks.end(), [&](const TaskItem &task) { return task.id == id; });
    if (it == m_tasks.end())
        return std::nullopt;
    return it->text;
}

int TasksModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant TasksModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= count())
        return {};
    const TaskItem &task = m_tasks[std::size_t(index.row())];
    switch (role) {
    case IdRole:
        return task.id;
    case TextRole:
        return task.text;
    case DueRole:
        return task.due.value_or(QString());
    case HasDueRole:
        return task.due.has_value();
    default:
        return {};
    }
}

QHash<int, QByteArray> TasksModel::roleNames() const
{
    return {{IdRole, "taskId"}, {TextRole, "text"}, {DueRole, "due"}, {HasDueRole, "hasDue"}};
}

} // namespace halvic
