// The "window" row where window control is not available: one plain line, nothing else; and
// a command that is not an object is no command.

#include <QSignalSpy>
#include <QTest>

#include "EventDispatcher.h"
#include "WindowCommands.h"
#include "WindowManager.h"

using namespace halvic;

class TestWindowCommand : public QObject
{
    Q_OBJECT

private slots:
    void unavailableDesktopSaysSoOnce_data();
    void unavailableDesktopSaysSoOnce();
    void destroyingAnIdleManagerIsPrompt();
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

QTEST_GUILESS_MAIN(TestWindowCommand)
#include "tst_windowcommand.moc"
