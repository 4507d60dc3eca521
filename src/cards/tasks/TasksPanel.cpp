#include "TasksPanel.h"

#include <QJsonObject>

#include "EventDispatcher.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "TasksProtocol.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

TasksPanel::TasksPanel(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_window(context.scheduler, context.qml, *this,
          {.view = QUrl(u"qrc:/Halvic/Cards/Tasks/TasksView.qml"_s),
              .size = cardSize,
              .title = tr("Tasks & Reminders"),
              .placement = cardplacement::topRight(20)})
{
}

TasksPanel::~TasksPanel() = default;

void TasksPanel::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::tasks, this, [this](const QJsonObject &payload) {
        if (auto list = records<TaskItem>(payload, key::tasks))
            setAll(std::move(*list));
    });
    dispatcher.on(event::taskAdded, this, [this](const QJsonObject &payload) {
        if (auto item = TaskItem::from(payload))
            add(std::move(*item));
    });
    dispatcher.on(event::taskDoneEvt, this, [this](const QJsonObject &payload) {
        if (const auto id = json::optString(payload, key::id))
            remove(*id);
    });
}

void TasksPanel::setAll(std::vector<TaskItem> tasks)
{
    m_model.replaceAll(std::move(tasks));
    if (m_model.isEmpty())
        hideIfEmpty();
    else
        m_window.present();
}

void TasksPanel::add(TaskItem task)
{
    m_model.prepend(std::move(task));
    m_window.present();
}

void TasksPanel::remove(const QString &id)
{
    m_model.removeId(id);
    hideIfEmpty();
}

void TasksPanel::complete(const QString &id)
{
    const TaskItem *task = m_model.find(id);
    const QString text = task ? task->text : QString();
    m_model.removeId(id);
    hideIfEmpty();
    m_control.writeJSON(controlfile::cardAction,
        {{key::kind, value::task}, {key::action, value::done}, {key::id, id}, {key::text, text}});
}

void TasksPanel::hideIfEmpty()
{
    // Only ordered out: the card keeps its bubble state and position for the next list.
    if (m_model.isEmpty())
        m_window.orderOut();
}

} // namespace halvic
