// The real binary on a headless GNOME Shell with its extension, against a scripted engine: the
// HUD keeps its corner, above and on every workspace; a pinch clicks into the native
// application below, and a fist maximises that application's window and restores it. With the
// extension turned off, the next window command tells the user how to turn it on.

#include <QTest>

#include "EngineRoot.h"
#include "GnomeSession.h"
#include "HudPlacement.h"
#include "Tracker.h"

using namespace halvic;
using namespace halvic::testing;

namespace {

QString binary(const char *path)
{
    return qEnvironmentVariable("HALVIC_BINARY_DIR") + QLatin1StringView(path);
}

} // namespace

class TestHudGnome : public QObject
{
    Q_OBJECT

private slots:
    void keepsItsCornerAndGesturesReachNativeWindows()
    {
        if (const QString why = GnomeSession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        GnomeSession gnome;
        QVERIFY2(gnome.ok(), qPrintable(gnome.error()));
        const EngineRoot root(scriptedEngine("hud_engine"));

        QProcessEnvironment wayland;
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        QProcess &probe = gnome.startClient(binary("/tests/wayland_probe"), {"probe"}, wayland);
        QVERIFY(GnomeSession::waitFor([&] { return !gnome.window("probe").isEmpty(); }));

        QProcessEnvironment hudEnv;
        hudEnv.insert(QStringLiteral("TARVEL_VOICE_DIR"), root.path());
        hudEnv.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        hudEnv.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        hudEnv.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        gnome.startClient(binary("/src/app/halvic-hud"), {}, hudEnv);
        const auto inCorner = [&] {
            const QJsonObject panel = gnome.window("Halvic");
            const QRect frame = GnomeSession::frameOf(panel);
            const QPointF corner = placement::cornerOrigin(
                QRectF(QPointF(), GnomeSession::outputSize), frame.size(), HUDCorner::bottomRight);
            return panel[u"above"].toBool() && panel[u"sticky"].toBool() && frame.topLeft() == corner.toPoint();
        };
        // The first start compiles the HUD's views: on a loaded machine it takes a while.
        QVERIFY2(GnomeSession::waitFor(inCorner, 30000), qPrintable(QJsonDocument(gnome.window("Halvic")).toJson()));

        const auto engineSays = [&](const QByteArray &event) {
            QFile feed(root.file(QStringLiteral("feed.jsonl")));
            return feed.open(QIODevice::Append) && feed.write(event + '\n') > 0;
        };
        // The hand over the application's lower left, clear of the alert in the middle that no
        // camera is there (as a fraction of the camera's view).
        const QRect probeFrame = GnomeSession::frameOf(gnome.window("probe"));
        const QPointF hand((probeFrame.x() + probeFrame.width() / 4) / 1920.0,
            (probeFrame.y() + probeFrame.height() * 3 / 4) / 1080.0);
        // Gestures on: a pinch over the application clicks it, not the reticle under the hand.
        QVERIFY(engineSays(R"({"type":"gestures","on":true})"));
        Tracker tracker;
        QVERIFY(tracker.pinchUntilPressed(probe, hand).contains("press 1"));

        // A fist over it maximises it (below the top bar); another restores the frame it had.
        for (const bool maximised : {true, false}) {
            tracker.event("fist_hold", hand);
            QVERIFY2(GnomeSession::waitFor([&] {
                const QRect frame = GnomeSession::frameOf(gnome.window("probe"));
                return maximised ? frame.width() == GnomeSession::outputSize.width() && frame.bottom() == 1079
                                 : frame == probeFrame;
            }),
                qPrintable(QJsonDocument(gnome.window("probe")).toJson()));
        }

        // Without the extension, the next window command says how to turn it on.
        QVERIFY(gnome.setEnabled(false));
        QVERIFY(engineSays(R"({"type":"window","command":{"action":"move","app":"probe","region":"left"}})"));
        const QString atspi = qEnvironmentVariable("HALVIC_SOURCE_DIR") + "/tests/support/atspi_find.py";
        QVERIFY(GnomeSession::waitFor([&] {
            return runTool(gnome.environment(), "/usr/bin/python3", {atspi, "--list"})
                .contains("gnome-extensions enable " HALVIC_GNOME_UUID_43);
        }));
    }
};

QTEST_GUILESS_MAIN(TestHudGnome)
#include "tst_hud_gnome.moc"
