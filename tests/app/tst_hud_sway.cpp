// The real binary on a headless sway, against a scripted engine: the HUD floats in its corner
// above a tiled window, stays on every workspace and re-anchors when the output changes; a card
// the engine opens floats at its place and leaves the keyboard with the application in use; a
// pinch under the hand's reticle clicks into the native application below.

#include <QJsonDocument>
#include <QTest>

#include "CardWindow.h"
#include "EngineRoot.h"
#include "HudPlacement.h"
#include "Tracker.h"
#include "WaylandSession.h"

using namespace halvic;
using namespace halvic::testing;

namespace {

std::optional<sway::Window> windowOf(const SwaySession &sway, const std::function<bool(const sway::Window &)> &match)
{
    const QList<sway::Window> all = sway.windows();
    const auto found = std::ranges::find_if(all, match);
    return found == all.end() ? std::nullopt : std::optional(*found);
}

QRect cornerFrame(QSize screen, QSize panel)
{
    const QPointF origin = placement::cornerOrigin(QRectF(QPointF(), screen), panel, HUDCorner::bottomRight);
    return QRect(origin.toPoint(), panel);
}

} // namespace

class TestHudSway : public QObject
{
    Q_OBJECT

private slots:
    void keepsItsCornerAndCardsFloat()
    {
        if (const QString why = SwaySession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        SwaySession sway;
        QVERIFY2(sway.ok(), qPrintable(sway.error()));
        const EngineRoot root(scriptedEngine("hud_engine"));

        QProcessEnvironment wayland;
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        QProcess &probe = sway.startClient(
            qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/tests/wayland_probe"), {"probe"}, wayland);
        const auto native = [&] { return windowOf(sway, [](auto &w) { return w.appId == u"probe"; }); };
        QVERIFY(SwaySession::waitFor([&] { return native().has_value(); }));

        QProcessEnvironment hudEnv;
        hudEnv.insert(QStringLiteral("TARVEL_VOICE_DIR"), root.path());
        hudEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), root.file(QStringLiteral("config")));
        hudEnv.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        const QProcess &hud = sway.startClient(
            qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/src/app/halvic-hud"), {}, hudEnv);
        const qint64 hudPid = hud.processId();
        const auto hudWindow
            = [&] { return windowOf(sway, [&](auto &w) { return w.pid == hudPid && w.title == u"Halvic"; }); };
        const auto inCorner = [&](QSize screen) {
            const auto panel = hudWindow();
            return panel && panel->floating && panel->frame == cornerFrame(screen, panel->frame.size());
        };
        // The first start compiles the HUD's views: on a loaded machine it takes a while.
        QVERIFY2(SwaySession::waitFor([&] { return inCorner(SwaySession::outputSize); }, 30000),
            hudWindow() ? qPrintable(QDebug::toString(hudWindow()->frame)) : "no HUD window");
        // Above the tiled application that spans the output.
        QVERIFY(!native()->floating && native()->frame.contains(hudWindow()->frame));

        // Another workspace: the HUD comes along.
        QVERIFY(sway.ipc().command(QStringLiteral("workspace 2")));
        QVERIFY(SwaySession::waitFor(
            [&] { return hudWindow() && hudWindow()->workspace == u"2" && hudWindow()->visible; }));
        QVERIFY(sway.ipc().command(QStringLiteral("workspace 1")));

        // The output changes size: the HUD goes to the new corner.
        QVERIFY(sway.ipc().command(QStringLiteral("output HEADLESS-1 resolution 1280x720")));
        QVERIFY(SwaySession::waitFor([&] { return inCorner(QSize(1280, 720)); }));
        QVERIFY(sway.ipc().command(QStringLiteral("output HEADLESS-1 resolution 1920x1080")));
        QVERIFY2(SwaySession::waitFor([&] { return inCorner(SwaySession::outputSize); }),
            qPrintable(QDebug::toString(hudWindow()->frame)));

        const auto engineSays = [&](const QByteArray &event) {
            QFile feed(root.file(QStringLiteral("feed.jsonl")));
            return feed.open(QIODevice::Append) && feed.write(event + '\n') > 0;
        };
        // The application has the keyboard when the engine opens the tasks card.
        QVERIFY(sway.ipc().command(QStringLiteral("[app_id=probe] focus")));
        QVERIFY(engineSays(R"({"type":"tasks","tasks":[{"id":"t1","text":"Call Ann"}]})"));
        const auto card
            = [&] { return windowOf(sway, [&](auto &w) { return w.pid == hudPid && w.title != u"Halvic"; }); };
        const QRect expected = cardplacement::topRight(20)(QRect(QPoint(), SwaySession::outputSize), QSize(320, 400));
        QVERIFY2(SwaySession::waitFor([&] { return card() && card()->floating && card()->frame == expected; }),
            card() ? qPrintable(QDebug::toString(card()->frame)) : "no card");
        QTest::qWait(300);
        QVERIFY(native()->focused);

        // Gestures on: the right hand over the application, then a pinch there. The click must
        // reach it, not the reticle drawn under the hand.
        QVERIFY(engineSays(R"({"type":"gestures","on":true})"));
        const QByteArray reports = Tracker().pinchUntilPressed(probe, {0.3, 0.3});
        const QPoint tip = QPointF(0.3 * 1920, 0.3 * 1080).toPoint() - native()->content.topLeft();
        QVERIFY2(reports.contains(QStringLiteral("press 1 %1 %2").arg(tip.x()).arg(tip.y()).toLatin1()), reports);
    }
};

QTEST_GUILESS_MAIN(TestHudSway)
#include "tst_hud_sway.moc"
