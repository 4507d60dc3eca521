#include "TasksRows.h"

#include <QPointer>

#include "EventDispatcher.h"
#include "JsonRead.h"
#include "TasksPanel.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace event {
inline constexpr QLatin1StringView tasks{"tasks"};
inline constexpr QLatin1StringView taskAdded{"task_added"};
inline constexpr QLatin1StringView taskDoneEvt{"task_done_evt"};
} // namespace event

void registerTasksRows(EventDispatcher &dispatcher, TasksPanel &tasks)
{
    const QPointer<TasksPanel> panel(&tasks);
    dispatcher.on(event::tasks, [panel](const QJsonObject &payload) {
        const auto list = json::optArray(payload, "tasks"_L1);
        if (!panel || !list)
            return;
        std::vector<TaskItem> items;
        for (const QJsonValue &element : *list) {
            if (auto item = TaskItem::from(element.toObject()))
                items.push_back(std::move(*item));
        }
        panel->setAll(std::move(items));
    });
    dispatcher.on(event::taskAdded, [panel](const QJsonObject &payload) {
        auto item = TaskItem::from(payload);
        if (panel && item)
            panel->add(std::move(*item));
    });
    dispatcher.on(event::taskDoneEvt, [panel](const QJsonObject &payload) {
        const auto id = json::optString(payload, "id"_L1);
        if (panel && id)
            panel->remove(*id);
    });
}

} // namespace halvic
