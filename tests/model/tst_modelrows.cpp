#include <QSignalSpy>
#include <QTest>

#include "AppModel.h"
#include "EventDispatcher.h"
#include "ModelRows.h"

using namespace halvic;

namespace {

QString field(const AppModel &model, const QString &name)
{
    auto flag = [](bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); };
    if (name == QLatin1StringView("state"))
        return QString(engine::wireName(model.state()));
    if (name == QLatin1StringView("running"))
        return flag(model.running());
    if (name == QLatin1StringView("bootStage"))
        return model.bootStage();
    if (name == QLatin1StringView("muted"))
        return flag(model.muted());
    if (name == QLatin1StringView("textVoice"))
        return flag(model.textVoice());
    if (name == QLatin1StringView("wakeWord"))
        return flag(model.wakeWord());
    if (name == QLatin1StringView("recording"))
        return flag(model.recording());
    if (name == QLatin1StringView("collapsed"))
        return flag(model.collapsed());
    if (name == QLatin1StringView("docked"))
        return flag(model.docked());
    if (name == QLatin1StringView("dockSide"))
        return model.dockSide();
    if (name == QLatin1StringView("dockWidth"))
        return QString::number(model.dockWidth());
    if (name == QLatin1StringView("enrolling"))
        return model.enrolling() ? QStringLiteral("%1/%2").arg(model.enrolling()->n).arg(model.enrolling()->total)
                                 : QStringLiteral("none");
    if (name == QLatin1StringView("transcript")) {
        QStringList lines;
        for (const Line &line : model.transcript()->lines())
            lines << line.who + QLatin1Char(':') + line.text;
        return lines.join(QLatin1Char('|'));
    }
    if (name == QLatin1StringView("agents")) {
        QStringList chips;
        for (const AgentChip &chip : model.agents()->chips())
            chips << QStringLiteral("%1/%2/%3%4%5")
                         .arg(chip.taskId, chip.agent, chip.desc, chip.done ? QStringLiteral("/done") : QString(),
                             chip.note.isEmpty() ? QString() : QLatin1Char('/') + chip.note);
        return chips.join(QLatin1Char('|'));
    }
    return QStringLiteral("<unknown field %1>").arg(name);
}

} // namespace

class DispatchTest : public QObject
{
    Q_OBJECT
private slots:
    void modelRows_data()
    {
        QTest::addColumn<QByteArrayList>("events");
        QTest::addColumn<QStringList>("expected"); // field=value after all events

        QTest::addRow("booting default stage") << QByteArrayList{
            R"({"type":"booting"})"} << QStringList{"state=booting", "running=true", "bootStage=starting up…"};
        QTest::addRow("booting with stage")
            << QByteArrayList{R"({"type":"booting","stage":"models"})"} << QStringList{"bootStage=models"};
        QTest::addRow("booting with non-string stage")
            << QByteArrayList{R"({"type":"booting","stage":7})"} << QStringList{"bootStage=starting up…"};
        QTest::addRow("ready after booting") << QByteArrayList{R"({"type":"booting","stage":"x"})",
            R"({"type":"ready"})"} << QStringList{"state=listening", "bootStage=", "running=true"};
        QTest::addRow("status sets any string")
            << QByteArrayList{R"({"type":"status","state":"thinking"})"} << QStringList{"state=thinking"};
        QTest::addRow("status without state keeps it") << QByteArrayList{R"({"type":"status","state":"speaking"})",
            R"({"type":"status"})", R"({"type":"status","state":null})"}
                                                       << QStringList{"state=speaking"};
        QTest::addRow("restarting, interrupted")
            << QByteArrayList{R"({"type":"restarting"})"} << QStringList{"state=restarting"};
        QTest::addRow("interrupted") << QByteArrayList{R"({"type":"restarting"})", R"({"type":"interrupted"})"}
                                     << QStringList{"state=listening"};
        QTest::addRow("speakers") << QByteArrayList{R"({"type":"you","text":"hi"})",
            R"({"type":"tarvel","text":"hello"})", R"({"type":"notify","text":"done"})", R"({"type":"notify"})",
            R"({"type":"tarvel","text":5})"}
                                  << QStringList{"transcript=you:hi|tarvel:hello|task:done|task:|tarvel:"};
        QTest::addRow("enroll default total")
            << QByteArrayList{R"({"type":"enroll","n":2})"} << QStringList{"enrolling=2/5"};
        QTest::addRow("enroll fractional falls back")
            << QByteArrayList{R"({"type":"enroll","n":1.5,"total":"9"})"} << QStringList{"enrolling=0/5"};
        QTest::addRow("you clears enrolling") << QByteArrayList{R"({"type":"enroll","n":1,"total":3})",
            R"({"type":"you"})"} << QStringList{"enrolling=none", "transcript=you:"};
        QTest::addRow("locked clears enrolling") << QByteArrayList{R"({"type":"enroll"})", R"({"type":"locked"})"}
                                                 << QStringList{"enrolling=none", "transcript="};
        QTest::addRow("switches keep current when absent") << QByteArrayList{R"({"type":"muted","on":true})",
            R"({"type":"muted"})", R"({"type":"text_voice","on":true})", R"({"type":"text_voice","on":"false"})",
            R"({"type":"wake_word","on":true})",
            R"({"type":"wake_word","on":1})"} << QStringList{"muted=true", "textVoice=true", "wakeWord=true"};
        QTest::addRow("meeting defaults to off") << QByteArrayList{R"({"type":"meeting","on":true})",
            R"({"type":"meeting"})"} << QStringList{"recording=false"};
        QTest::addRow("collapsed") << QByteArrayList{R"({"type":"collapsed","on":true})", R"({"type":"collapsed"})"}
                                   << QStringList{"collapsed=true"};
        QTest::addRow("dock width without side keeps side") << QByteArrayList{
            R"({"type":"dock","on":true,"width":300})"} << QStringList{"docked=true", "dockWidth=300", "dockSide=left"};
        QTest::addRow("dock side, bad width ignored")
            << QByteArrayList{R"({"type":"dock","on":true,"side":"right","width":"wide"})", R"({"type":"dock"})"}
            << QStringList{"docked=true", "dockWidth=340", "dockSide=right"};
        QTest::addRow("task defaults") << QByteArrayList{R"({"type":"task_started"})"}
                                       << QStringList{"agents=/worker/task"};
        QTest::addRow("task lifecycle")
            << QByteArrayList{R"({"type":"task_started","agent":"mail","desc":"sort","id":"t1"})",
                   R"({"type":"task_progress","id":"t1","note":"50%"})",
                   R"({"type":"task_done","id":"t1","report":"sorted"})"}
            << QStringList{"agents=t1/mail/sort/done/50%", "transcript=task:sorted"};
        QTest::addRow("task_done without id finishes oldest, empty report adds no line")
            << QByteArrayList{R"({"type":"task_started","id":"a"})", R"({"type":"task_started","id":"b"})",
                   R"({"type":"task_done","report":""})"}
            << QStringList{"agents=a/worker/task/done|b/worker/task", "transcript="};

        // Everything below must leave the model exactly as it started.
        const QStringList untouched{"state=off", "running=false", "transcript=", "agents=", "muted=false"};
        QTest::addRow("not json") << QByteArrayList{"{type:ready}", "", "nul\0l"} << untouched;
        QTest::addRow("top level not an object")
            << QByteArrayList{R"(["ready"])", R"("ready")", "42", "null"} << untouched;
        QTest::addRow("type missing or not a string") << QByteArrayList{R"({"text":"x"})", R"({"type":1,"text":"x"})",
            R"({"type":null})", R"({"type":["tarvel"]})"}
                                                      << untouched;
        QTest::addRow("unknown and other-case types") << QByteArrayList{R"({"type":"Ready"})", R"({"type":"READY"})",
            R"({"type":" ready"})", R"({"type":"nope"})"}
                                                      << untouched;
        QTest::addRow("trailing garbage")
            << QByteArrayList{R"({"type":"ready"} x)", R"({"type":"ready"}{"type":"ready"})"} << untouched;
        QTest::addRow("rows of later features are ignored for now") << QByteArrayList{
            R"({"type":"tasks","tasks":[{"id":"1","text":"x"}]})", R"({"type":"show","path":"/etc/passwd"})",
            R"({"type":"gestures","on":true})"} << untouched;
    }
    void modelRows()
    {
        QFETCH(QByteArrayList, events);
        QFETCH(QStringList, expected);
        ManualScheduler scheduler;
        AppModel model(scheduler);
        EventDispatcher dispatcher;
        model.registerRows(dispatcher);
        for (const QByteArray &event : events)
            dispatcher.dispatch(event);
        for (const QString &expectation : expected) {
            const QString name = expectation.section(QLatin1Char('='), 0, 0);
            QCOMPARE(field(model, name), expectation.section(QLatin1Char('='), 1));
        }
    }

    void everyAssignmentIsAChangeEvenWhenEqual()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        EventDispatcher dispatcher;
        model.registerRows(dispatcher);
        QSignalSpy changes(&model, &AppModel::changed);
        dispatcher.dispatch(R"({"type":"status"})");
        QCOMPARE(changes.count(), 1);
    }
};

QTEST_GUILESS_MAIN(DispatchTest)
#include "tst_modelrows.moc"
