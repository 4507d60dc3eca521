#pragma once

#include <QAbstractListModel>
#include <QtQmlIntegration>

#include <vector>

#include "TaskItem.h"

namespace halvic {

/// The tasks card's list, top first. Rows: taskId, text, due (empty when none), hasDue.
class TasksModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the tasks card")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role { IdRole = Qt::UserRole + 1, TextRole, DueRole, HasDueRole };

    using QAbstractListModel::QAbstractListModel;

    const std::vector<TaskItem> &tasks() const { return m_tasks; }
    int count() const { return int(m_tasks.size()); }
    bool isEmpty() const { return m_tasks.empty(); }

    /// Replaces the whole list (one reset, however many rows).
    void setTasks(std::vector<TaskItem> tasks);
    /// Puts `item` at the top after removing every entry with its id.
    void addOnTop(TaskItem item);
    /// Removes every entry with this id; returns how many went.
    int removeId(const QString &id);
    /// The text of the first entry with this id.
    std::optional<QString> textOf(const QString &id) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    /// Removes the rows with this id without announcing the new count.
    int eraseId(const QString &id);

    std::vector<TaskItem> m_tasks;
};

} // namespace halvic
