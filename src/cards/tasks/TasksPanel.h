#pragma once

#include <QtQmlIntegration>

#include <vector>

#include "Card.h"
#include "RecordListModel.h"
#include "TaskItem.h"

namespace halvic {

/// The tasks card: shows the engine's task list when there is something on it, hides when it
/// empties, and tells the engine through card_action.json which task the user ticked off.
class TasksPanel final : public Card
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::RecordList *tasks READ tasksList CONSTANT)
public:
    static constexpr QSize cardSize{320, 400};

    explicit TasksPanel(const CardContext &context, QObject *parent = nullptr);
    ~TasksPanel() override;

    CardWindow *window() override { return &m_window; }
    void registerRows(EventDispatcher &dispatcher) override;

    RecordListModel<TaskItem> &model() { return m_model; }

    /// The engine's whole list: shows the card, or hides it when the list is empty.
    void setAll(std::vector<TaskItem> tasks);
    /// A new or changed task goes to the top (replacing entries with its id); shows the card.
    void add(TaskItem task);
    /// The engine finished a task; the card hides when nothing is left.
    void remove(const QString &id);

    /// The view's tick: removes the task at once and tells the engine.
    Q_INVOKABLE void complete(const QString &id);

private:
    RecordList *tasksList() { return &m_model; }
    void hideIfEmpty();

    const ControlChannel m_control;
    RecordListModel<TaskItem> m_model;
    CardWindow m_window;
};

} // namespace halvic
