#include <QJsonArray>
#include <QTest>

#include <algorithm>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

namespace {
using halvic::testing::readJson;
} // namespace

/// The real HUD on a real X server with a real window manager, driven with the real
/// pointer and keyboard, against a scripted engine.
class HudEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        QVERIFY(session->startHud());
    }
    void cleanup() { session.reset(); }

    void panelIsAFloatingUndecoratedWindowOnTop()
    {
        const auto has = [&](const char *property, const char *value) {
            return HudSession::waitFor(
                [&] { return session->property(QString::fromLatin1(property)).contains(QLatin1StringView(value)); },
                5000);
        };
        QVERIFY(has("_NET_WM_STATE", "_NET_WM_STATE_ABOVE"));
        QVERIFY(has("_NET_FRAME_EXTENTS", "= 0, 0, 0, 0")); // no decorations
        QVERIFY(has("_NET_WM_DESKTOP", "4294967295"));      // on every desktop
        QVERIFY(has("_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_UTILITY"));
        QVERIFY(session->waitToFind(QStringLiteral("listening\u2026")));
        // Floating in the bottom-right corner, 22 points inside the screen, 360 wide.
        QRect frame;
        QVERIFY(HudSession::waitFor(
            [&] { return (frame = session->hudGeometry().value_or(QRect())).width() == 360; }, 5000));
        QCOMPARE(frame.right() + 1, HudSession::screenSize.width() - 22);
        QCOMPARE(frame.bottom() + 1, HudSession::screenSize.height() - 22);
    }

    void typedMessageIsSentAndEchoed()
    {
        const auto field = session->waitToFind(QStringLiteral("Message Halvic\u2026"));
        QVERIFY(field);
        session->click(*field);
        session->xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
            QStringLiteral("  hello <b>e2e</b>")});
        session->xdotool({QStringLiteral("key"), QStringLiteral("shift+Return")});
        session->xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("second line")});
        session->xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        const QString written = session->root().controlFile(QStringLiteral("text_input.json"));
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(written); }, 10000));
        const QJsonObject sent = readJson(written);
        QCOMPARE(sent.value(QStringLiteral("text")).toString(), QStringLiteral("  hello <b>e2e</b>\nsecond line"));
        QVERIFY(sent.value(QStringLiteral("attachments")).isArray());
        QCOMPARE(sent.value(QStringLiteral("attachments")).toArray().size(), 0);
        QCOMPARE(sent.value(QStringLiteral("want_voice")), QJsonValue(false));
        // The echo is trimmed and shown literally.
        QVERIFY(session->waitToFind(QStringLiteral("hello <b>e2e</b>\nsecond line"), QStringLiteral("list item")));
    }

    void killButtonWritesTheAgentAction()
    {
        session->feed({engineEvent(
            "task_started", {{"agent", "researcher"}, {"desc", "find flights to Lisbon"}, {"id", "t-7"}})});
        const auto chip = session->waitToFind(QStringLiteral("researcher: find flights to Lisbon"));
        QVERIFY(chip);
        session->click(*chip);
        const auto kill = session->waitToFind(QStringLiteral("Kill this agent"));
        QVERIFY(kill);
        session->click(*kill);
        const QString written = session->root().controlFile(QStringLiteral("agent_action.json"));
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(written); }, 10000));
        QCOMPARE(readJson(written), (QJsonObject{{"action", "kill"}, {"id", "t-7"}}));
    }

    // The collapsed pill is a button named for what it does, described on the bus; no
    // tooltip appears over it (it would cover the pill and take the press).
    void collapsedPillIsReadableAndUncovered()
    {
        session->feed({engineEvent("collapsed", {{"on", true}})});
        const auto pill = session->waitToFind(QStringLiteral("Expand Halvic"), QStringLiteral("push button"));
        QVERIFY(pill);
        session->xdotool(
            {QStringLiteral("mousemove"), QString::number(pill->center().x()), QString::number(pill->center().y())});
        QTest::qWait(1200); // past any tooltip delay
        const QStringList objects = session->accessibleObjects();
        QVERIFY2(
            !std::any_of(objects.begin(), objects.end(), [](const QString &o) { return o.startsWith(u"tool tip"); }),
            qPrintable(objects.join(u'\n')));
        QCOMPARE(objects.count(QStringLiteral("frame\tHalvic")), 1);
    }

    void sigtermStopsTheEngineAndTheHud()
    {
        const QString pidFile = session->root().file(QStringLiteral("engine.pid"));
        QVERIFY(HudSession::waitFor([&] { return !pidsIn(pidFile).isEmpty(); }, 10000));
        const qint64 engine = pidsIn(pidFile).front();
        QVERIFY(processAlive(engine));
        ::kill(pid_t(session->hud()->processId()), SIGTERM);
        QVERIFY(session->hud()->waitForFinished(5000));
        QCOMPARE(session->hud()->exitStatus(), QProcess::NormalExit);
        QCOMPARE(session->hud()->exitCode(), 0);
        QVERIFY(!processAlive(engine));
    }

    void quitTakesTheHudAwayWhileTheEngineStopsOutOfSight()
    {
        session->stopHud();
        session->root().setScript(scriptedEngine("ignores_sigterm"));
        QVERIFY(session->startHud());
        const QString pidFile = session->root().file(QStringLiteral("pids"));
        QVERIFY(HudSession::waitFor([&] { return !pidsIn(pidFile).isEmpty(); }, 10000));
        const qint64 engine = pidsIn(pidFile).front();
        ::kill(pid_t(session->hud()->processId()), SIGTERM);
        // Gone from the screen while the engine, ignoring the request, still runs its grace time.
        QVERIFY(HudSession::waitFor([&] { return !session->hudWindow(); }, 10000));
        QVERIFY(processAlive(engine));
        QVERIFY(session->hud()->waitForFinished(15000));
        QVERIFY(!processAlive(engine));
    }
};

QTEST_GUILESS_MAIN(HudEndToEndTest)
#include "tst_hud_e2e.moc"
