#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "JsonFile.h"
#include "AppModel.h"
#include "ControlChannel.h"
#include "HudController.h"

using namespace halvic;
using namespace std::chrono_literals;

namespace {

struct Sent
{
    QString text;
    QList<QUrl> attachments;
};

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
    std::vector<Sent> sent;
    QStringList calls;

    HudActions actions()
    {
        return {
            .onMute = [this] { calls << QStringLiteral("mute"); },
            .onPower = [this] { calls << QStringLiteral("power"); },
            .onToggleWakeWord = [this](bool on) { calls << QStringLiteral("wake %1").arg(on); },
            .onMinimize = [this] { calls << QStringLiteral("minimize"); },
            .onQuit = [this] { calls << QStringLiteral("quit"); },
            .onSend = [this](const QString &text, const QList<QUrl> &files) { sent.push_back({text, files}); },
            .onAttach = {},
            .onPaste = {},
            .onActivateInput = {},
            .onMemory = {},
            .writeControl = {},
            .showMenu = {},
            .extraMenuEntries = {},
        };
    }

private slots:
    void init()
    {
        model = std::make_unique<AppModel>(scheduler);
        sent.clear();
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
        HudController hud(*model, scheduler, actions());
        QList<QUrl> urls;
        for (const QString &path : attached)
            urls << QUrl::fromLocalFile(path);
        model->setDraft(draft);
        model->setAttachments(urls);
        QCOMPARE(hud.canSend(), sends);

        hud.submit();

        const auto &lines = model->transcript()->lines();
        if (!sends) {
            QVERIFY(sent.empty());
            QVERIFY(lines.empty());
            QCOMPARE(model->draft(), draft);
            return;
        }
        QCOMPARE(sent.size(), 1u);
        QCOMPARE(sent[0].text, draft);
        QCOMPARE(sent[0].attachments, urls);
        QCOMPARE(lines.size(), 1u);
        QCOMPARE(lines[0].who, QStringLiteral("you"));
        QCOMPARE(lines[0].text, echo);
        QCOMPARE(model->draft(), QString());
        QVERIFY(model->attachments().isEmpty());
        QVERIFY(!hud.canSend());
    }

    void canSendFollowsTheModel()
    {
        HudController hud(*model, scheduler, actions());
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
        QTemporaryDir dir;
        const ControlChannel control(dir.filePath(QStringLiteral("nested/control")));
        HudActions withWriter = actions();
        withWriter.writeControl = [&control](QLatin1StringView name, const QJsonObject &object) {
            control.writeJSON(name, object);
        };
        HudController hud(*model, scheduler, std::move(withWriter));
        hud.killAgent(taskId);
        const QJsonObject written = readJson(control.filePath(controlfile::agentAction));
        QCOMPARE(written, (QJsonObject{{QStringLiteral("action"), QStringLiteral("kill")}, {QStringLiteral("id"), taskId}}));
    }

    void wakeWordFlipsTheModelThenTellsTheEngine()
    {
        HudController hud(*model, scheduler, actions());
        hud.toggleWakeWord();
        QVERIFY(model->wakeWord());
        hud.toggleWakeWord();
        QVERIFY(!model->wakeWord());
        QCOMPARE(calls, (QStringList{QStringLiteral("wake 1"), QStringLiteral("wake 0")}));
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
            << true << true << true << true
            << QStringList{"Stop Halvic", "Unmute Mic", "Expand", "--", "Quit Halvic"}
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
        HudController hud(*model, scheduler, actions());
        QCOMPARE(titles(hud.contextMenu()), context);
        QCOMPARE(titles(hud.moreMenu()), more);
    }

    void menuActionsDoWhatTheySay()
    {
        HudController hud(*model, scheduler, actions());
        const Menu context = hud.contextMenu();
        for (const MenuEntry &entry : context) {
            if (entry.action)
                entry.action();
        }
        QCOMPARE(calls, (QStringList{"power", "mute", "minimize", "quit"}));

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
        HudActions withExtras = actions();
        withExtras.extraMenuEntries = [] { return Menu{{QStringLiteral("Hand Gestures"), [] {}, true, true, true}}; };
        HudController hud(*model, scheduler, std::move(withExtras));
        QCOMPARE(titles(hud.moreMenu()), (QStringList{"Start listening", "Dock to left edge", "Minimize to a bubble", "--",
                                                      "Hand Gestures", "--", "Quit Halvic"}));
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
        HudController hud(*model, scheduler, actions());
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
        HudController hud(*model, scheduler, actions());
        AgentClock &clock = *hud.clock();
        QVERIFY(!clock.isTicking());
        QCOMPARE(scheduler.pendingCount(), 0u);

        scheduler.advance(10s);
        model->addAgent(QStringLiteral("web"), QStringLiteral("fetch"), QStringLiteral("t1"));
        const qint64 started = model->agents()->data(model->agents()->index(0), AgentListModel::StartedAtRole).toLongLong();
        QVERIFY(clock.isTicking());
        QCOMPARE(hud.elapsed(started, clock.now()), QStringLiteral("0s"));

        QSignalSpy ticks(&clock, &AgentClock::nowChanged);
        scheduler.advance(125s);
        QCOMPARE(ticks.size(), 125);
        QCOMPARE(hud.elapsed(started, clock.now()), QStringLiteral("2m 5s"));

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
