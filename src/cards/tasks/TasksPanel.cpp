#include "TasksPanel.h"

#include <QJsonObject>

#include "GlassPanel.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

TasksPanel::TasksPanel(Scheduler &scheduler, QQmlEngine &qml, ControlChannel control, QObject *parent)
    : CardController(scheduler, qml, std::move(control),
                     {.view = QUrl(u"qrc:/Halvic/Cards/Tasks/TasksView.qml"_s), .size = cardSize}, parent)
{
}

TasksPanel::~TasksPanel()
{
    releasePanel();
}

void TasksPanel::setAll(std::vector<TaskItem> tasks)
{
    m_model.setTasks(std::move(tasks));
    if (m_model.isEmpty())
        hideIfEmpty();
    else
        present();
}

void TasksPanel::add(TaskItem task)
{
    m_model.addOnTop(std::move(task));
    present();
}

void TasksPanel::remove(const QString &id)
{
    m_model.removeId(id);
    hideIfEmpty();
}

void TasksPanel::complete(const QString &id)
{
    const QString text = m_model.textOf(id).value_or(QString());
    m_model.removeId(id);
    hideIfEmpty();
    writeAction(controlfile::cardAction,
                QJsonObject{{u"kind"_s, u"task"_s}, {u"action"_s, u"done"_s}, {u"id"_s, id}, {u"text"_s, text}});
}

void TasksPanel::hideIfEmpty()
{
    // Only ordered out: the card keeps its bubble state and position for the next list.
    if (m_model.isEmpty() && panel())
        panel()->hide();
}

QVariantMap TasksPanel::viewProperties()
{
    return {{u"model"_s, QVariant::fromValue(&m_model)}};
}

} // namespace halvic
