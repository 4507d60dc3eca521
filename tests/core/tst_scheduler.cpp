#include <QObject>
#include <QTest>

#include <memory>

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
        scheduler.callAfter(100ms, nullptr, [&] {
            scheduler.callAfter(50ms, nullptr, [&] { innerRanAt = scheduler.now(); });
        });
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
};

QTEST_GUILESS_MAIN(SchedulerTest)
#include "tst_scheduler.moc"
