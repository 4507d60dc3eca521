// Window commands through the real "window" row against a real headless sway: two native
// Wayland clients and an X11 one (on XWayland). Frames are read back over sway's IPC; a frame
// is the container with its title bar and borders, as on X11 it is the window with its
// decorations.

#include <QGuiApplication>
#include <QJsonDocument>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "EventDispatcher.h"
#include "SwaySession.h"
#include "SwayWindowSystem.h"
#include "WindowCommands.h"
#include "WindowLayout.h"
#include "WindowManager.h"

using namespace halvic;
using testing::SwaySession;

namespace {

std::unique_ptr<SwaySession> session;

const QString one = QStringLiteral("probe-one");
const QString two = QStringLiteral("probe-two");
const QString xterm = QStringLiteral("xterm");

/// Where the layout puts a rectangle of the primary screen, in sway's pixels.
QRect native(const QRectF &rect)
{
    const QRectF usable = QGuiApplication::primaryScreen()->availableGeometry();
    return layout::toNative(rect, ScreenInfo{0, {}, {}, usable, usable, false, true, 0, 1.0});
}

QRectF area(const QJsonObject &insets)
{
    return layout::insetArea(QGuiApplication::primaryScreen()->availableGeometry(), insets);
}

/// The frame of the application's window (Wayland app id or X11 instance); none when gone.
std::optional<QRect> frameOf(const QString &app)
{
    for (const sway::Window &w : session->windows()) {
        if (w.appId == app || w.wmInstance == app)
            return w.frame;
    }
    return std::nullopt;
}

} // namespace

class TestSwayWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tilePlacesNativeAndX11WindowsInColumns();
    void arrangeRunsEveryItem();
    void fillAndMoveFindWindowsByName();
    void closeClosesANativeClient();

private:
    void send(const QByteArray &command);

    EventDispatcher m_dispatcher;
    std::unique_ptr<WindowCommands> m_commands;
    int m_finished = 0;
};

void TestSwayWindows::initTestCase()
{
    if (const QString why = SwaySession::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    if (!session->ok())
        QFAIL(qPrintable(QStringLiteral("no sway for window tests: ") + session->error()));
    QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(QPoint(), SwaySession::outputSize));
}

void TestSwayWindows::init()
{
    const QString probe = qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/tests/wayland_probe");
    const QProcessEnvironment wayland = [] {
        QProcessEnvironment env;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        return env;
    }();
    session->startAsUser(probe, {one}, wayland);
    session->startAsUser(probe, {two}, wayland);
    session->startAsUser(xterm);
    // Tiled side by side and drawn at that size: a client still answering its first
    // configure when a command comes would take back the size the command gave it.
    QVERIFY(SwaySession::waitFor([] {
        const QList<sway::Window> all = session->windows();
        return all.size() == 3 && std::all_of(all.begin(), all.end(), [](const sway::Window &w) {
            return w.frame.width() == SwaySession::outputSize.width() / 3 && w.content.width() == w.frame.width() - 4;
        });
    }));

    m_commands = std::make_unique<WindowCommands>(std::make_unique<SwayWindowSystem>(session->socketPath()));
    m_commands->registerRows(m_dispatcher);
    // Counted on this thread: the signal comes from the worker.
    connect(
        &m_commands->manager(), &WindowManager::commandFinished, this, [this] { ++m_finished; }, Qt::QueuedConnection);
}

void TestSwayWindows::cleanup()
{
    m_commands.reset();
    session->stopClients();
    QVERIFY(SwaySession::waitFor([] { return session->windows().isEmpty(); }));
}

void TestSwayWindows::send(const QByteArray &command)
{
    const int before = m_finished;
    m_dispatcher.dispatch(QByteArray(R"({"type":"window","command":)" + command + '}'));
    QTRY_COMPARE_WITH_TIMEOUT(m_finished, before + 1, 15000);
}

void TestSwayWindows::tilePlacesNativeAndX11WindowsInColumns()
{
    send(R"({"action":"tile","apps":["probe-one","xterm","probe-two"],"left_inset":360})");
    const QList<QRectF> columns = layout::tileColumns(3, area({{QStringLiteral("left_inset"), 360}}));
    QTRY_COMPARE(frameOf(one), std::optional(native(columns.at(0))));
    QTRY_COMPARE(frameOf(xterm), std::optional(native(columns.at(1))));
    QTRY_COMPARE(frameOf(two), std::optional(native(columns.at(2))));
}

void TestSwayWindows::arrangeRunsEveryItem()
{
    send(R"({"action":"arrange","layout":[
        {"mode":"fill","app":"probe-two","left_inset":100,"bottom_inset":580},
        {"mode":"move","app":"probe-one","region":"right","top_inset":500},
        {"app":"xterm","top_inset":500,"right_inset":960}
    ]})");
    const QJsonObject lower{{QStringLiteral("top_inset"), 500}};
    QTRY_COMPARE(frameOf(two),
        std::optional(native(area({{QStringLiteral("left_inset"), 100}, {QStringLiteral("bottom_inset"), 580}}))));
    QTRY_COMPARE(frameOf(one), std::optional(native(layout::regionRect(QStringLiteral("right"), area(lower)))));
    QTRY_COMPARE(frameOf(xterm),
        std::optional(native(area({{QStringLiteral("top_inset"), 500}, {QStringLiteral("right_inset"), 960}}))));
}

void TestSwayWindows::fillAndMoveFindWindowsByName()
{
    send(R"({"action":"fill","app":"Probe-One"})");
    QTRY_COMPARE(frameOf(one), std::optional(native(area({}))));
    send(R"({"action":"move","app":"XTerm","region":"bottom-half"})");
    QTRY_COMPARE(frameOf(xterm), std::optional(native(layout::regionRect(QStringLiteral("bottom-half"), area({})))));
}

void TestSwayWindows::closeClosesANativeClient()
{
    send(R"({"action":"close","apps":["probe-two"]})");
    QTRY_VERIFY(!frameOf(two));
    QVERIFY(frameOf(one) && frameOf(xterm));
}

int main(int argc, char **argv)
{
    // sway and its XWayland must exist before the GUI application connects to it: the HUD's
    // screens come from XWayland, as here.
    session = std::make_unique<SwaySession>();
    const QTemporaryDir noEntries;
    if (session->ok()) {
        qputenv("DISPLAY", session->x11Display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // No desktop entry renames a client, whatever is installed on the machine.
    qputenv("XDG_DATA_HOME", noEntries.path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noEntries.path().toLocal8Bit());
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        TestSwayWindows test;
        result = QTest::qExec(&test, argc, argv);
    }
    session.reset();
    return result;
}

#include "tst_sway_windows.moc"
