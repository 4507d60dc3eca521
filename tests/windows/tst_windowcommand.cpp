// The "window" row where window control is not available: one plain line, nothing else; and
// a command that is not an object is no command; where it reaches only some applications, that
// is said once; a command that waits holds up only later
// commands on its own application.

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <mutex>

#include "EventDispatcher.h"
#include "WindowCommands.h"
#include "WindowManager.h"

using namespace halvic;

namespace {
/// "Other" runs with window 11, "Slow" without a window until the test shows one (22); the
/// windows closed are logged in order.
struct GatedDesktop final : NullWindowSystem
{
    std::atomic<bool> shown = false;
    std::mutex mutex;
    QStringList log;

    void note(const QString &line)
    {
        const std::lock_guard lock(mutex);
        log << line;
    }
    QList<apps::RunningApp> runningApplications() override
    {
        return {{1, "Other", {}, {}, {}, {11}}, {2, "Slow", {}, {}, {}, shown ? QList<quint32>{22} : QList<quint32>{}}};
    }
    std::optional<WindowId> primaryWindow(const apps::RunningApp &app) override
    {
        return app.windows.isEmpty() ? std::nullopt : std::optional(app.windows.front());
    }
    void close(WindowId window) override { note(QString::number(window)); }
};
} // namespace

class TestWindowCommand : public QObject
{
    Q_OBJECT

private slots:
    void unavailableDesktopSaysSoOnce_data();
    void unavailableDesktopSaysSoOnce();
    void aPartlyReachedDesktopSaysSoOnce();
    void destroyingAnIdleManagerIsPrompt();
    void aWaitingLaunchHoldsUpOnlyItsOwnApplication();
};

void TestWindowCommand::unavailableDesktopSaysSoOnce_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<int>("lines");
    QTest::addRow("a command") << QByteArray(R"({"type":"window","command":{"action":"tile","apps":["code"]}})") << 1;
    QTest::addRow("an empty command") << QByteArray(R"({"type":"window","command":{}})") << 1;
    QTest::addRow("no command") << QByteArray(R"({"type":"window"})") << 0;
    QTest::addRow("command not an object") << QByteArray(R"({"type":"window","command":"tile"})") << 0;
    QTest::addRow("command an array") << QByteArray(R"({"type":"window","command":[{"action":"fill"}]})") << 0;
}

void TestWindowCommand::unavailableDesktopSaysSoOnce()
{
    QFETCH(QByteArray, event);
    QFETCH(int, lines);
    EventDispatcher dispatcher;
    WindowCommands windows(std::make_unique<NullWindowSystem>());
    windows.registerRows(dispatcher);
    QSignalSpy said(&windows, &WindowCommands::told);
    dispatcher.dispatch(QByteArrayView(event));
    QCOMPARE(said.size(), lines);
    if (lines) {
        QCOMPARE(said.front().front().toString(), WindowManager::unavailableMessage());
        QVERIFY(WindowManager::unavailableMessage().contains(QStringLiteral("X11")));
        QVERIFY(WindowManager::unavailableMessage().contains(QStringLiteral("EWMH window manager")));
    }
}

void TestWindowCommand::aPartlyReachedDesktopSaysSoOnce()
{
    struct Reached final : NullWindowSystem
    {
        bool isAvailable() override { return true; }
    };
    EventDispatcher dispatcher;
    WindowCommands windows(std::make_unique<Reached>(), QStringLiteral("Only XWayland applications."));
    windows.registerRows(dispatcher);
    QSignalSpy said(&windows, &WindowCommands::told);
    for (int i = 0; i < 2; ++i)
        dispatcher.dispatch(QByteArrayView(R"({"type":"window","command":{"action":"fill","app":"code"}})"));
    QCOMPARE(said.size(), 1);
    QCOMPARE(said.front().front().toString(), QStringLiteral("Only XWayland applications."));
}

void TestWindowCommand::destroyingAnIdleManagerIsPrompt()
{
    // The worker thread waits for commands; destruction wakes and joins it.
    for (int i = 0; i < 20; ++i) {
        WindowManager manager(std::make_unique<NullWindowSystem>());
        manager.apply(QByteArrayView(R"({"action":"tile","apps":["a","b"]})"));
        manager.apply(QByteArrayView("not json"));
    }
}

void TestWindowCommand::aWaitingLaunchHoldsUpOnlyItsOwnApplication()
{
    auto owned = std::make_unique<GatedDesktop>();
    GatedDesktop &desktop = *owned;
    WindowManager manager(std::move(owned));
    // Slow runs without a window: its launch waits for one.
    manager.apply(QByteArrayView(R"({"action":"launch","app":"slow"})"));
    manager.apply(QByteArrayView(R"({"action":"close","app":"Slow"})"));
    manager.apply(QByteArrayView(R"({"action":"close","app":"other"})"));
    const auto log = [&] {
        const std::lock_guard lock(desktop.mutex);
        return desktop.log;
    };
    QTRY_COMPARE(log(), QStringList{"11"});
    desktop.note(QStringLiteral("shown"));
    desktop.shown = true;
    QTRY_COMPARE(log(), (QStringList{"11", "shown", "22"}));
}

QTEST_GUILESS_MAIN(TestWindowCommand)
#include "tst_windowcommand.moc"
