// The real binary on a headless KWin, against a scripted engine: the HUD keeps its corner,
// above and on every desktop; a card the engine opens goes to its place; with the HUD's
// desktop entry, a pinch clicks into the native application below, and a fist maximises that
// application's window and restores it.

#include <QTest>

#include "CardWindow.h"
#include "EngineRoot.h"
#include "HudPlacement.h"
#include "KWinSession.h"
#include "Tracker.h"

using namespace halvic;
using namespace halvic::testing;

namespace {

QJsonObject windowOf(KWinSession &kwin, const QString &caption)
{
    return kwin.window([&](const QJsonObject &w) { return w[u"caption"].toString() == caption; });
}

QString binary(const char *path)
{
    return qEnvironmentVariable("HALVIC_BINARY_DIR") + QLatin1StringView(path);
}

} // namespace

class TestHudKWin : public QObject
{
    Q_OBJECT

private slots:
    void keepsItsCornerAndGesturesReachNativeWindows()
    {
        if (const QString why = KWinSession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        KWinSession kwin({QFileInfo(binary("/src/app/halvic-hud")).canonicalFilePath()});
        QVERIFY2(kwin.ok(), qPrintable(kwin.error()));
        const EngineRoot root(scriptedEngine("hud_engine"));

        QProcessEnvironment wayland;
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        QProcess &probe = kwin.startClient(binary("/tests/wayland_probe"), {"probe"}, wayland);
        QVERIFY(KWinSession::waitFor([&] { return !windowOf(kwin, "probe").isEmpty(); }));

        QProcessEnvironment hudEnv;
        hudEnv.insert(QStringLiteral("TARVEL_VOICE_DIR"), root.path());
        hudEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), root.file(QStringLiteral("config")));
        hudEnv.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE"));
        hudEnv.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        const qint64 hudPid = kwin.startClient(binary("/src/app/halvic-hud"), {}, hudEnv).processId();
        const auto inCorner = [&] {
            const QJsonObject panel = windowOf(kwin, "Halvic");
            const QRect frame = KWinSession::frameOf(panel);
            const QPointF corner = placement::cornerOrigin(
                QRectF(QPointF(), KWinSession::outputSize), frame.size(), HUDCorner::bottomRight);
            return panel[u"keepAbove"].toBool() && panel[u"onAllDesktops"].toBool()
                && frame.topLeft() == corner.toPoint();
        };
        // The first start compiles the HUD's views: on a loaded machine it takes a while.
        QVERIFY2(KWinSession::waitFor(inCorner, 30000), qPrintable(QJsonDocument(windowOf(kwin, "Halvic")).toJson()));

        const auto engineSays = [&](const QByteArray &event) {
            QFile feed(root.file(QStringLiteral("feed.jsonl")));
            return feed.open(QIODevice::Append) && feed.write(event + '\n') > 0;
        };
        QVERIFY(engineSays(R"({"type":"tasks","tasks":[{"id":"t1","text":"Call Ann"}]})"));
        const QRect expected = cardplacement::topRight(20)(QRect(QPoint(), KWinSession::outputSize), QSize(320, 400));
        const auto card = [&] {
            return kwin.window([&](const QJsonObject &w) {
                return w[u"pid"].toInteger() == hudPid && w[u"caption"].toString() != u"Halvic";
            });
        };
        QVERIFY2(KWinSession::waitFor([&] { return KWinSession::frameOf(card()) == expected; }),
            qPrintable(QJsonDocument(kwin.windows()).toJson()));

        // Where KWin put it (the screen's middle), and the hand over its lower left, clear of the
        // alert in the middle that no camera is there (as a fraction of the camera's view).
        const QRect probeFrame = KWinSession::frameOf(windowOf(kwin, "probe"));
        const QPointF hand((probeFrame.x() + probeFrame.width() / 4) / 1920.0,
            (probeFrame.y() + probeFrame.height() * 3 / 4) / 1080.0);
        // Gestures on: a pinch over the application clicks it, not the reticle under the hand.
        QVERIFY(engineSays(R"({"type":"gestures","on":true})"));
        Tracker tracker;
        QVERIFY(tracker.pinchUntilPressed(probe, hand).contains("press 1"));

        // A fist over it maximises it; another restores the frame it had.
        const QRect maximised(QPoint(), KWinSession::outputSize);
        for (const QRect &frame : {maximised, probeFrame}) {
            tracker.event("fist_hold", hand);
            QVERIFY2(KWinSession::waitFor([&] { return KWinSession::frameOf(windowOf(kwin, "probe")) == frame; }),
                qPrintable(QJsonDocument(windowOf(kwin, "probe")).toJson()));
        }
    }
};

QTEST_GUILESS_MAIN(TestHudKWin)
#include "tst_hud_kwin.moc"
