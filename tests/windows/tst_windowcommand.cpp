// The "window" row where window control is not available: one plain line, nothing else; and
// a command that is not an object is no command.

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <mutex>

#include "EventDispatcher.h"
#include "JsonFile.h"
#include "WindowCommands.h"
#include "WindowManager.h"

using namespace halvic;
using halvic::testing::writeFile;

namespace {
/// "Other" runs with window 11; "Slow", once launched, starts only when the test lets it
/// (then with window 22). What is done is logged in order.
struct GatedDesktop final : NullWindowSystem
{
    std::atomic<bool> started = false;
    std::mutex mutex;
    QStringList log;

    void start()
    {
        started = true;
        started.notify_all();
    }
    void note(const QString &line)
    {
        const std::lock_guard lock(mutex);
        log << line;
    }
    QList<apps::RunningApp> runningApplications() override
    {
        if (!started)
            return {{1, "Other", {}, {}, {}, {11}}};
        return {{1, "Other", {}, {}, {}, {11}}, {2, "Slow", {}, {}, {}, {22}}};
    }
    std::optional<WindowId> primaryWindow(const apps::RunningApp &app) override { return app.windows.value(0); }
    void close(WindowId window) override { note(QString::number(window)); }
    std::optional<qint64> launch(const QString &, const QStringList &, const QString &) override
    {
        started.wait(false);
        note(QStringLiteral("started"));
        return 2;
    }
};
} // namespace

class TestWindowCommand : public QObject
{
    Q_OBJECT

private slots:
    void unavailableDesktopSaysSoOnce_data();
    void unavailableDesktopSaysSoOnce();
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
    windows.registerRow(dispatcher);
    QSignalSpy said(&windows, &WindowCommands::unavailable);
    dispatcher.dispatch(QByteArrayView(event));
    QCOMPARE(said.size(), lines);
    if (lines) {
        QCOMPARE(said.front().front().toString(), WindowManager::unavailableMessage());
        QVERIFY(WindowManager::unavailableMessage().contains(QStringLiteral("X11")));
        QVERIFY(WindowManager::unavailableMessage().contains(QStringLiteral("EWMH window manager")));
    }
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
    QTemporaryDir data;
    QDir(data.path()).mkpath(QStringLiteral("applications"));
    writeFile(
        QDir(data.path()), "applications/slow.desktop", "[Desktop Entry]\nType=Application\nName=Slow\nExec=slow\n");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
    auto owned = std::make_unique<GatedDesktop>();
    GatedDesktop &desktop = *owned;
    WindowManager manager(std::move(owned));
    const auto unblock = qScopeGuard([&] { desktop.start(); }); // before the manager joins its threads
    manager.apply(QByteArrayView(R"({"action":"launch","app":"slow"})"));
    manager.apply(QByteArrayView(R"({"action":"close","app":"Slow"})"));
    manager.apply(QByteArrayView(R"({"action":"close","app":"other"})"));
    const auto log = [&] {
        const std::lock_guard lock(desktop.mutex);
        return desktop.log;
    };
    QTRY_COMPARE(log(), QStringList{"11"});
    desktop.start();
    QTRY_COMPARE(log(), (QStringList{"11", "started", "22"}));
}

QTEST_GUILESS_MAIN(TestWindowCommand)
#include "tst_windowcommand.moc"
