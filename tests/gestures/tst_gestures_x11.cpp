// Hand gestures on a real desktop: a private Xvfb with openbox, real UDP datagrams to the
// controller's loopback port, the pointer moved through XTest and read back from the X
// server, clicks counted by a real X client (xev), windows maximised through the window
// manager, and the reticles as real overlay windows.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QNetworkInterface>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <QWindow>

#include <atomic>
#include <memory>

#include "GestureController.h"
#include "QtGestureDesktop.h"
#include "Scheduler.h"
#include "X11Session.h"
#include "X11WindowSystem.h"
#include "XTestPointerSink.h"

// Last: Xlib defines macros (None, Bool, Status) that Qt headers use as names.
#include <X11/Xlib.h>

Q_IMPORT_QML_PLUGIN(Halvic_GesturesPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)

using namespace halvic;
using testing::X11Session;

namespace {

std::unique_ptr<X11Session> session;

struct PointerState
{
    QPoint position;
    bool leftHeld = false;
};

/// Whether top-level `upper` is stacked above the top-level frame that holds `lower`.
bool stackedAbove(quint32 upper, quint32 lower)
{
    Display *display = XOpenDisplay(session->display().constData());
    if (!display)
        return false;
    const Window rootWindow = DefaultRootWindow(display);
    // The child of the root that holds `lower`: its window manager frame.
    Window frame = lower;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, frame, &root, &parent, &children, &count))
            break;
        if (children)
            XFree(children);
        if (parent == rootWindow || parent == 0)
            break;
        frame = parent;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    int upperAt = -1, lowerAt = -1;
    if (XQueryTree(display, rootWindow, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            if (children[i] == upper)
                upperAt = int(i);
            if (children[i] == frame)
                lowerAt = int(i);
        }
        if (children)
            XFree(children);
    }
    XCloseDisplay(display);
    return upperAt >= 0 && lowerAt >= 0 && upperAt > lowerAt;
}

/// Straight from the X server, as any client would see it.
PointerState queryPointer()
{
    Display *display = XOpenDisplay(session->display().constData());
    if (!display)
        return {};
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX, &winY, &mask);
    XCloseDisplay(display);
    return {{rootX, rootY}, (mask & Button1Mask) != 0};
}

QByteArray handsAt(double x, double y, const char *pose = "point")
{
    return QStringLiteral(R"({"t":"hands","armed":true,"hands":[{"hand":"R","x":%1,"y":%2,"pose":"%3"}]})")
        .arg(x)
        .arg(y)
        .arg(QLatin1StringView(pose))
        .toUtf8();
}

QByteArray eventAt(const char *name, double x, double y)
{
    return QStringLiteral(R"({"name":"%1","hand":"R","x":%2,"y":%3})")
        .arg(QLatin1StringView(name))
        .arg(x)
        .arg(y)
        .toUtf8();
}

} // namespace

class TestGesturesX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listensOnLoopbackOnly();
    void datagramsMoveTheRealPointer_data();
    void datagramsMoveTheRealPointer();
    void pinchClicksThroughTheReticleIntoAWindow();
    void droppedStreamReleasesTheButton();
    void fistMaximisesAndRestoresARealWindow();
    void ninthSenderPushesOutTheOldest();
    void portTakenLeavesGesturesSilentlyInactive();
    void floodLeavesTheLoopResponsiveAndNoButtonHeld();

private:
    void send(const QByteArray &datagram);
    /// Starts xev at `frame` (client area) and returns its window and output.
    std::pair<quint32, QProcess *> startCounter(QRect frame);
    int presses(QProcess &xev, const char *kind);

    QQmlEngine m_qml;
    QtScheduler m_scheduler;
    std::unique_ptr<PointerSink> m_pointer;
    std::unique_ptr<WindowSystem> m_windows;
    std::unique_ptr<GestureController> m_controller;
    QUdpSocket m_sender;
    quint16 m_port = 0;
    QSize m_screen;
    QByteArray m_xevOutput;
};

void TestGesturesX11::initTestCase()
{
    if (!session->ok())
        QFAIL(qPrintable(QStringLiteral("no X server for gesture tests: ") + session->error()));
    // The modules are compiled in under qrc:/<URI path>.
    m_qml.addImportPath(QStringLiteral("qrc:/"));
    m_screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(m_screen, QSize(1280, 800));
}

void TestGesturesX11::init()
{
    // A reticle whose view does not load is a failure, not a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("qrc:/Halvic")));
    m_pointer = XTestPointerSink::connect(session->display());
    QVERIFY(m_pointer);
    m_windows = X11WindowSystem::connect(session->display());
    QVERIFY(m_windows);
    // Port 0: a free port of the loopback interface, so tests never collide with a HUD.
    m_controller = std::make_unique<GestureController>(m_scheduler, *m_pointer, *m_windows, qtGestureDesktop(m_qml, 0));
    m_controller->setEnabled(true);
    QVERIFY(m_controller->listeningPort());
    m_port = *m_controller->listeningPort();
    m_xevOutput.clear();
}

void TestGesturesX11::cleanup()
{
    m_controller.reset();
    m_windows.reset();
    m_pointer.reset();
    session->stopClients();
}

void TestGesturesX11::send(const QByteArray &datagram)
{
    QCOMPARE(m_sender.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), m_port), datagram.size());
}

std::pair<quint32, QProcess *> TestGesturesX11::startCounter(QRect frame)
{
    QProcess &xev = session->startClient(QStringLiteral("xev"),
        {QStringLiteral("-geometry"),
            QStringLiteral("%1x%2+%3+%4").arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y()),
            QStringLiteral("-event"), QStringLiteral("button")});
    quint32 window = 0;
    QElapsedTimer timer;
    timer.start();
    while (!window && timer.elapsed() < 10000) {
        const QList<QByteArray> lines = session->run(QStringLiteral("wmctrl"), {QStringLiteral("-l")}).split('\n');
        for (const QByteArray &line : lines)
            if (line.endsWith("Event Tester"))
                window = line.split(' ').first().toUInt(nullptr, 16);
        if (!window)
            QTest::qWait(50);
    }
    return {window, &xev};
}

int TestGesturesX11::presses(QProcess &xev, const char *kind)
{
    m_xevOutput += xev.readAllStandardOutput();
    return int(m_xevOutput.count(kind));
}

void TestGesturesX11::listensOnLoopbackOnly()
{
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    const auto outside = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress &address) {
        return address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback();
    });
    // What the controller bound: check with the kernel's own view of the socket.
    const QString sockets = QString::fromLatin1(
        testing::runTool(QProcessEnvironment::systemEnvironment(), QStringLiteral("ss"), {QStringLiteral("-uln")}));
    QVERIFY2(sockets.contains(QStringLiteral("127.0.0.1:%1 ").arg(m_port)), qPrintable(sockets));
    QVERIFY(!sockets.contains(QStringLiteral("0.0.0.0:%1 ").arg(m_port)));
    QVERIFY(!sockets.contains(QStringLiteral("*:%1 ").arg(m_port)));
    if (outside != addresses.end()) {
        // Sent to this host's other address, a datagram never reaches the port.
        send(R"({"name":"arm"})");
        QUdpSocket stranger;
        stranger.writeDatagram(handsAt(0.9, 0.9), *outside, m_port);
        QTest::qWait(300);
        QVERIFY(queryPointer().position != QPoint(1152, 720));
    }
}

void TestGesturesX11::datagramsMoveTheRealPointer_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QPoint>("expected");
    QTest::addRow("quarter") << 0.25 << 0.5 << QPoint(320, 400);
    QTest::addRow("corner") << 1.0 << 1.0 << QPoint(1279, 799);
    QTest::addRow("near origin") << 0.01 << 0.02 << QPoint(13, 16);
}

void TestGesturesX11::datagramsMoveTheRealPointer()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QPoint, expected);
    send(R"({"name":"arm"})");
    send(handsAt(x, y));
    QTRY_COMPARE(queryPointer().position, expected);
    // The reticle sits centred under the hand, on screen.
    const QWindowList windows = QGuiApplication::topLevelWindows();
    const auto reticle = std::find_if(windows.begin(), windows.end(), [&](QWindow *window) {
        return window->isVisible() && window->title() == QLatin1StringView("Hand reticle")
            && (window->geometry().center() - QPoint(int(x * 1280), int(y * 800))).manhattanLength() <= 3;
    });
    QVERIFY(reticle != windows.end());
    QCOMPARE((*reticle)->geometry().size(), QSize(36, 36));
    QVERIFY((*reticle)->flags().testFlag(Qt::WindowTransparentForInput));
}

void TestGesturesX11::pinchClicksThroughTheReticleIntoAWindow()
{
    auto [window, xev] = startCounter({300, 200, 400, 300});
    QVERIFY(window);
    const int before = presses(*xev, "ButtonPress");
    // (500, 400) is inside xev's window; the hand's reticle is drawn right there first.
    send(R"({"name":"arm"})");
    send(handsAt(500.0 / 1280, 0.5, "pinch"));
    QTRY_COMPARE(queryPointer().position, QPoint(500, 400));
    // The reticle is on top of xev's window where the hand is (a new window may still be
    // raised by the window manager: the hand's next moves bring the reticle back on top).
    const auto reticleAbove = [&](quint32 below) {
        const QWindowList windows = QGuiApplication::topLevelWindows();
        const auto reticle = std::find_if(windows.begin(), windows.end(),
            [](QWindow *w) { return w->isExposed() && w->geometry().contains(QPoint(500, 400)); });
        return reticle != windows.end() && stackedAbove(quint32((*reticle)->winId()), below);
    };
    double nudge = 0;
    QTRY_VERIFY((send(handsAt((500.0 + (nudge = 0.4 - nudge)) / 1280, 0.5, "pinch")), reticleAbove(window)));
    send(eventAt("pinch_start", 500.0 / 1280, 0.5));
    send(eventAt("pinch_move", 505.0 / 1280, 0.5));
    send(eventAt("pinch_end", 506.0 / 1280, 0.5));
    QTRY_COMPARE(presses(*xev, "ButtonPress"), before + 1);
    QTRY_COMPARE(presses(*xev, "ButtonRelease"), before + 1);
    QVERIFY(!queryPointer().leftHeld);
    QCOMPARE(queryPointer().position, QPoint(500, 400));

    send(eventAt("rclick", 520.0 / 1280, 0.5));
    QTRY_COMPARE(presses(*xev, "button 3"), 2);
}

void TestGesturesX11::droppedStreamReleasesTheButton()
{
    send(R"({"name":"arm"})");
    send(handsAt(0.5, 0.5, "pinch"));
    send(eventAt("pinch_start", 0.5, 0.5));
    send(eventAt("pinch_move", 0.6, 0.5));
    // The tracker goes silent mid-drag: the watchdog lets go within its time, counted from
    // the last datagram (a slow machine only lengthens what is measured from its sending).
    QElapsedTimer silence;
    silence.start();
    QTRY_VERIFY(queryPointer().leftHeld);
    QCOMPARE(queryPointer().position, QPoint(768, 400));
    QTRY_VERIFY_WITH_TIMEOUT(!queryPointer().leftHeld, 3000);
    QVERIFY(silence.elapsed() >= 400);
    QCOMPARE(queryPointer().position, QPoint(768, 400));
}

void TestGesturesX11::fistMaximisesAndRestoresARealWindow()
{
    auto [window, xev] = startCounter({200, 150, 300, 200});
    QVERIFY(window);
    std::optional<QRect> original;
    QTRY_VERIFY((original = session->frame(window)) && original->contains(QPoint(300, 250)));
    const QRect usable = QGuiApplication::primaryScreen()->availableGeometry();
    send(R"({"name":"arm"})");
    send(eventAt("fist_hold", 300.0 / 1280, 250.0 / 800));
    QTRY_COMPARE(session->frame(window).value_or(QRect()), usable);
    send(eventAt("fist_hold", 300.0 / 1280, 250.0 / 800));
    QTRY_COMPARE(session->frame(window).value_or(QRect()), *original);
    // A fist where no window is does nothing.
    send(eventAt("fist_hold", 0.9, 0.9));
    QTest::qWait(200);
    QCOMPARE(session->frame(window).value_or(QRect()), *original);
}

void TestGesturesX11::ninthSenderPushesOutTheOldest()
{
    std::vector<std::unique_ptr<QUdpSocket>> senders;
    QStringList ports;
    for (int i = 0; i < 9; ++i) {
        auto socket = std::make_unique<QUdpSocket>();
        QVERIFY(socket->bind(QHostAddress(QHostAddress::LocalHost), 0));
        ports << QStringLiteral("127.0.0.1:%1").arg(socket->localPort());
        socket->writeDatagram(QByteArrayLiteral(R"({"name":"ready"})"), QHostAddress(QHostAddress::LocalHost), m_port);
        senders.push_back(std::move(socket));
        QTRY_VERIFY(m_controller->senders().contains(ports.last()));
    }
    QCOMPARE(m_controller->senders(), ports.mid(1));
}

void TestGesturesX11::floodLeavesTheLoopResponsiveAndNoButtonHeld()
{
    send(R"({"name":"arm"})");
    send(eventAt("pinch_start", 0.5, 0.5));
    QTRY_VERIFY(queryPointer().leftHeld);

    // 50,000 datagrams a second for a second, from another thread: hands frames with junk,
    // malformed data and pinch events among them.
    std::atomic<bool> done = false;
    std::atomic<int> sent = 0;
    const quint16 port = m_port;
    std::unique_ptr<QThread> flood(QThread::create([&done, &sent, port] {
        QUdpSocket socket;
        const QList<QByteArray> kinds{handsAt(0.3, 0.3, "pinch"), QByteArrayLiteral("{\"t\":\"hands\",\"hands\":[{"),
            eventAt("pinch_move", 0.7, 0.7), QByteArrayLiteral("\xff\xfe"), handsAt(0.4, 0.6)};
        QElapsedTimer clock;
        clock.start();
        int i = 0;
        while (clock.elapsed() < 1000) {
            // 50 datagrams a millisecond.
            while (i < clock.elapsed() * 50) {
                socket.writeDatagram(kinds.at(i % kinds.size()), QHostAddress(QHostAddress::LocalHost), port);
                ++i;
            }
            QThread::usleep(200);
        }
        sent = i;
        done = true;
    }));
    flood->start();

    // The main loop keeps turning: the largest gap between 10 ms ticks stays small.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, worst = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] {
        worst = std::max(worst, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    flood->wait();
    tick.stop();
    qInfo("flood: %d datagrams sent, longest main-loop gap %lld ms", int(sent), worst);
    QVERIFY(sent >= 40000);
    QVERIFY2(worst < 500, qPrintable(QString::number(worst)));
    // The stream ended mid-drag: the button comes up.
    QTRY_VERIFY_WITH_TIMEOUT(!queryPointer().leftHeld, 3000);
    QVERIFY(!m_controller->owner());
    // And the listener still hears the tracker.
    send(handsAt(0.1, 0.1));
    QTRY_COMPARE(queryPointer().position, QPoint(128, 80));
}

void TestGesturesX11::portTakenLeavesGesturesSilentlyInactive()
{
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress(QHostAddress::LocalHost), 0, QAbstractSocket::DontShareAddress));
    GestureController other(m_scheduler, *m_pointer, *m_windows, qtGestureDesktop(m_qml, holder.localPort()));
    other.setEnabled(true);
    QVERIFY(other.isEnabled());
    QVERIFY(!other.listeningPort());
    other.setEnabled(false);
}

int main(int argc, char **argv)
{
    // The X server must exist before the GUI application connects to it.
    session = std::make_unique<X11Session>(QSize(1280, 800));
    if (session->ok()) {
        qputenv("DISPLAY", session->display());
        qputenv("XAUTHORITY", session->authority().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        TestGesturesX11 test;
        result = QTest::qExec(&test, argc, argv);
    }
    session.reset();
    return result;
}

#include "tst_gestures_x11.moc"
