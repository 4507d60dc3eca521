#include <QObject>
#include <QTest>

#include <memory>

#include "ScheduledCall.h"
#include "Scheduler.h"

using namespace halvic;
using namespace std::chrono_literals;

class SchedulerTest : public QObject
{
    Q_OBJECT
private slots:
    void manualRunsDueCallsInTimeOrder()
    {
        ManualScheduler scheduler;
        QStringList ran;
        scheduler.callAfter(300ms, nullptr, [&] { ran << QStringLiteral("c"); });
        scheduler.callAfter(100ms, nullptr, [&] { ran << QStringLiteral("a"); });
        scheduler.callAfter(100ms, nullptr, [&] { ran << QStringLiteral("b"); });
        scheduler.advance(99ms);
        QVERIFY(ran.isEmpty());
        scheduler.advance(1ms);
        QCOMPARE(ran, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        scheduler.advance(1s);
        QCOMPARE(ran.last(), QStringLiteral("c"));
        QCOMPARE(scheduler.pendingCount(), 0u);
    }

    void manualCallScheduledWhileAdvancingRunsInsideTheInterval()
    {
        ManualScheduler scheduler;
        TimePoint innerRanAt{};
        scheduler.callAfter(
            100ms, nullptr, [&] { scheduler.callAfter(50ms, nullptr, [&] { innerRanAt = scheduler.now(); }); });
        const TimePoint start = scheduler.now();
        scheduler.advance(200ms);
        QCOMPARE(innerRanAt - start, Duration(150ms));
        QCOMPARE(scheduler.now() - start, Duration(200ms));
    }

    void cancelledAndOrphanedCallsDoNotRun()
    {
        ManualScheduler scheduler;
        int runs = 0;
        const auto cancelled = scheduler.callAfter(10ms, nullptr, [&] { ++runs; });
        auto owner = std::make_unique<QObject>();
        scheduler.callAfter(10ms, owner.get(), [&] { ++runs; });
        scheduler.cancel(cancelled);
        scheduler.cancel(9999);
        owner.reset();
        scheduler.advance(1s);
        QCOMPARE(runs, 0);
    }

    void qtSchedulerFiresOnceAndHonoursCancelAndContext()
    {
        QtScheduler scheduler;
        int fired = 0;
        int cancelledRuns = 0;
        int orphanRuns = 0;
        const TimePoint start = scheduler.now();
        scheduler.callAfter(20ms, nullptr, [&] { ++fired; });
        const auto id = scheduler.callAfter(10ms, nullptr, [&] { ++cancelledRuns; });
        scheduler.cancel(id);
        auto owner = std::make_unique<QObject>();
        scheduler.callAfter(10ms, owner.get(), [&] { ++orphanRuns; });
        owner.reset();
        QTRY_COMPARE(fired, 1);
        QVERIFY(scheduler.now() - start >= 20ms);
        QTest::qWait(50);
        QCOMPARE(fired, 1);
        QCOMPARE(cancelledRuns, 0);
        QCOMPARE(orphanRuns, 0);
    }

    void qtSchedulerCallCancelledByAnotherDueCallDoesNotRun()
    {
        // Both calls are due in the same pass of the event loop; the first cancels the second
        // (a debounce restarting its timer from another timer's call).
        QtScheduler scheduler;
        int firstRuns = 0;
        int cancelledRuns = 0;
        Scheduler::CallId second = 0;
        scheduler.callAfter(0ms, nullptr, [&] {
            ++firstRuns;
            scheduler.cancel(second);
        });
        second = scheduler.callAfter(0ms, nullptr, [&] { ++cancelledRuns; });
        QTRY_COMPARE(firstRuns, 1);
        QTest::qWait(50);
        QCOMPARE(cancelledRuns, 0);
    }

    // The one delayed-call idiom: restart is a debounce, startIfIdle a throttle. Each row is
    // a script of operations at given times; "+N" advances N ms, "r" restarts, "t" starts if
    // idle, "c" cancels, "d" destroys; `fired` lists the times (ms) at which the call ran.
    void scheduledCall_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QList<int>>("fired");
        QTest::addRow("debounce runs once after the last restart")
            << QStringList{"r", "+50", "r", "+50", "r", "+100"} << QList<int>{200};
        QTest::addRow("throttle keeps the first schedule")
            << QStringList{"t", "+50", "t", "+49", "t", "+101"} << QList<int>{100};
        QTest::addRow("throttle schedules again once it ran")
            << QStringList{"t", "+100", "t", "+100"} << QList<int>{100, 200};
        QTest::addRow("cancel drops the pending call") << QStringList{"r", "+50", "c", "+200"} << QList<int>{};
        QTest::addRow("destruction cancels") << QStringList{"r", "+50", "d", "+200"} << QList<int>{};
        QTest::addRow("restart after cancel waits the whole delay")
            << QStringList{"r", "c", "+50", "r", "+99", "+1"} << QList<int>{150};
    }
    void scheduledCall()
    {
        QFETCH(QStringList, script);
        QFETCH(QList<int>, fired);
        ManualScheduler scheduler;
        const auto start = scheduler.now();
        QList<int> ran;
        auto call = std::make_unique<ScheduledCall>(scheduler, 100ms, [&] {
            ran << int(std::chrono::duration_cast<std::chrono::milliseconds>(scheduler.now() - start).count());
        });
        for (const QString &step : script) {
            if (step.startsWith(u'+'))
                scheduler.advance(std::chrono::milliseconds(step.mid(1).toInt()));
            else if (step == u"r")
                call->restart();
            else if (step == u"t")
                call->startIfIdle();
            else if (step == u"c")
                call->cancel();
            else if (step == u"d")
                call.reset();
        }
        QCOMPARE(ran, fired);
        QCOMPARE(scheduler.pendingCount(), 0u);
    }

    // A call that restarts itself (a ticking clock) keeps ticking, and reports it is pending.
    void aCallMayRestartItself()
    {
        ManualScheduler scheduler;
        int ticks = 0;
        std::unique_ptr<ScheduledCall> tick;
        tick = std::make_unique<ScheduledCall>(scheduler, 1s, [&] {
            ++ticks;
            tick->restart();
        });
        tick->restart();
        scheduler.advance(3500ms);
        QCOMPARE(ticks, 3);
        QVERIFY(tick->isPending());
        tick.reset();
        QCOMPARE(scheduler.pendingCount(), 0u);
    }
};

QTEST_GUILESS_MAIN(SchedulerTest)
#include "tst_scheduler.moc"
