#pragma once

#include <QtQmlIntegration>

#include <vector>

#include "CardController.h"
#include "TaskItem.h"
#include "TasksModel.h"

namespace halvic {

/// The tasks card: shows the engine's task list when there is something on it, hides when it
/// empties, and tells the engine through card_action.json which task the user ticked off.
class TasksPanel : public CardController
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
public:
    static constexpr QSize cardSize{320, 400};

    TasksPanel(Scheduler &scheduler, QQmlEngine &qml, ControlChannel control, QObject *parent = nullptr);
    ~TasksPanel() override;

    TasksModel &model() { return m_model; }

    /// The engine's whole list: shows the card, or hides it when the list is empty.
    void setAll(std::vector<TaskItem> tasks);
    /// A new or changed task goes to the top (replacing entries with its id); shows the card.
    void add(TaskItem task);
    /// The engine finished a task; the card hides when nothing is left.
    void remove(const QString &id);

    /// The view's tick: removes the task at once and tells the engine.
    Q_INVOKABLE void complete(const QString &id);

protected:
    QVariantMap viewProperties() override;

private:
    void hideIfEmpty();

    TasksModel m_model;
};

} // namespace halvic
