// The real HUD binary with hand gestures switched on by its engine: datagrams sent to the
// tracker's port on the loopback interface move the pointer of its desktop, a fist over a
// window of another program maximises and restores it, a fist over the HUD's own panel
// leaves the window behind it alone, and switching gestures off closes the port.

#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QUdpSocket>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

namespace {

constexpr quint16 trackerPort = 47831;

bool listening(const HudSession &session)
{
    const QByteArray sockets = runTool(session.environment(), QStringLiteral("ss"), {QStringLiteral("-uln")});
    return sockets.contains("127.0.0.1:" + QByteArray::number(trackerPort) + ' ');
}

QPoint pointer(const HudSession &session)
{
    const QString out = QString::fromLatin1(
        session.run(QStringLiteral("xdotool"), {QStringLiteral("getmouselocation"), QStringLiteral("--shell")}));
    const auto value = [&](const char *name) {
        return QRegularExpression(QLatin1StringView(name) + QStringLiteral("=(\\d+)")).match(out).captured(1).toInt();
    };
    return {value("X"), value("Y")};
}

/// Where the reticle windows the X server shows are.
QList<QRect> visibleReticles(const X11Session &x)
{
    QList<QRect> found;
    const QList<QByteArray> ids = x.run(QStringLiteral("xdotool"),
                                       {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--name"), QStringLiteral("^Hand reticle$")})
                                      .split('\n');
    for (const QByteArray &id : ids) {
        if (id.trimmed().isEmpty())
            continue;
        const QString info
            = QString::fromLatin1(x.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::fromLatin1(id)}));
        const auto field = [&](const char *name) {
            return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
                .match(info)
                .captured(1)
                .toInt();
        };
        found << QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
    }
    return found;
}

} // namespace

class GesturesEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;
    QUdpSocket tracker;
    QRect hud;

    void send(const QByteArray &datagram)
    {
        QCOMPARE(tracker.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), trackerPort), datagram.size());
    }
    void gesturesEvent(bool on)
    {
        session->feed({QJsonObject{{QStringLiteral("type"), QStringLiteral("gestures")}, {QStringLiteral("on"), on}}});
    }
    static QByteArray at(const char *name, QPointF p)
    {
        const QSizeF screen = HudSession::screenSize;
        return QStringLiteral(R"({"name":"%1","hand":"R","x":%2,"y":%3})")
            .arg(QLatin1StringView(name))
            .arg(p.x() / screen.width())
            .arg(p.y() / screen.height())
            .toUtf8();
    }

private slots:
    void initTestCase()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        QVERIFY2(!listening(*session), "another program holds the tracker's port");
        QVERIFY(session->startHud());
        // Read now: later the camera alert and the reticles are windows of the HUD too.
        hud = session->waitForHudGeometry([](const QRect &r) { return r.width() > 0; });
    }
    void cleanupTestCase() { session.reset(); }

    void handGesturesMenuItemSwitchesThemAndTellsTheEngine()
    {
        // First: switching gestures on shows the camera alert here (Xvfb has no camera), and
        // that modal alert would keep the menu from opening later.
        QVERIFY(!listening(*session));
        // Under Xvfb there is no tray: the HUD's "More" menu carries the item.
        QVERIFY(session->chooseFromMoreMenu(QStringLiteral("Hand Gestures")));
        QVERIFY(HudSession::waitFor([&] { return listening(*session); }, 10000));
        const QString written = session->root().controlFile(QStringLiteral("gestures.json"));
        QVERIFY(HudSession::waitFor([&] { return readJson(written).value(QStringLiteral("on")) == true; }, 5000));
        send(R"({"name":"arm"})");
        send(R"({"t":"hands","armed":true,"hands":[{"hand":"L","x":0.5,"y":0.25,"pose":"point"}]})");
        QVERIFY(HudSession::waitFor([&] { return pointer(*session) == QPoint(720, 225); }, 5000));
    }

    void engineSwitchesGesturesThatDriveThePointerAndWindows()
    {
        // Another program's window, partly behind the HUD.
        X11Session &x = session->x();
        x.startClient(QStringLiteral("xev"),
            {QStringLiteral("-geometry"), QStringLiteral("600x400+700+420"), QStringLiteral("-event"),
                QStringLiteral("button")});
        quint32 window = 0;
        QVERIFY(HudSession::waitFor(
            [&] {
                const QList<QByteArray> lines = x.run(QStringLiteral("wmctrl"), {QStringLiteral("-l")}).split('\n');
                for (const QByteArray &line : lines)
                    if (line.endsWith("Event Tester"))
                        window = line.split(' ').first().toUInt(nullptr, 16);
                return window != 0;
            },
            10000));
        std::optional<QRect> original;
        QVERIFY(HudSession::waitFor([&] { return (original = x.frame(window)) && original->intersects(hud); }, 5000));

        // The menu test left gestures on: the engine switches them off, then on.
        gesturesEvent(false);
        QVERIFY(HudSession::waitFor([&] { return !listening(*session); }, 10000));
        gesturesEvent(true);
        QVERIFY(HudSession::waitFor([&] { return listening(*session); }, 10000));

        send(R"({"name":"arm"})");
        send(R"({"t":"hands","armed":true,"hands":[{"hand":"R","x":0.25,"y":0.5,"pose":"point"}]})");
        QVERIFY(HudSession::waitFor([&] { return pointer(*session) == QPoint(360, 450); }, 5000));
        // The hand's reticle is on screen, centred under it.
        QVERIFY(HudSession::waitFor([&] { return visibleReticles(x).contains(QRect(342, 432, 36, 36)); }, 5000));

        // Over the HUD the fist does nothing, though xev lies behind it.
        const QPoint overHud = hud.center();
        QVERIFY(original->contains(overHud));
        send(at("fist_hold", overHud));
        QTest::qWait(500);
        QCOMPARE(x.frame(window).value_or(QRect()), *original);

        const QPoint overXev = original->topLeft() + QPoint(60, 60);
        send(at("fist_hold", overXev));
        QVERIFY(HudSession::waitFor(
            [&] { return x.frame(window).value_or(QRect()) == QRect(QPoint(0, 0), HudSession::screenSize); }, 5000));
        send(at("fist_hold", overXev));
        QVERIFY(HudSession::waitFor([&] { return x.frame(window).value_or(QRect()) == *original; }, 5000));

        gesturesEvent(false);
        QVERIFY(HudSession::waitFor([&] { return !listening(*session); }, 10000));
        send(R"({"t":"hands","armed":true,"hands":[{"hand":"R","x":0.75,"y":0.5,"pose":"point"}]})");
        QTest::qWait(300);
        QCOMPARE(pointer(*session), QPoint(360, 450));
    }
};

QTEST_GUILESS_MAIN(GesturesEndToEndTest)
#include "tst_gestures_e2e.moc"
