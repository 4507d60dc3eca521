// The engine link's window row where window control is not available: one plain line,
// nothing else; and a command that is not an object is no command.

#include <QTest>

#include "AppModel.h"
#include "Engine.h"
#include "EngineRoot.h"
#include "ListModels.h"
#include "Scheduler.h"
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
    ManualScheduler scheduler;
    AppModel model(scheduler);
    testing::EngineRoot root;
    Engine engine(model, scheduler, Engine::Locations::underRoot(root.path()));
    engine.setWindowManager(std::make_unique<WindowManager>(std::make_unique<NullWindowSystem>()));
    engine.handle(event);
    QCOMPARE(int(model.transcript()->lines().size()), lines);
    if (lines) {
        QCOMPARE(model.transcript()->lines().front().who, QStringLiteral("tarvel"));
        QCOMPARE(model.transcript()->lines().front().text, WindowManager::unavailableMessage());
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
