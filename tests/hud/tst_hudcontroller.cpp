#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "AppModel.h"
#include "ControlChannel.h"
#include "HudController.h"
#include "HudRequests.h"
#include "JsonFile.h"

using namespace halvic;
using namespace std::chrono_literals;

namespace {

QStringList titles(const Menu &menu)
{
    QStringList out;
    for (const MenuEntry &entry : menu)
        out << (entry.separator ? QStringLiteral("--") : entry.title);
    return out;
}

using halvic::testing::readJson;

} // namespace

class HudControllerTest : public QObject
{
    Q_OBJECT

    ManualScheduler scheduler;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<HudRequests> requests;
    QStringList calls;

    QString controlFile(QLatin1StringView name) const { return requests->control().filePath(name); }

    // A controller whose requests to the application are recorded in `calls`.
    std::unique_ptr<HudController> makeHud()
    {
        auto hud = std::make_unique<HudController>(*model, scheduler, *requests);
        const auto record = [this](const char *what) { return [this, what] { calls << QString::fromLatin1(what); }; };
        connect(hud.get(), &HudController::powerRequested, this, record("power"));
        connect(hud.get(), &HudController::minimizeRequested, this, record("minimize"));
        connect(hud.get(), &HudController::quitRequested, this, record("quit"));
        connect(hud.get(), &HudController::memoryRequested, this, record("memory"));
        return hud;
    }

private slots:
    void init()
    {
        model = std::make_unique<AppModel>(scheduler);
        dir = std::make_unique<QTemporaryDir>();
        requests = std::make_unique<HudRequests>(ControlChannel(dir->filePath(QStringLiteral("nested/control"))));
        calls.clear();
    }

    void submit_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<QStringList>("attached");
        QTest::addColumn<bool>("sends");
        QTest::addColumn<QString>("echo");
        QTest::addRow("text is sent as typed, echoed trimmed") << "  hello  " << QStringList{} << true << "hello";
        QTest::addRow("files only") << "" << QStringList{"/tmp/x.txt", "/tmp/y.txt"} << true
                                    << "\U0001F4CE x.txt, y.txt";
        QTest::addRow("blank does nothing") << " \n " << QStringList{} << false << "";
        QTest::addRow("a line break inside stays") << "a\nb\n" << QStringList{} << true << "a\nb";
    }
    void submit()
    {
        QFETCH(QString, draft);
        QFETCH(QStringList, attached);
        QFETCH(bool, sends);
        QFETCH(QString, echo);
        const auto hudOwner = makeHud();
        HudController &hud = *hudOwner;
        QList<QUrl> urls;
        for (const QString &path : attached)
            urls << QUrl::fromLocalFile(path);
        model->setDraft(draft);
        model->setAttachments(urls);
        QCOMPARE(hud.canSend(), sends);

        hud.submit();

        const auto &lines = model->transcript()->lines();
        if (!sends) {
            QVERIFY(!QFile::exists(controlFile(controlfile::textInput)));
            QVERIFY(lines.empty());
            QCOMPARE(model->draft(), draft);
            return;
        }
        const QJsonObject sent = readJson(controlFile(controlfile::textInput));
        QCOMPARE(sent.value(QStringLiteral("text")).toString(), draft);
        QJsonArray paths;
        for (const QString &path : attached)
            paths.append(path);
        QCOMPARE(sent.value(QStringLiteral("attachments")).toArray(), paths);
        QCOMPARE(lines.size(), 1u);
        QCOMPARE(lines[0].who, QStringLiteral("you"));
        QCOMPARE(lines[0].text, echo);
        QCOMPARE(model->draft(), QString());
        QVERIFY(model->attachments().isEmpty());
        QVERIFY(!hud.canSend());
    }

    void canSendFollowsTheModel()
    {
        const auto hudOwner = makeHud();
        HudController &hud = *hudOwner;
        QSignalSpy changes(&hud, &HudController::canSendChanged);
        model->setDraft(QStringLiteral("  "));
        QCOMPARE(changes.size(), 0);
        model->setDraft(QStringLiteral(" a"));
        model->setDraft(QStringLiteral(" ab"));
        QCOMPARE(changes.size(), 1);
        model->setAttachments({QUrl::fromLocalFile(QStringLiteral("/tmp/f"))});
        model->setDraft({});
        QCOMPARE(changes.size(), 1);
        hud.removeAttachment(5);
        hud.removeAttachment(-1);
        QVERIFY(hud.canSend());
        hud.removeAttachment(0);
        QVERIFY(!hud.canSend());
        QCOMPARE(changes.size(), 2);
    }

    void killWritesTheAgentAction_data()
    {
        QTest::addColumn<QString>("taskId");
        QTest::addRow("task id") << "t-42";
        QTest::addRow("empty task id still writes") << "";
        QTest::addRow("quotes and unicode") << "a\"b\u00e9";
    }
    void killWritesTheAgentAction()
    {
        QFETCH(QString, taskId);
        const auto hud = makeHud();
        hud->killAgent(taskId);
        const QJsonObject written = readJson(controlFile(controlfile::agentAction));
        QCOMPARE(
            written, (QJsonObject{{QStringLiteral("action"), QStringLiteral("kill")}, {QStringLiteral("id"), taskId}}));
    }

    void wakeWordFlipsTheModelThenTellsTheEngine()
    {
        const auto hud = makeHud();
        hud->toggleWakeWord();
        QVERIFY(model->wakeWord());
        QCOMPARE(readJson(controlFile(controlfile::config)), (QJsonObject{{QStringLiteral("wake_word"), true}}));
        hud->toggleWakeWord();
        QVERIFY(!model->wakeWord());
        QCOMPARE(readJson(controlFile(controlfile::config)), (QJsonObject{{QStringLiteral("wake_word"), false}}));
    }

    void menus_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("muted");
        QTest::addColumn<bool>("collapsed");
        QTest::addColumn<bool>("docked");
        QTest::addColumn<QStringList>("context");
        QTest::addColumn<QStringList>("more");
        QTest::addRow("stopped, floating")
            << false << false << false << false
            << QStringList{"Start Halvic", "Mute Mic", "Minimize", "--", "Quit Halvic"}
            << QStringList{"Start listening", "Dock to left edge", "Minimize to a bubble", "--", "Quit Halvic"};
        QTest::addRow("running, muted, collapsed, docked")
            << true << true << true << true << QStringList{"Stop Halvic", "Unmute Mic", "Expand", "--", "Quit Halvic"}
            << QStringList{"Stop listening", "Undock (float free)", "Minimize to a bubble", "--", "Quit Halvic"};
    }
    void menus()
    {
        QFETCH(bool, running);
        QFETCH(bool, muted);
        QFETCH(bool, collapsed);
        QFETCH(bool, docked);
        QFETCH(QStringList, context);
        QFETCH(QStringList, more);
        model->setRunning(running);
        model->setMuted(muted);
        model->setCollapsed(collapsed);
        model->setDocked(docked);
        const auto hud = makeHud();
        QCOMPARE(titles(hud->contextMenu()), context);
        QCOMPARE(titles(hud->moreMenu()), more);
    }

    void menuActionsDoWhatTheySay()
    {
        const auto hudOwner = makeHud();
        HudController &hud = *hudOwner;
        const Menu context = hud.contextMenu();
        for (const MenuEntry &entry : context) {
            if (entry.action)
                entry.action();
        }
        // Mute goes straight to the engine as its marker file.
        QCOMPARE(calls, (QStringList{"power", "minimize", "quit"}));
        QVERIFY(QFile::exists(controlFile(controlfile::mute)));

        model->setDockSide(QStringLiteral("right"));
        hud.moreMenu()[1].action(); // dock to the left edge
        QVERIFY(model->docked());
        QCOMPARE(model->dockSide(), QStringLiteral("left"));
        hud.moreMenu()[1].action(); // undock keeps the side
        QVERIFY(!model->docked());
        hud.moreMenu()[2].action();
        QVERIFY(model->collapsed());
    }

    void trayItemsJoinTheMoreMenuWhenGiven()
    {
        const auto hud = makeHud();
        hud->setExtraMenuEntries([] { return Menu{{QStringLiteral("Hand Gestures"), [] {}, true, true, true}}; });
        QCOMPARE(titles(hud->moreMenu()),
            (QStringList{"Start listening", "Dock to left edge", "Minimize to a bubble", "--", "Hand Gestures", "--",
                "Quit Halvic"}));
    }

    void dockStripWidthStaysInItsRange_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<double>("strip");
        QTest::addRow("inside") << 300.0 << 300.0;
        QTest::addRow("too narrow") << 20.0 << 260.0;
        QTest::addRow("negative") << -400.0 << 260.0;
        QTest::addRow("too wide") << 5000.0 << 760.0;
    }
    void dockStripWidthStaysInItsRange()
    {
        QFETCH(double, stored);
        QFETCH(double, strip);
        const auto hudOwner = makeHud();
        HudController &hud = *hudOwner;
        QSignalSpy changed(&hud, &HudController::dockStripWidthChanged);
        model->setDockWidth(stored);
        QCOMPARE(hud.dockStripWidth(), strip);
        QCOMPARE(changed.size(), stored == 340.0 ? 0 : 1);
        // A drag starts from the strip as shown: 40 points inward from a too-wide strip narrows it.
        hud.dragDockWidth(hud.dockStripWidth(), -40);
        QCOMPARE(model->dockWidth(), std::max(strip - 40, 260.0));
    }

    void agentClockTicksOnlyWhileChipsExist()
    {
        const auto hudOwner = makeHud();
        HudController &hud = *hudOwner;
        AgentClock &clock = *hud.clock();
        QVERIFY(!clock.isTicking());
        QCOMPARE(scheduler.pendingCount(), 0u);

        scheduler.advance(10s);
        model->addAgent(QStringLiteral("web"), QStringLiteral("fetch"), QStringLiteral("t1"));
        const auto elapsed = [&] { return hud.agents()->index(0, 0).data(AgentChipRows::ElapsedRole).toString(); };
        QVERIFY(clock.isTicking());
        QCOMPARE(elapsed(), QStringLiteral("0s"));

        QSignalSpy ticks(&clock, &AgentClock::nowChanged);
        scheduler.advance(125s);
        QCOMPARE(ticks.size(), 125);
        QCOMPARE(elapsed(), QStringLiteral("2m 5s"));

        model->finishAgent(QStringLiteral("t1"));
        scheduler.advance(1500ms);
        QVERIFY(model->agents()->chips().empty());
        QVERIFY(!clock.isTicking());
        QCOMPARE(scheduler.pendingCount(), 0u);

        model->addAgent(QStringLiteral("a"), QStringLiteral("b"), QString());
        QVERIFY(clock.isTicking());
        model->clearAgents();
        QVERIFY(!clock.isTicking());
    }
};

QTEST_GUILESS_MAIN(HudControllerTest)
#include "tst_hudcontroller.moc"
