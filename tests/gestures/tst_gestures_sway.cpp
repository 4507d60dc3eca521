// Hand gestures on a real headless sway: real UDP datagrams to the controller, the pointer
// driven through the compositor's virtual pointer into a native Wayland client that reports
// where it was clicked (right clicks here; pinches through the real binary in the HUD's sway
// test), a dropped stream that releases the button, and a native window maximised and
// restored over sway's IPC.

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QTest>
#include <QUdpSocket>

#include "GestureController.h"
#include "QtGestureDesktop.h"
#include "Scheduler.h"
#include "SwayDesktop.h"
#include "WaylandSession.h"
#include "WlrVirtualPointer.h"

Q_IMPORT_QML_PLUGIN(Halvic_GesturesPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)

using namespace halvic;
using testing::SwaySession;

namespace {

SwaySession *session = nullptr;
const QRect probeFrame(300, 200, 400, 300);

QByteArray datagram(const char *name, QPoint at)
{
    const QString hand = QStringLiteral(R"("hand":"R","x":%1,"y":%2)").arg(at.x() / 1920.0).arg(at.y() / 1080.0);
    return (qstrcmp(name, "hands") == 0 ? QStringLiteral(R"({"t":"hands","armed":true,"hands":[{%1}]})").arg(hand)
                                        : QStringLiteral(R"({"name":"%1",%2})").arg(QLatin1StringView(name), hand))
        .toUtf8();
}

/// The probe's window in sway's tree; an empty one while there is none.
sway::Window probe()
{
    const QList<sway::Window> windows = session->windows();
    const auto it = std::ranges::find(windows, QStringLiteral("probe"), &sway::Window::appId);
    return it == windows.end() ? sway::Window() : *it;
}

/// Waits until the probe's frame has held still for 300 ms: a client may answer an earlier
/// configure late, and sway lets a floating window take the size its client draws at.
bool settled()
{
    QRect last;
    QElapsedTimer still;
    return SwaySession::waitFor([&] {
        if (const QRect now = probe().frame; now != std::exchange(last, now))
            still.start();
        return still.isValid() && still.elapsed() > 300;
    });
}

} // namespace

class TestGesturesSway : public QObject
{
    Q_OBJECT

    void send(const QByteArray &bytes) { m_sender.writeDatagram(bytes, QHostAddress(QHostAddress::LocalHost), m_port); }
    QStringList reports() // the probe's so far: "press 1 100 100"
    {
        m_reports += QString::fromLatin1(m_probe->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        m_reports.removeAll(QStringLiteral("ready"));
        return m_reports;
    }

    QQmlEngine m_qml;
    QtScheduler m_scheduler;
    std::unique_ptr<SwayDesktop> m_desktop;
    std::unique_ptr<PointerSink> m_pointer;
    std::unique_ptr<WindowSystem> m_windows;
    std::optional<GestureController> m_controller;
    QUdpSocket m_sender;
    quint16 m_port = 0;
    QProcess *m_probe = nullptr;
    QStringList m_reports;

private slots:
    void initTestCase()
    {
        if (const QString why = SwaySession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(session->ok(), qPrintable(session->error()));
        m_qml.addImportPath(QStringLiteral("qrc:/"));
        m_desktop = SwayDesktop::open();
        QVERIFY(m_desktop);
        // One pointer for the whole run, ready before any client starts: a client learns that the seat has a
        // pointer when it appears, and misses the events sent before it has bound it.
        m_pointer = m_desktop->pointerSink();
        const auto *virtualPointer = dynamic_cast<const WlrVirtualPointer *>(m_pointer.get());
        QTRY_VERIFY(virtualPointer && virtualPointer->state() == WlrVirtualPointer::State::Ready);
        m_windows = m_desktop->windowSystem();
    }

    void init()
    {
        m_controller.emplace(m_scheduler, *m_pointer, *m_windows, qtGestureDesktop(m_qml, 0));
        m_controller->setEnabled(true);
        m_port = m_controller->listeningPort().value_or(0);
        QProcessEnvironment wayland;
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        m_probe = &session->startClient(
            qEnvironmentVariable("HALVIC_BINARY_DIR") + "/tests/wayland_probe", {"probe"}, wayland);
        QVERIFY(SwaySession::waitFor([] { return probe().id != 0; }));
        // Floating retiles, and the client may answer the tiled size late: once it holds still,
        // it gets its frame.
        session->ipc().command(QStringLiteral("[app_id=probe] floating enable, border none"));
        QVERIFY(settled());
        session->ipc().command(QStringLiteral("[app_id=probe] resize set 400 300, move absolute position 300 200"));
        QVERIFY(SwaySession::waitFor([] { return probe().frame == probeFrame; }));
        send(R"({"name":"arm"})");
        // sway answers with the new place before the client has drawn itself there: right clicks
        // in its corner until one arrives there (its "ready" line comes before).
        QVERIFY(SwaySession::waitFor([this] {
            const qsizetype before = reports().size();
            send(datagram("rclick", probeFrame.topLeft()));
            SwaySession::waitFor([&] { return reports().size() >= before + 2; }, 1000);
            return reports().value(reports().size() - 1) == QLatin1String("release 2 0 0");
        }));
        m_reports.clear();
    }

    void cleanup()
    {
        m_controller.reset();
        session->stopClients();
        QVERIFY(SwaySession::waitFor([] { return session->windows().isEmpty(); }));
    }

    void droppedStreamReleasesTheButton()
    {
        const QPoint at = probeFrame.topLeft() + QPoint(50, 50);
        send(datagram("hands", at));
        send(datagram("pinch_start", at));
        QTRY_COMPARE_WITH_TIMEOUT(reports(), QStringList{"press 1 50 50"}, 10000);
        // The tracker goes silent: the button comes up within the watchdog's time.
        QTRY_COMPARE_WITH_TIMEOUT(reports(), (QStringList{"press 1 50 50", "release 1 50 50"}), 3000);
    }

    void fistMaximisesAndRestoresANativeWindow()
    {
        const QRect original = probe().frame;
        send(datagram("fist_hold", original.center()));
        QTRY_COMPARE_WITH_TIMEOUT(probe().frame, QGuiApplication::primaryScreen()->availableGeometry(), 10000);
        QVERIFY(settled());
        send(datagram("fist_hold", original.center()));
        QTRY_COMPARE_WITH_TIMEOUT(probe().frame, original, 10000);
    }
};

int main(int argc, char **argv)
{
    SwaySession sway; // outlives the application, and stops the probe with itself
    session = &sway;
    if (sway.ok()) {
        qputenv("DISPLAY", sway.x11Display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("SWAYSOCK", sway.socketPath().toLocal8Bit());
        qputenv("WAYLAND_DISPLAY", (sway.runtimeDir() + u'/' + sway.waylandDisplay()).toLocal8Bit());
    }
    QGuiApplication app(argc, argv);
    TestGesturesSway test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gestures_sway.moc"
