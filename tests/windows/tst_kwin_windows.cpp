// Window commands on KWin: the script's answers in both Plasma shapes, read as a table; then
// the real "window" row on a real headless KWin for native Wayland clients and X11 ones (on
// XWayland), frames read back through a query script of KWin's own; and KWin refusing its
// fake input to a program without a desktop entry that asks for it.

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "EventDispatcher.h"
#include "KWinFakePointer.h"
#include "KWinSession.h"
#include "KWinWindowSystem.h"
#include "WindowCommandRows.h"
#include "WindowCommands.h"

using namespace halvic;
using namespace Qt::StringLiterals;
using testing::KWinSession;

using testing::Frames;
using testing::placed;

namespace {

KWinSession *session = nullptr; // main's

/// The frame KWin gives the window of an application (Wayland app id or X11 class); a null
/// one when it has none.
QRect frameOf(const QString &app)
{
    return KWinSession::frameOf(session->window([&](const QJsonObject &w) { return w[u"resourceClass"] == app; }));
}

} // namespace

class TestKWinWindows : public QObject
{
    Q_OBJECT

private slots:
    void scriptAnswersRead_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("introspection"); // of /Scripting, where Plasma 6 puts script 7
        QTest::addColumn<QString>("path");
        // An X11 window (its WM_CLASS as KWin keeps it), a native one, a panel, and one of ours (pid 1).
        const QByteArray windows = R"([
            {"id":2,"pid":20,"windowId":4194316,"resourceClass":"xterm","resourceName":"xterm","caption":"xterm",
             "frame":{"x":0,"y":0,"width":500,"height":400},"stacking":3,"normal":true,%1},
            {"id":1,"pid":10,"windowId":0,"resourceClass":"org.kde.dolphin","desktopFileName":"org.kde.dolphin",
             "frame":{"x":100,"y":100,"width":500,"height":400},"stacking":4,"normal":true,%1},
            {"id":3,"pid":30,"resourceClass":"plasmashell","frame":{"x":0,"y":0,"width":1920,"height":1080},
             "stacking":9,"normal":false,%1},
            {"id":4,"pid":1,"resourceClass":"halvic-hud","frame":{"x":0,"y":0,"width":900,"height":900},
             "stacking":8,"normal":true,%1},
            {"id":0,"pid":5},"not a window"])";
        QTest::newRow("Plasma 5.27") << QByteArray(windows).replace("%1", R"("screen":1)") << "1"
                                     << R"(<node><interface name="org.kde.kwin.Scripting"/></node>)"
                                     << "/7";
        QTest::newRow("Plasma 6") << QByteArray(windows).replace("%1", R"("output":"DP-2")") << "DP-2"
                                  << R"(<node><node name="Script12"/><node name="Script7"/></node>)"
                                  << "/Scripting/Script7";
    }

    void scriptAnswersRead()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, output);
        QFETCH(QString, introspection);
        QFETCH(QString, path);
        const QList<kwin::Window> windows = kwin::windowsOf(QJsonDocument::fromJson(answer).array());
        QCOMPARE(windows.size(), 4);
        QCOMPARE(windows.first().output, output);
        QStringList found;
        for (const apps::RunningApp &app : runningApplicationsOf(windows, 1))
            found << u"%1/%2"_s.arg(app.appId).arg(app.pid);
        QCOMPARE(found, (QStringList{"org.kde.dolphin/10", "xterm/20"}));
        // Panels and our own windows are never what a fist takes, however far in front.
        QCOMPARE(frontmostOf(windows, QPoint(150, 150), 1), std::optional<WindowId>(1));
        QCOMPARE(kwin::scriptObjectPath(introspection, 7), path);
    }

    void commandsPlaceWindows_data() { testing::addWindowCommandRows("wayland_probe"); }

    void commandsPlaceWindows()
    {
        QFETCH(QByteArray, command);
        QFETCH(Frames, frames);
        QProcessEnvironment wayland;
        wayland.insert("QT_QPA_PLATFORM", "wayland");
        for (const char *probe : {"probe-one", "probe-two"})
            session->startClient(qEnvironmentVariable("HALVIC_BINARY_DIR") + "/tests/wayland_probe", {probe}, wayland);
        // An X11 client without size increments (KWin honours xterm's), named by its WM_CLASS.
        QProcessEnvironment x11;
        x11.insert("QT_QPA_PLATFORM", "xcb");
        session->startClient(qEnvironmentVariable("HALVIC_BINARY_DIR") + "/tests/wayland_probe", {"probe-x11"}, x11);
        QVERIFY(KWinSession::waitFor([] { return session->windows().size() == 3; }));
        m_dispatcher.dispatch(R"({"type":"window","command":)" + command + '}');
        for (auto it = frames.cbegin(); it != frames.cend(); ++it)
            QVERIFY2(KWinSession::waitFor([&] { return frameOf(it.key()) == *it; }),
                qPrintable(it.key() + QDebug::toString(frameOf(it.key()))));
        for (const char *app : {"probe-one", "probe-two", "wayland_probe"}) // the others stay open
            QVERIFY(frames.contains(app) || !frameOf(app).isNull());
        session->stopClients();
        QVERIFY(KWinSession::waitFor([] { return session->windows().isEmpty(); }));
    }

    void pointerRefusedWithoutDesktopEntry()
    {
        struct Recorder final : PointerSink
        {
            void post(const PointerEvent &event) override { events.push_back(event); }
            std::vector<PointerEvent> events;
        };
        auto fallback = std::make_unique<Recorder>();
        const Recorder &recorded = *fallback;
        std::atomic<int> refusals = 0;
        KWinFakePointer pointer(QFile::encodeName(session->runtimeDir() + u'/' + session->waylandDisplay()), 1.0,
            std::move(fallback), [&] { ++refusals; });
        QTRY_VERIFY_WITH_TIMEOUT(pointer.state() == WaylandPointer::State::Unavailable, 10000);
        const PointerEvent click{PointerEvent::Type::LeftDown, {10, 20}};
        pointer.post(click);
        QCOMPARE(recorded.events, std::vector{click});
        QCOMPARE(refusals.load(), 1);
    }

    void initTestCase()
    {
        if (const QString why = KWinSession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(session->ok(), qPrintable("no KWin for window tests: " + session->error()));
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(QPoint(), KWinSession::outputSize));
        m_commands.registerRows(m_dispatcher);
    }

private:
    EventDispatcher m_dispatcher;
    WindowCommands m_commands{
        std::make_unique<KWinWindowSystem>(std::make_shared<kwin::Script>(session->busAddress()))};
};

int main(int argc, char **argv)
{
    // KWin and its XWayland, where the screens come from, live longer than the GUI application.
    KWinSession kwin;
    session = &kwin;
    qputenv("DISPLAY", kwin.x11Display().toLocal8Bit());
    qputenv("XAUTHORITY", kwin.x11Authority().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", kwin.ok() ? "xcb" : "offscreen");
    // No desktop entry renames a client, whatever is installed on the machine.
    const QTemporaryDir noEntries;
    qputenv("XDG_DATA_HOME", noEntries.path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noEntries.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    TestKWinWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kwin_windows.moc"
