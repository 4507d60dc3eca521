// Window commands through the real "window" row against a real X server (Xvfb), a real
// window manager (openbox) and real X clients; geometry is read back with xwininfo/xprop.

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

#include "EventDispatcher.h"
#include "WindowCommands.h"
#include "WindowManager.h"
#include "X11Session.h"
#include "X11WindowSystem.h"

using namespace halvic;
using testing::X11Session;

namespace {

std::unique_ptr<X11Session> session;
std::unique_ptr<QTemporaryDir> dataHome;

QByteArray windowEvent(const QByteArray &command)
{
    return R"({"type":"window","command":)" + command + '}';
}

} // namespace

class TestX11Windows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fillTakesTheWholeUsableArea();
    void moveRegionsHonourInsetsAndOddWords_data();
    void moveRegionsHonourInsetsAndOddWords();
    void tileOfThreeLeavesTheLeftInsetFree();
    void tileLeavesTheColumnOfAMissingApplicationEmpty();
    void arrangeRunsEveryItem();
    void dockedHudKeepsItsEdgeOfTheMainScreenFree();
    void closeAsksTheApplicationToClose();
    void fullScreenWindowLeavesFullScreenFirst();
    void maximizedWindowIsRestoredAndMoved();
    void launchStartsADesktopEntryOnce();
    void moveItemLaunchesWhileTopLevelMoveDoesNot();
    void applicationNotInstalledDoesNothing();
    void destructionDuringALaunchWaitIsPrompt();
    void impossibleFrameExtentsAreIgnored();
    void launchedApplicationsGetNoneOfTheHudsStreams();

private:
    quint32 startAndFind(const QString &program, const QString &instanceDotClass, const QStringList &args = {});
    void send(const QByteArray &command);
    QRect usable() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    void writeEntry(const QString &id, const QByteArray &contents);
    qint64 pidOf(quint32 window) const;

    EventDispatcher m_dispatcher;
    std::unique_ptr<WindowCommands> m_commands;
    WindowManager *m_windows = nullptr;
    int m_finished = 0;
    QList<qint64> m_launchedPids;
};

void TestX11Windows::initTestCase()
{
    if (!session->ok())
        QFAIL(qPrintable(QStringLiteral("no X server for window tests: ") + session->error()));
    QVERIFY(X11WindowSystem::connect() != nullptr);
}

void TestX11Windows::init()
{
    m_commands = std::make_unique<WindowCommands>(X11WindowSystem::connect());
    m_commands->registerRows(m_dispatcher);
    m_windows = &m_commands->manager();
    // Counted on this thread: the signal comes from the worker.
    connect(
        m_windows, &WindowManager::commandFinished, this, [this] { ++m_finished; }, Qt::QueuedConnection);
}

void TestX11Windows::cleanup()
{
    m_commands.reset();
    m_windows = nullptr;
    session->stopClients();
    for (const qint64 pid : std::as_const(m_launchedPids))
        ::kill(pid_t(pid), SIGTERM);
    m_launchedPids.clear();
    // Let the window manager forget the windows before the next test lists clients.
    QTRY_COMPARE(session->windowCount(), 0);
}

quint32 TestX11Windows::startAndFind(const QString &program, const QString &instanceDotClass, const QStringList &args)
{
    session->startClient(program, args);
    std::optional<quint32> window;
    QElapsedTimer timer;
    timer.start();
    while (!(window = session->window(instanceDotClass)) && timer.elapsed() < 10000)
        QTest::qWait(50);
    if (!window)
        qWarning("%s did not show a window", qPrintable(program));
    return window.value_or(0);
}

void TestX11Windows::send(const QByteArray &command)
{
    const int before = m_finished;
    m_dispatcher.dispatch(windowEvent(command));
    QTRY_COMPARE_WITH_TIMEOUT(m_finished, before + 1, 15000);
}

void TestX11Windows::writeEntry(const QString &id, const QByteArray &contents)
{
    QDir(dataHome->path()).mkpath(QStringLiteral("applications"));
    QFile file(dataHome->filePath(QStringLiteral("applications/") + id + QStringLiteral(".desktop")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

qint64 TestX11Windows::pidOf(quint32 window) const
{
    const QByteArray out = session->property(window, "_NET_WM_PID");
    const qsizetype equals = out.indexOf('=');
    return equals < 0 ? 0 : out.mid(equals + 1).trimmed().toLongLong();
}

void TestX11Windows::fillTakesTheWholeUsableArea()
{
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    // Capital letter in the action, insets that a top-level fill ignores.
    send(R"({"action":"Fill","app":"xclock","left_inset":300,"top_inset":"40"})");
    QTRY_COMPARE(session->frame(clock), std::optional(usable()));
}

void TestX11Windows::moveRegionsHonourInsetsAndOddWords_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QRect>("expected");
    // 1920 x 1080 screen without panels.
    QTest::addRow("right half, capitals and a space, top and bottom insets")
        << QByteArray(R"({"action":"move","app":"xclock","region":"RIGHT-HALF ","top_inset":100,"bottom_inset":"50"})")
        << QRect(960, 100, 960, 930);
    QTest::addRow("left with a right inset")
        << QByteArray(R"({"action":"move","apps":["xclock"],"region":"left","right_inset":20})")
        << QRect(0, 0, 950, 1080);
    QTest::addRow("bottom half") << QByteArray(R"({"action":"move","app":"XClock","region":"bottom-half"})")
                                 << QRect(0, 540, 1920, 540);
    QTest::addRow("unknown region is the whole inset area")
        << QByteArray(R"({"action":"move","app":"xclock","region":"middle","left_inset":"100"})")
        << QRect(100, 0, 1820, 1080);
}

void TestX11Windows::moveRegionsHonourInsetsAndOddWords()
{
    QFETCH(QByteArray, command);
    QFETCH(QRect, expected);
    QCOMPARE(usable(), QRect(0, 0, 1920, 1080));
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    send(command);
    QTRY_COMPARE(session->frame(clock), std::optional(expected));
}

void TestX11Windows::tileOfThreeLeavesTheLeftInsetFree()
{
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    const quint32 eyes = startAndFind(QStringLiteral("xeyes"), QStringLiteral("xeyes.XEyes"));
    const quint32 logo = startAndFind(QStringLiteral("xlogo"), QStringLiteral("xlogo.XLogo"));
    send(R"({"action":"tile","apps":["xclock","xeyes","xlogo"],"left_inset":360})");
    // 1560 points left of the inset: three columns of 520 from x = 360.
    QTRY_COMPARE(session->frame(clock), std::optional(QRect(360, 0, 520, 1080)));
    QTRY_COMPARE(session->frame(eyes), std::optional(QRect(880, 0, 520, 1080)));
    QTRY_COMPARE(session->frame(logo), std::optional(QRect(1400, 0, 520, 1080)));
}

void TestX11Windows::tileLeavesTheColumnOfAMissingApplicationEmpty()
{
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    send(R"({"action":"tile","apps":["org.example.NotInstalled","xclock"]})");
    QTRY_COMPARE(session->frame(clock), std::optional(QRect(960, 0, 960, 1080)));
    QCOMPARE(session->windowCount(), 1);
}

void TestX11Windows::arrangeRunsEveryItem()
{
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    const quint32 eyes = startAndFind(QStringLiteral("xeyes"), QStringLiteral("xeyes.XEyes"));
    const quint32 logo = startAndFind(QStringLiteral("xlogo"), QStringLiteral("xlogo.XLogo"));
    // One display here, so "external" and index 0 name the same screen as "main".
    send(R"({"action":"arrange","layout":[
        {"mode":"FILL","app":"xclock","screen":"main","left_inset":100,"bottom_inset":580},
        {"mode":"move","app":"xeyes","region":"right","screen":"external","top_inset":500},
        {"app":"xlogo","screen":0,"top_inset":500,"right_inset":960}
    ]})");
    QTRY_COMPARE(session->frame(clock), std::optional(QRect(100, 0, 1820, 500)));
    QTRY_COMPARE(session->frame(eyes), std::optional(QRect(960, 500, 960, 580)));
    QTRY_COMPARE(session->frame(logo), std::optional(QRect(0, 500, 960, 580)));
}

void TestX11Windows::dockedHudKeepsItsEdgeOfTheMainScreenFree()
{
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    m_commands->setDockedStrip({true, 400, QStringLiteral("left")});
    send(R"({"action":"tile","app":"xclock","screen":"Main"})");
    QTRY_COMPARE(session->frame(clock), std::optional(QRect(400, 0, 1520, 1080)));
    // Its own left inset wins over the dock's.
    send(R"({"action":"move","app":"xclock","left_inset":0,"region":"left"})");
    QTRY_COMPARE(session->frame(clock), std::optional(QRect(0, 0, 960, 1080)));
    // Docked on the right at the strip's widest: its 760 points stay free on the right.
    m_commands->setDockedStrip({true, 760, QStringLiteral("right")});
    send(R"({"action":"tile","app":"xclock"})");
    QTRY_COMPARE(session->frame(clock), std::optional(QRect(0, 0, 1160, 1080)));
}

void TestX11Windows::closeAsksTheApplicationToClose()
{
    startAndFind(QStringLiteral("xeyes"), QStringLiteral("xeyes.XEyes"));
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    QVERIFY(clock);
    send(R"({"action":"close","apps":["xclock"]})");
    QTRY_VERIFY(!session->window(QStringLiteral("xclock.XClock")));
    QVERIFY(session->window(QStringLiteral("xeyes.XEyes")));
}

void TestX11Windows::fullScreenWindowLeavesFullScreenFirst()
{
    const quint32 eyes = startAndFind(QStringLiteral("xeyes"), QStringLiteral("xeyes.XEyes"));
    session->run(QStringLiteral("wmctrl"),
        {QStringLiteral("-i"), QStringLiteral("-r"), QString::number(eyes), QStringLiteral("-b"),
            QStringLiteral("add,fullscreen")});
    QTRY_VERIFY(session->property(eyes, "_NET_WM_STATE").contains("FULLSCREEN"));
    send(R"({"action":"move","app":"xeyes","region":"left","top_inset":80})");
    QTRY_COMPARE(session->frame(eyes), std::optional(QRect(0, 80, 960, 1000)));
    QVERIFY(!session->property(eyes, "_NET_WM_STATE").contains("FULLSCREEN"));
}

void TestX11Windows::maximizedWindowIsRestoredAndMoved()
{
    const quint32 logo = startAndFind(QStringLiteral("xlogo"), QStringLiteral("xlogo.XLogo"));
    session->run(QStringLiteral("wmctrl"),
        {QStringLiteral("-i"), QStringLiteral("-r"), QString::number(logo), QStringLiteral("-b"),
            QStringLiteral("add,maximized_vert,maximized_horz")});
    QTRY_VERIFY(session->property(logo, "_NET_WM_STATE").contains("MAXIMIZED_HORZ"));
    send(R"({"action":"move","app":"xlogo","region":"top"})");
    QTRY_COMPARE(session->frame(logo), std::optional(QRect(0, 0, 1920, 540)));
}

void TestX11Windows::launchStartsADesktopEntryOnce()
{
    writeEntry(QStringLiteral("halvic-test-clock"),
        "[Desktop Entry]\nType=Application\nName=Halvic Test Clock\nExec=xclock -name halvicclock %U\n");
    send(R"({"action":"launch","app":"halvic test clock"})");
    // The command ends only once the window is there (or 8 s have passed).
    const std::optional<quint32> window = session->window(QStringLiteral("halvicclock.XClock"));
    QVERIFY(window);
    m_launchedPids.append(pidOf(*window));
    // Running already: a second launch starts nothing new.
    send(R"({"action":"launch","app":"Halvic Test Clock"})");
    QCOMPARE(session->windowCount(), 1);
}

void TestX11Windows::moveItemLaunchesWhileTopLevelMoveDoesNot()
{
    writeEntry(QStringLiteral("halvic-test-logo"),
        "[Desktop Entry]\nType=Application\nName=Halvic Test Clock Two\nExec=xclock -name halvicclock2\n");
    send(R"({"action":"move","app":"Halvic Test Clock Two","region":"right"})");
    QCOMPARE(session->windowCount(), 0);

    send(R"({"action":"arrange","layout":[{"mode":"move","app":"Halvic Test Clock Two","region":"right"}]})");
    const std::optional<quint32> window = session->window(QStringLiteral("halvicclock2.XClock"));
    QVERIFY(window);
    m_launchedPids.append(pidOf(*window));
    QTRY_COMPARE(session->frame(*window), std::optional(QRect(960, 0, 960, 1080)));
}

void TestX11Windows::applicationNotInstalledDoesNothing()
{
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    const std::optional<QRect> before = session->frame(clock);
    send(R"({"action":"launch","apps":["org.example.NotInstalled","nosuchapplication"]})");
    send(R"({"action":"fill","app":"org.example.NotInstalled"})");
    send(R"({"action":"close","app":"nosuchapplication"})");
    QCOMPARE(session->windowCount(), 1);
    QCOMPARE(session->frame(clock), before);
}

void TestX11Windows::destructionDuringALaunchWaitIsPrompt()
{
    // A program that never shows a window keeps the launch waiting for 8 s.
    const QString pidFile = dataHome->filePath(QStringLiteral("sleeper.pid"));
    const QString script = dataHome->filePath(QStringLiteral("sleeper.sh"));
    {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\necho $$ > '" + pidFile.toUtf8() + "'\nexec sleep 30\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    writeEntry(QStringLiteral("halvic-sleeper"),
        "[Desktop Entry]\nType=Application\nName=Halvic Sleeper\nExec=" + script.toUtf8() + "\n");
    m_dispatcher.dispatch(windowEvent(R"({"action":"launch","app":"Halvic Sleeper"})"));
    QTRY_VERIFY(QFile::exists(pidFile) && QFile(pidFile).size() > 0);
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_launchedPids.append(file.readAll().trimmed().toLongLong());

    QElapsedTimer teardown;
    teardown.start();
    m_commands.reset();
    // Not a speed check: a teardown that waited for the launch would take its whole timeout.
    QVERIFY2(
        teardown.elapsed() < WindowManager::launchTimeout.count(), qPrintable(QString::number(teardown.elapsed())));
}

void TestX11Windows::impossibleFrameExtentsAreIgnored()
{
    // Any client may put any numbers on its own window; no X window is 2^31 pixels wide.
    const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
    QVERIFY(clock);
    const QString id = QStringLiteral("0x%1").arg(clock, 0, 16);
    session->run(QStringLiteral("xprop"),
        {QStringLiteral("-id"), id, QStringLiteral("-f"), QStringLiteral("_NET_FRAME_EXTENTS"), QStringLiteral("32c"),
            QStringLiteral("-set"), QStringLiteral("_NET_FRAME_EXTENTS"), QStringLiteral("2147483648,0,4294967295,0")});
    QTRY_VERIFY(session->property(clock, "_NET_FRAME_EXTENTS").contains("2147483648"));
    const QString info = QString::fromLatin1(session->run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
    const auto field = [&](const char *name) {
        return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
            .match(info)
            .captured(1)
            .toInt();
    };
    const QRect client(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
    QVERIFY(client.width() > 0 && client.height() > 0);
    // Without extents to believe, the frame is the client window itself.
    QCOMPARE(X11WindowSystem::connect()->frame(clock), std::optional(client));
}

void TestX11Windows::launchedApplicationsGetNoneOfTheHudsStreams()
{
    // What the started program finds as its standard input, output and error.
    const QString streamsFile = dataHome->filePath(QStringLiteral("streams.txt"));
    const QString script = dataHome->filePath(QStringLiteral("streams.sh"));
    {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        // Read in a command substitution, so that no redirection of the shell's own shows.
        file.write("#!/bin/sh\nstreams=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                   "printf '%s\\n' \"$streams\" > '"
            + streamsFile.toUtf8() + ".part'\nmv '" + streamsFile.toUtf8() + ".part' '" + streamsFile.toUtf8()
            + "'\nexec xclock -name halvicstreams\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    writeEntry(QStringLiteral("halvic-streams"),
        "[Desktop Entry]\nType=Application\nName=Halvic Streams\nExec=" + script.toUtf8() + "\n");
    send(R"({"action":"launch","app":"Halvic Streams"})");
    const std::optional<quint32> window = session->window(QStringLiteral("halvicstreams.XClock"));
    QVERIFY(window);
    m_launchedPids.append(pidOf(*window));
    QFile streams(streamsFile);
    QVERIFY(streams.open(QIODevice::ReadOnly));
    // Not the HUD's log streams: a program that outlives the HUD must not hold them open.
    QCOMPARE(streams.readAll(), QByteArray("/dev/null\n/dev/null\n/dev/null\n"));
}

int main(int argc, char **argv)
{
    // The X server must exist before the GUI application connects to it.
    session = std::make_unique<X11Session>();
    dataHome = std::make_unique<QTemporaryDir>();
    const QTemporaryDir noSystemEntries;
    if (session->ok()) {
        qputenv("DISPLAY", session->display());
        qputenv("XAUTHORITY", session->authority().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // Only the entries a test writes exist, whatever is installed on the machine.
    qputenv("XDG_DATA_HOME", dataHome->path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noSystemEntries.path().toLocal8Bit());
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        TestX11Windows test;
        result = QTest::qExec(&test, argc, argv);
    }
    session.reset();
    dataHome.reset();
    return result;
}

#include "tst_x11windows.moc"
