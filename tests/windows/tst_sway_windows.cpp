// Window commands through the real "window" row on a real headless sway, for two native Wayland
// clients and an X11 one (on XWayland); frames, title bar and borders included, read over sway's IPC.

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "EventDispatcher.h"
#include "SwayWindowSystem.h"
#include "WaylandSession.h"
#include "WindowCommands.h"
#include "WindowLayout.h"

using namespace halvic;
using namespace Qt::StringLiterals;
using testing::SwaySession;

namespace {

SwaySession *session = nullptr; // main's

/// The frame each application's window should end with; a null one: closed.
using Frames = QMap<QString, QRect>;

/// Where the layout puts `region` of the screen inside `insets`: sway's pixels too (one output, scale 1).
QRect placed(const QJsonObject &insets = {}, const char *region = "full")
{
    const QRectF screen = QGuiApplication::primaryScreen()->availableGeometry();
    return layout::regionRect(region, layout::insetArea(screen, insets)).toRect();
}

/// The frame of the application's window (Wayland app id or X11 instance); a null one when gone.
QRect frameOf(const QString &app)
{
    const QList<sway::Window> all = session->windows();
    const auto it = std::ranges::find_if(all, [&](auto &w) { return w.appId == app || w.wmInstance == app; });
    return it == all.end() ? QRect() : it->frame;
}

} // namespace

class TestSwayWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (const QString why = SwaySession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(session->ok(), qPrintable("no sway for window tests: " + session->error()));
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(QPoint(), SwaySession::outputSize));
        m_commands.registerRows(m_dispatcher);
    }

    void init()
    {
        QProcessEnvironment wayland;
        wayland.insert("QT_QPA_PLATFORM", "wayland");
        for (const char *probe : {"probe-one", "probe-two"})
            session->startClient(qEnvironmentVariable("HALVIC_BINARY_DIR") + "/tests/wayland_probe", {probe}, wayland);
        session->startClient("xterm");
        // Tiled side by side and drawn at that size: a client still answering its first
        // configure when a command comes would take back the size the command gave it.
        QVERIFY(SwaySession::waitFor([] {
            const QList<sway::Window> all = session->windows();
            return all.size() == 3 && std::all_of(all.begin(), all.end(), [](const sway::Window &w) {
                return w.frame.width() == SwaySession::outputSize.width() / 3
                    && w.content.width() == w.frame.width() - 4;
            });
        }));
    }

    void cleanup()
    {
        session->stopClients();
        QVERIFY(SwaySession::waitFor([] { return session->windows().isEmpty(); }));
    }

    void commandsPlaceWindows_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<Frames>("frames");
        const QList<QRectF> columns = layout::tileColumns(3, placed({{"left_inset", 360}}));
        QTest::newRow("tile native and X11 windows in columns")
            << R"({"action":"tile","apps":["probe-one","xterm","probe-two"],"left_inset":360})"_ba
            << Frames{{"probe-one", columns.at(0).toRect()}, {"xterm", columns.at(1).toRect()},
                   {"probe-two", columns.at(2).toRect()}};
        QTest::newRow("arrange runs every item")
            << R"({"action":"arrange","layout":[{"mode":"fill","app":"probe-two","left_inset":100,"bottom_inset":580},)"
               R"({"mode":"move","app":"probe-one","region":"right","top_inset":500},)"
               R"({"app":"xterm","top_inset":500,"right_inset":960}]})"_ba
            << Frames{{"probe-two", placed({{"left_inset", 100}, {"bottom_inset", 580}})},
                   {"probe-one", placed({{"top_inset", 500}}, "right")},
                   {"xterm", placed({{"top_inset", 500}, {"right_inset", 960}})}};
        QTest::newRow("fill by name") << R"({"action":"fill","app":"Probe-One"})"_ba << Frames{{"probe-one", placed()}};
        QTest::newRow("move an X11 window by name") << R"({"action":"move","app":"XTerm","region":"bottom-half"})"_ba
                                                    << Frames{{"xterm", placed({}, "bottom-half")}};
        QTest::newRow("close") << R"({"action":"close","apps":["probe-two"]})"_ba << Frames{{"probe-two", QRect()}};
    }

    void commandsPlaceWindows()
    {
        QFETCH(QByteArray, command);
        QFETCH(Frames, frames);
        m_dispatcher.dispatch(R"({"type":"window","command":)" + command + '}');
        for (auto it = frames.cbegin(); it != frames.cend(); ++it)
            QTRY_COMPARE(frameOf(it.key()), *it);
        for (const char *app : {"probe-one", "probe-two", "xterm"}) // the others stay open
            QVERIFY(frames.contains(app) || !frameOf(app).isNull());
    }

private:
    EventDispatcher m_dispatcher;
    WindowCommands m_commands{std::make_unique<SwayWindowSystem>(session->socketPath())};
};

int main(int argc, char **argv)
{
    // sway and its XWayland, where the HUD's screens come from, live longer than the GUI application.
    SwaySession sway;
    session = &sway;
    qputenv("DISPLAY", sway.x11Display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", sway.ok() ? "xcb" : "offscreen");
    // No desktop entry renames a client, whatever is installed on the machine.
    const QTemporaryDir noEntries;
    qputenv("XDG_DATA_HOME", noEntries.path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noEntries.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    TestSwayWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sway_windows.moc"
