#pragma once

#include <QAbstractListModel>
#include <QtQmlIntegration>

#include <functional>
#include <vector>

#include "Line.h"

namespace halvic {

/// The transcript as a list model for the views: oldest line first.
class TranscriptModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by AppModel")
public:
    enum Role { IdRole = Qt::UserRole + 1, WhoRole, TextRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const std::vector<Line> &lines() const { return m_lines; }
    void append(Line line);
    /// Drops lines from the front until at most `count` remain.
    void keepLast(std::size_t count);

private:
    std::vector<Line> m_lines;
};

/// The background-task chips as a list model, in start order.
class AgentListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by AppModel")
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        AgentRole,
        DescRole,
        TaskIdRole,
        DoneRole,
        NoteRole,
        StalledRole,
        StartedAtRole, ///< steady-clock milliseconds, comparable with the scheduler's now()
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const std::vector<AgentChip> &chips() const { return m_chips; }
    void append(AgentChip chip);
    /// Changes the chip at `row` and tells the views which roles changed.
    void update(std::size_t row, const std::function<void(AgentChip &)> &change, const QList<int> &roles);
    void removeById(const QUuid &id);
    void clear();

private:
    std::vector<AgentChip> m_chips;
};

} // namespace halvic
