#include "EventDispatcher.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include "AppModel.h"
#include "JsonRead.h"
#include "Line.h"
#include "Protocol.h"

namespace halvic {

using namespace protocol;

EventDispatcher::EventDispatcher(AppModel &model)
{
    registerModelRows(model);
}

void EventDispatcher::on(QLatin1StringView type, Handler handler)
{
    m_handlers.insert(QString(type), std::move(handler));
}

bool EventDispatcher::dispatch(QByteArrayView eventJson) const
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(eventJson.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject payload = document.object();
    const std::optional<QString> type = json::optString(payload, key::type);
    if (!type)
        return false;
    const auto handler = m_handlers.constFind(*type);
    if (handler == m_handlers.cend())
        return false;
    (*handler)(payload);
    return true;
}

void EventDispatcher::registerModelRows(AppModel &model)
{
    AppModel *m = &model;
    on(event::booting, [m](const QJsonObject &p) {
        m->setRunning(true);
        m->setState(QStringLiteral("booting"));
        m->setBootStage(json::string(p, key::stage, QStringLiteral("starting up…")));
    });
    on(event::ready, [m](const QJsonObject &) {
        m->setRunning(true);
        m->setState(QStringLiteral("listening"));
        m->setBootStage(QString());
    });
    on(event::status, [m](const QJsonObject &p) { m->setState(json::string(p, key::state, m->state())); });
    on(event::restarting, [m](const QJsonObject &) { m->setState(QStringLiteral("restarting")); });
    on(event::interrupted, [m](const QJsonObject &) { m->setState(QStringLiteral("listening")); });
    on(event::you, [m](const QJsonObject &p) {
        m->setEnrolling(std::nullopt);
        m->push(speaker::you, json::string(p, key::text));
    });
    on(event::tarvel, [m](const QJsonObject &p) { m->push(speaker::tarvel, json::string(p, key::text)); });
    on(event::notify, [m](const QJsonObject &p) { m->push(speaker::task, json::string(p, key::text)); });
    on(event::taskStarted, [m](const QJsonObject &p) {
        m->addAgent(json::string(p, key::agent, QStringLiteral("worker")),
                    json::string(p, key::desc, QStringLiteral("task")), json::string(p, key::id));
    });
    on(event::taskProgress, [m](const QJsonObject &p) {
        m->agentProgress(json::string(p, key::id), json::string(p, key::note));
    });
    on(event::taskStalled, [m](const QJsonObject &p) { m->agentStalled(json::string(p, key::id)); });
    on(event::taskDone, [m](const QJsonObject &p) {
        m->finishAgent(json::string(p, key::id));
        const QString report = json::string(p, key::report);
        if (!report.isEmpty())
            m->push(speaker::task, report);
    });
    on(event::enroll, [m](const QJsonObject &p) {
        m->setEnrolling(Enrollment{json::integer(p, key::n, 0), json::integer(p, key::total, 5)});
    });
    on(event::locked, [m](const QJsonObject &) { m->setEnrolling(std::nullopt); });
    on(event::muted, [m](const QJsonObject &p) { m->setMuted(json::boolean(p, key::on, m->muted())); });
    on(event::textVoice, [m](const QJsonObject &p) {
        m->setTextVoice(json::boolean(p, key::on, m->textVoice()));
    });
    on(event::wakeWord, [m](const QJsonObject &p) {
        m->setWakeWord(json::boolean(p, key::on, m->wakeWord()));
    });
    on(event::meeting, [m](const QJsonObject &p) { m->setRecording(json::boolean(p, key::on, false)); });
    // The views animate these changes themselves (Behavior on their geometry).
    on(event::collapsed, [m](const QJsonObject &p) {
        m->setCollapsed(json::boolean(p, key::on, m->collapsed()));
    });
    on(event::dock, [m](const QJsonObject &p) {
        m->setDocked(json::boolean(p, key::on, m->docked()));
        if (const auto width = json::optNumber(p, key::width))
            m->setDockWidth(*width);
        if (const auto side = json::optString(p, key::side))
            m->setDockSide(*side);
    });
}

} // namespace halvic
