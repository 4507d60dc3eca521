#include "ModelRows.h"

#include <QCoreApplication>

#include "AppModel.h"
#include "EventDispatcher.h"
#include "JsonRead.h"
#include "Line.h"
#include "Protocol.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

void AppModel::registerRows(EventDispatcher &dispatcher)
{
    AppModel *m = this;
    const auto on = [&dispatcher, m](QLatin1StringView type, EventDispatcher::Handler handler) {
        dispatcher.on(type, m, std::move(handler));
    };
    on(event::booting, [m](const QJsonObject &p) {
        m->setRunning(true);
        m->setState(EngineState::Booting);
        m->setBootStage(json::string(p, key::stage, QCoreApplication::translate("StateLabel", "starting up…")));
    });
    on(event::ready, [m](const QJsonObject &) {
        m->setRunning(true);
        m->setState(EngineState::Listening);
        m->setBootStage(QString());
    });
    on(event::status, [m](const QJsonObject &p) {
        const std::optional<QString> name = json::optString(p, key::state);
        m->setState(name ? engine::fromWireName(*name) : m->state());
    });
    on(event::restarting, [m](const QJsonObject &) { m->setState(EngineState::Restarting); });
    on(event::interrupted, [m](const QJsonObject &) { m->setState(EngineState::Listening); });
    on(event::you, [m](const QJsonObject &p) {
        m->setEnrolling(std::nullopt);
        m->push(speaker::you, json::string(p, key::text));
    });
    on(event::tarvel, [m](const QJsonObject &p) { m->push(speaker::tarvel, json::string(p, key::text)); });
    on(event::notify, [m](const QJsonObject &p) { m->push(speaker::task, json::string(p, key::text)); });
    on(event::taskStarted, [m](const QJsonObject &p) {
        m->addAgent(
            json::string(p, key::agent, u"worker"_s), json::string(p, key::desc, u"task"_s), json::string(p, key::id));
    });
    on(event::taskProgress,
        [m](const QJsonObject &p) { m->agentProgress(json::string(p, key::id), json::string(p, key::note)); });
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
    on(event::textVoice, [m](const QJsonObject &p) { m->setTextVoice(json::boolean(p, key::on, m->textVoice())); });
    on(event::wakeWord, [m](const QJsonObject &p) { m->setWakeWord(json::boolean(p, key::on, m->wakeWord())); });
    on(event::meeting, [m](const QJsonObject &p) { m->setRecording(json::boolean(p, key::on, false)); });
    // The views animate these changes themselves (Behavior on their geometry).
    on(event::collapsed, [m](const QJsonObject &p) { m->setCollapsed(json::boolean(p, key::on, m->collapsed())); });
    on(event::dock, [m](const QJsonObject &p) {
        m->setDocked(json::boolean(p, key::on, m->docked()));
        if (const auto width = json::optNumber(p, key::width))
            m->setDockWidth(*width);
        if (const auto side = json::optString(p, key::side))
            m->setDockSide(*side);
    });
}

namespace enginestatus {

void started(AppModel &model)
{
    model.setRunning(true);
    model.setStopReason({});
}

void stopped(AppModel &model)
{
    model.setStopReason({});
    model.setRunning(false);
    model.setState(EngineState::Off);
    // A stopped engine's agents are gone with it: its output is no longer read, so no
    // "task_done" would ever end their chips.
    model.clearAgents();
}

void exited(AppModel &model)
{
    stopped(model);
}

void exitedByItself(AppModel &model, const QString &summary, const QString &details)
{
    model.setStopReason(details);
    model.push(speaker::tarvel, summary);
}

void launchFailed(AppModel &model, const QString &reason, const QString &root)
{
    model.push(speaker::tarvel, QCoreApplication::translate("ModelRows", "Couldn't start the engine: %1").arg(reason));
    model.push(speaker::tarvel,
        QCoreApplication::translate("ModelRows",
            "Looked for it in %1. To use another folder, set TARVEL_VOICE_DIR or start the HUD with --engine DIR.")
            .arg(root));
}

} // namespace enginestatus

} // namespace halvic
