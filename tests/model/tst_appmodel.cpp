#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "AppModel.h"
#include "StateLabel.h"

using namespace halvic;
using namespace std::chrono_literals;

namespace {

QString repeated(const QString &cluster, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += cluster;
    return text;
}

QStringList taskIds(const AppModel &model)
{
    QStringList ids;
    for (const AgentChip &chip : model.agents()->chips())
        ids << chip.taskId + (chip.done ? QStringLiteral("*") : QString());
    return ids;
}

} // namespace

class AppModelTest : public QObject
{
    Q_OBJECT
private slots:
    void truncationCountsUserPerceivedCharacters_data()
    {
        QTest::addColumn<QString>("cluster");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("cut");
        const QString flag = QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7"); // two regional indicators
        const QString accented = QStringLiteral("e\u0301");                         // e + combining acute
        const QString family
            = QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
        QTest::addRow("ascii 4000 stays") << QStringLiteral("a") << 4000 << false;
        QTest::addRow("ascii 4001 is cut") << QStringLiteral("a") << 4001 << true;
        QTest::addRow("flags 4000 stay") << flag << 4000 << false;
        QTest::addRow("flags 4001 are cut") << flag << 4001 << true;
        QTest::addRow("combining 4000 stay") << accented << 4000 << false;
        QTest::addRow("combining 4001 are cut") << accented << 4001 << true;
        QTest::addRow("zwj family 4001 cut") << family << 4001 << true;
        QTest::addRow("empty") << QString() << 0 << false;
    }
    void truncationCountsUserPerceivedCharacters()
    {
        QFETCH(QString, cluster);
        QFETCH(int, count);
        QFETCH(bool, cut);
        ManualScheduler scheduler;
        AppModel model(scheduler);
        model.push(QStringLiteral("tarvel"), repeated(cluster, count));
        const QString stored = model.transcript()->lines().back().text;
        if (cut)
            QCOMPARE(stored, repeated(cluster, 4000) + QChar(0x2026));
        else
            QCOMPARE(stored, repeated(cluster, count));
    }

    void transcriptKeepsTheNewestTwelve()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        QAbstractItemModelTester tester(model.transcript(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 1; i <= 13; ++i)
            model.push(QStringLiteral("you"), QString::number(i));
        const auto &lines = model.transcript()->lines();
        QCOMPARE(lines.size(), 12u);
        QCOMPARE(lines.front().text, QStringLiteral("2"));
        QCOMPARE(lines.back().text, QStringLiteral("13"));
        QVERIFY(lines.front().id != lines.back().id);
        QCOMPARE(model.transcript()->rowCount(), 12);
    }

    void agentOperations_data()
    {
        // Each step: op,arg[,arg]; expected: task ids in list order, "*" marks done.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("stalledAfter");
        QTest::addRow("repeated id adds once") << QStringList{"add:a", "add:a"} << QStringList{"a"} << "";
        QTest::addRow("empty ids always add") << QStringList{"add:", "add:"} << QStringList{"", ""} << "";
        QTest::addRow("repeat of a done id adds nothing")
            << QStringList{"add:a", "finish:a", "add:a"} << QStringList{"a*"} << "";
        QTest::addRow("finish empty takes oldest unfinished")
            << QStringList{"add:a", "add:b", "finish:a", "finish:"} << QStringList{"a*", "b*"} << "";
        QTest::addRow("second finish of same id does nothing")
            << QStringList{"add:", "add:x", "finish:x", "finish:x"} << QStringList{"", "x*"} << "";
        QTest::addRow("finish unknown id does nothing") << QStringList{"add:a", "finish:zz"} << QStringList{"a"} << "";
        QTest::addRow("stall then progress clears")
            << QStringList{"add:a", "stall:a", "progress:a"} << QStringList{"a"} << "";
        QTest::addRow("stall sticks") << QStringList{"add:a", "add:b", "stall:b"} << QStringList{"a", "b"} << "b";
        QTest::addRow("stall unknown id does nothing") << QStringList{"add:a", "stall:q"} << QStringList{"a"} << "";
    }
    void agentOperations()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        QFETCH(QString, stalledAfter);
        ManualScheduler scheduler;
        AppModel model(scheduler);
        QAbstractItemModelTester tester(model.agents(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString &step : steps) {
            const QString op = step.section(QLatin1Char(':'), 0, 0);
            const QString id = step.section(QLatin1Char(':'), 1);
            if (op == QLatin1StringView("add"))
                model.addAgent(QStringLiteral("worker"), QStringLiteral("desc"), id);
            else if (op == QLatin1StringView("finish"))
                model.finishAgent(id);
            else if (op == QLatin1StringView("stall"))
                model.agentStalled(id);
            else if (op == QLatin1StringView("progress"))
                model.agentProgress(id, QStringLiteral("note"));
        }
        QCOMPARE(taskIds(model), expected);
        QStringList stalled;
        for (const AgentChip &chip : model.agents()->chips())
            if (chip.stalled)
                stalled << chip.taskId;
        QCOMPARE(stalled.join(QLatin1Char(',')), stalledAfter);
    }

    void progressSetsNoteAndStartTimeComesFromTheClock()
    {
        ManualScheduler scheduler;
        scheduler.advance(42s);
        AppModel model(scheduler);
        model.addAgent(QStringLiteral("mail"), QStringLiteral("sorting"), QStringLiteral("t1"));
        model.agentProgress(QStringLiteral("t1"), QStringLiteral("half way"));
        const AgentChip &chip = model.agents()->chips().front();
        QCOMPARE(chip.note, QStringLiteral("half way"));
        QCOMPARE(chip.agent, QStringLiteral("mail"));
        QCOMPARE(chip.startedAt, scheduler.now());
    }

    void finishedChipIsRemovedOneAndAHalfSecondsLater()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        model.addAgent(QStringLiteral("w"), QStringLiteral("d"), QStringLiteral("a"));
        model.addAgent(QStringLiteral("w"), QStringLiteral("d"), QStringLiteral("b"));
        model.finishAgent(QStringLiteral("a"));
        scheduler.advance(1499ms);
        QCOMPARE(taskIds(model), (QStringList{"a*", "b"}));
        scheduler.advance(1ms);
        QCOMPARE(taskIds(model), QStringList{"b"});
    }

    void clearingDuringTheWaitLeavesNothingForTheRemoval()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        model.addAgent(QStringLiteral("w"), QStringLiteral("d"), QStringLiteral("a"));
        model.finishAgent(QStringLiteral("a"));
        model.clearAgents();
        model.addAgent(QStringLiteral("w"), QStringLiteral("d"), QStringLiteral("a"));
        scheduler.advance(2s);
        // The new chip has another identity, so the old removal passes it by.
        QCOMPARE(taskIds(model), QStringList{"a"});
    }

    void engineStateWireNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<EngineState>("state");
        for (const auto &[name, state] : {std::pair{"off", EngineState::Off}, {"booting", EngineState::Booting},
                 {"listening", EngineState::Listening}, {"thinking", EngineState::Thinking},
                 {"speaking", EngineState::Speaking}, {"restarting", EngineState::Restarting}})
            QTest::addRow("%s", name) << QString::fromLatin1(name) << state;
    }
    void engineStateWireNames()
    {
        QFETCH(QString, name);
        QFETCH(EngineState, state);
        QCOMPARE(engine::fromWireName(name), state);
        QCOMPARE(QString(engine::wireName(state)), name);
        QCOMPARE(engine::fromWireName(name.toUpper()), EngineState::Other);
    }

    void everyAssignmentNotifiesButPropertiesOnlyOnChange()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        QSignalSpy any(&model, &AppModel::changed);
        QSignalSpy state(&model, &AppModel::stateChanged);
        model.setState(EngineState::Off);
        model.setState(EngineState::Listening);
        model.setDockWidth(340);
        QCOMPARE(any.count(), 3);
        QCOMPARE(state.count(), 1);
    }

    void stateLabelRules_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("bootStage");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("muted");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("enrollStep");
        QTest::addColumn<QString>("label");
        QTest::addRow("booting, no stage") << "booting"
                                           << "" << false << false << false << -1 << "starting up…";
        QTest::addRow("booting, stage wins over muted") << "booting"
                                                        << "loading" << true << true << false << -1 << "loading";
        QTest::addRow("not running") << "listening"
                                     << "" << false << false << false << -1 << "offline";
        QTest::addRow("restarting") << "restarting"
                                    << "" << true << true << false << -1 << "Restarting…";
        QTest::addRow("muted and recording") << "listening"
                                             << "" << true << true << true << -1 << "muted";
        QTest::addRow("recording") << "thinking"
                                   << "" << true << false << true << -1 << "recording — taking notes";
        QTest::addRow("enrolling") << "listening"
                                   << "" << true << false << false << 2 << "learning your voice 2/5";
        QTest::addRow("listening") << "listening"
                                   << "" << true << false << false << -1 << "listening…";
        QTest::addRow("thinking") << "thinking"
                                  << "" << true << false << false << -1 << "thinking…";
        QTest::addRow("speaking") << "speaking"
                                  << "" << true << false << false << -1 << "speaking…";
        QTest::addRow("other") << "Listening"
                               << "" << true << false << false << -1 << "ready";
    }
    void stateLabelRules()
    {
        QFETCH(QString, state);
        QFETCH(QString, bootStage);
        QFETCH(bool, running);
        QFETCH(bool, muted);
        QFETCH(bool, recording);
        QFETCH(int, enrollStep);
        QFETCH(QString, label);
        const std::optional<Enrollment> enrolling
            = enrollStep < 0 ? std::nullopt : std::optional(Enrollment{enrollStep, 5});
        QCOMPARE(stateLabel(engine::fromWireName(state), bootStage, running, muted, recording, enrolling), label);

        ManualScheduler scheduler;
        AppModel model(scheduler);
        model.setState(engine::fromWireName(state));
        model.setBootStage(bootStage);
        model.setRunning(running);
        model.setMuted(muted);
        model.setRecording(recording);
        model.setEnrolling(enrolling);
        QCOMPARE(model.stateLabel(), label);
    }
};

QTEST_GUILESS_MAIN(AppModelTest)
#include "tst_appmodel.moc"
