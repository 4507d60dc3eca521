#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>

#include "AppModel.h"
#include "CapturedOutput.h"
#include "Engine.h"
#include "EngineLink.h"
#include "EngineRoot.h"
#include "EventDispatcher.h"
#include "EventQueue.h"

using namespace halvic;
using namespace halvic::testing;
using namespace std::chrono_literals;

#if defined(__SANITIZE_ADDRESS__)
#define HALVIC_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HALVIC_ASAN 1
#endif
#endif
#ifdef HALVIC_ASAN
constexpr bool addressSanitizerBuild = true;
#else
constexpr bool addressSanitizerBuild = false;
#endif

namespace {

struct Harness
{
    explicit Harness(const char *engineName)
        : root(scriptedEngine(engineName))
        , link(model, scheduler, Engine::Locations::underRoot(root.path()))
    {
    }
    ~Harness()
    {
        engine.stop();
        for (const qint64 pid : pids())
            if (processAlive(pid))
                ::kill(pid_t(pid), SIGKILL);
    }
    QList<qint64> pids() const { return pidsIn(root.file(QStringLiteral("pids"))); }
    QStringList transcript() const
    {
        QStringList lines;
        for (const Line &line : model.transcript()->lines())
            lines << line.who + QLatin1Char(':') + line.text;
        return lines;
    }

    ManualScheduler scheduler;
    AppModel model{scheduler};
    EngineRoot root;
    EngineLink link;
    Engine &engine = link.engine;
};

/// The process's peak resident memory so far (VmHWM).
qint64 peakResidentKiB()
{
    const QList<QByteArray> lines = readAll(QStringLiteral("/proc/self/status")).split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

class EngineTest : public QObject
{
    Q_OBJECT
private slots:
    void startsTheEngineLikeARealOneAndFollowsItsEvents()
    {
        CapturedOutput errors(2);
        Harness h("events_and_noise");
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QVERIFY(h.engine.isRunning());
        QVERIFY(h.model.running());
        QCOMPARE(h.transcript(), QStringList{QStringLiteral("tarvel:%1|1|1|True").arg(h.root.path())});
        QVERIFY(!h.model.muted()); // the invalid UTF-8 line was dropped whole
        QTRY_VERIFY(errors.text().contains("plain diagnostic line\n"));
        QVERIFY(!errors.text().contains("\t"));
        QVERIFY(!errors.text().contains("noise"));

        h.engine.start(); // already running: nothing
        QTest::qWait(200);
        QCOMPARE(h.pids().size(), 1);
    }

    void launchFailureIsOneTranscriptLine()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        QTemporaryDir root; // no interpreter inside
        EngineLink link(model, scheduler, Engine::Locations::underRoot(root.path()));
        Engine &engine = link.engine;
        engine.start();
        QTRY_COMPARE(model.transcript()->lines().size(), 2u);
        const Line line = model.transcript()->lines().front();
        QCOMPARE(line.who, QStringLiteral("tarvel"));
        QVERIFY2(line.text.startsWith(QStringLiteral("Couldn't start the engine: ")), qPrintable(line.text));
        QVERIFY(line.text.size() > QStringLiteral("Couldn't start the engine: ").size());
        // A second line says where the HUD looked and how to point it elsewhere.
        const Line hint = model.transcript()->lines().back();
        QCOMPARE(hint.who, QStringLiteral("tarvel"));
        QCOMPARE(hint.text,
            QStringLiteral("Looked for it in %1. To use another folder, set TARVEL_VOICE_DIR or start the HUD "
                           "with --engine DIR.")
                .arg(root.path()));
        QVERIFY(!model.running());
        QVERIFY(!engine.isRunning());
        QTest::qWait(100);
        QCOMPARE(model.transcript()->lines().size(), 2u);
    }

    void anEngineThatExitsByItselfSaysWhy()
    {
        CapturedOutput errors(2);
        Harness h("errors_then_exits_3");
        QSignalSpy byItself(&h.engine, &Engine::exitedByItself);
        h.engine.start();
        QTRY_COMPARE(byItself.count(), 1);
        QVERIFY(!h.model.running());
        QCOMPARE(h.model.state(), EngineState::Off);

        const auto exit = h.engine.lastExit();
        QVERIFY(exit);
        QCOMPARE(exit->status, 3);
        QVERIFY(!exit->crashed);
        QCOMPARE(exit->lastErrorLines.size(), qsizetype(ErrorTail::maxLines));
        QCOMPARE(exit->lastErrorLines.constLast(), QStringLiteral("RuntimeError: no microphone found"));
        QCOMPARE(exit->lastErrorLines.constFirst(), QStringLiteral("loading model shard 22"));

        QCOMPARE(h.transcript().constLast(),
            QStringLiteral("tarvel:The engine stopped (exit status 3): RuntimeError: no microphone found"));
        QVERIFY(h.model.stopReason().startsWith(QStringLiteral("The engine stopped (exit status 3).\n")));
        QVERIFY(h.model.stopReason().endsWith(QStringLiteral("\nRuntimeError: no microphone found")));
        // Everything it wrote still reached the HUD's own standard error.
        QVERIFY(errors.text().contains("loading model shard 0\n"));
        QVERIFY(errors.text().contains("RuntimeError: no microphone found\n"));

        // The next start forgets the reason.
        h.root.setScript(scriptedEngine("ready_then_sleeps"));
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QVERIFY(h.model.stopReason().isEmpty());
        QVERIFY(!h.engine.lastExit());
    }

    // Standard error may be a pipe nobody reads (a session's log collector that stalled):
    // passing the engine's output on must never wait for it.
    void aStandardErrorNobodyReadsNeverStallsTheHud()
    {
        int pipeEnds[2];
        QVERIFY(::pipe2(pipeEnds, O_NONBLOCK) == 0);
        const QByteArray filler(4096, 'x');
        while (::write(pipeEnds[1], filler.constData(), size_t(filler.size())) > 0) { }
        const int saved = ::dup(STDERR_FILENO);
        ::dup2(pipeEnds[1], STDERR_FILENO);
        // Blocking again, as a standard error usually is.
        ::fcntl(STDERR_FILENO, F_SETFL, ::fcntl(STDERR_FILENO, F_GETFL) & ~O_NONBLOCK);
        {
            Harness h("errors_then_exits_3");
            QSignalSpy byItself(&h.engine, &Engine::exitedByItself);
            h.engine.start();
            QTRY_COMPARE(byItself.count(), 1);
            QCOMPARE(
                h.engine.lastExit()->lastErrorLines.constLast(), QStringLiteral("RuntimeError: no microphone found"));
        }
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
    }

    void aStopTheUserAskedForSaysNothing()
    {
        CapturedOutput errors(2);
        Harness h("errors_then_sleeps");
        QSignalSpy byItself(&h.engine, &Engine::exitedByItself);
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QTRY_VERIFY(errors.text().contains("warning: running without a GPU\n"));
        const QStringList before = h.transcript();
        h.engine.stop();
        QTRY_VERIFY(!h.engine.hasLiveProcesses());
        QTest::qWait(100);
        QCOMPARE(byItself.count(), 0);
        QVERIFY(!h.engine.lastExit());
        QVERIFY(h.model.stopReason().isEmpty());
        QCOMPARE(h.transcript(), before);
    }

    void anEngineKilledByASignalSaysWhich()
    {
        Harness h("errors_then_sleeps");
        QSignalSpy byItself(&h.engine, &Engine::exitedByItself);
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QTRY_VERIFY(!h.pids().isEmpty());
        ::kill(pid_t(h.pids().front()), SIGKILL);
        QTRY_COMPARE(byItself.count(), 1);
        QCOMPARE(h.transcript().constLast(),
            QStringLiteral("tarvel:The engine stopped (signal 9): warning: running without a GPU"));
    }

    void aStopBeforeAFailedLaunchIsReportedStillEndsTheWait()
    {
        // A quit right after start waits for allProcessesExited; a launch that then fails
        // must end that wait too.
        ManualScheduler scheduler;
        AppModel model(scheduler);
        QTemporaryDir root; // no interpreter inside
        EngineLink link(model, scheduler, Engine::Locations::underRoot(root.path()));
        Engine &engine = link.engine;
        QSignalSpy exited(&engine, &Engine::allProcessesExited);
        engine.start();
        engine.stop();
        QVERIFY2(engine.hasLiveProcesses(), "the launch failed synchronously");
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(!engine.hasLiveProcesses());
    }

    void anEngineThatExitsStaysOff()
    {
        Harness h("exits_soon");
        QSignalSpy exited(&h.engine, &Engine::exited);
        h.engine.start();
        QTRY_COMPARE(h.model.agents()->chips().size(), 1u);
        QTRY_COMPARE(h.model.state(), EngineState::Off);
        QVERIFY(!h.model.running());
        QVERIFY(h.model.agents()->chips().empty());
        QCOMPARE(exited.count(), 1);
        QVERIFY(!h.engine.isRunning());
        h.scheduler.advance(10s);
        QTest::qWait(200);
        QCOMPARE(h.pids().size(), 1); // never restarted by itself

        h.engine.start(); // from the exited state a new process starts
        QTRY_COMPARE(h.pids().size(), 2);
    }

    void stopTerminatesWithoutWaitingAndClearsChipsOnExit()
    {
        Harness h("task_then_sleeps");
        h.engine.start();
        QTRY_COMPARE(h.model.agents()->chips().size(), 1u);
        const qint64 pid = h.pids().value(0);
        QVERIFY(processAlive(pid));
        h.engine.stop();
        QCOMPARE(h.model.state(), EngineState::Off);
        QVERIFY(!h.model.running());
        QVERIFY(!h.engine.isRunning());
        QTRY_VERIFY(!processAlive(pid));
        QTRY_VERIFY(h.model.agents()->chips().empty());
        QVERIFY(!h.engine.hasLiveProcesses());
    }

    void outputOfAStoppedEngineDoesNotPileUp()
    {
        // An engine that floods its output while it shuts down: what it writes after the
        // stop is thrown away as it comes rather than held until the process is gone.
        ManualScheduler scheduler;
        AppModel model(scheduler);
        EngineRoot root(R"(import os, signal, sys, time
with open("pids", "a") as f:
    f.write(f"{os.getpid()}\n")
def flood(*_):
    chunk = b"x" * (1 << 20)
    for _ in range(256):
        sys.stdout.buffer.write(chunk)
    sys.stdout.buffer.flush()
    os._exit(0)
signal.signal(signal.SIGTERM, flood)
print('@@EVT {"type":"ready"}', flush=True)
while True:
    time.sleep(1)
)");
        EngineLink link(model, scheduler, Engine::Locations::underRoot(root.path()));
        Engine &engine = link.engine;
        engine.start();
        QTRY_COMPARE(model.state(), EngineState::Listening);
        const qint64 peakBefore = peakResidentKiB();
        engine.stop();
        QTRY_VERIFY_WITH_TIMEOUT(!engine.hasLiveProcesses(), 20000);
        const qint64 growth = peakResidentKiB() - peakBefore;
        // AddressSanitizer holds freed blocks back (its quarantine), so there the peak says
        // nothing about what was kept; the regular build checks it.
        if (!addressSanitizerBuild)
            QVERIFY2(growth < 64 * 1024, qPrintable(QStringLiteral("peak grew by %1 KiB").arg(growth)));
    }

    void anEngineIgnoringTerminationIsKilledLater()
    {
        Harness h("ignores_sigterm");
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        const qint64 pid = h.pids().value(0);
        QSignalSpy exited(&h.engine, &Engine::allProcessesExited);
        h.engine.stop();
        QTest::qWait(300);
        QVERIFY(processAlive(pid));
        h.scheduler.advance(Engine::killAfter);
        QTRY_VERIFY(!processAlive(pid));
        QTRY_COMPARE(exited.count(), 1);
    }

    void destroyingTheEngineReapsAnEngineThatIgnoredTermination()
    {
        // Nothing on standard error from the HUD itself, QProcess's complaint included.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Destroyed while process")));
        ManualScheduler scheduler;
        AppModel model(scheduler);
        EngineRoot root(scriptedEngine("ignores_sigterm"));
        qint64 pid = 0;
        {
            EngineLink link(model, scheduler, Engine::Locations::underRoot(root.path()));
            Engine &engine = link.engine;
            engine.start();
            QTRY_COMPARE(model.state(), EngineState::Listening);
            pid = pidsIn(root.file(QStringLiteral("pids"))).value(0);
            engine.stop();
        }
        QVERIFY(pid > 0);
        QVERIFY(!processAlive(pid));
    }

    void restartMarkerCyclesTheEngine()
    {
        CapturedOutput output(1);
        Harness h("ready_then_sleeps");
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        const qint64 first = h.pids().value(0);

        QFile(h.root.controlFile(QStringLiteral("something_else.json"))).open(QIODevice::WriteOnly);
        QTest::qWait(200);
        QVERIFY(h.engine.isRunning()); // other changes in the folder do nothing

        QFile(h.root.controlFile(QStringLiteral("hud_restart"))).open(QIODevice::WriteOnly);
        QTRY_VERIFY(!QFile::exists(h.root.controlFile(QStringLiteral("hud_restart"))));
        QCOMPARE(output.text(), QByteArray("TarvelHUD: hud_restart detected \xE2\x80\x94 cycling engine\n"));
        QCOMPARE(h.model.state(), EngineState::Off);
        QTRY_VERIFY(!processAlive(first));
        h.scheduler.advance(1199ms);
        QTest::qWait(100);
        QCOMPARE(h.pids().size(), 1);
        h.scheduler.advance(1ms);
        QTRY_COMPARE(h.pids().size(), 2);
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
    }

    void restartMarkerStartsAStoppedEngine()
    {
        Harness h("ready_then_sleeps");
        QFile(h.root.controlFile(QStringLiteral("hud_restart"))).open(QIODevice::WriteOnly);
        QTRY_VERIFY(!QFile::exists(h.root.controlFile(QStringLiteral("hud_restart"))));
        h.scheduler.advance(1200ms);
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QCOMPARE(h.pids().size(), 1);
    }

    void aStopDuringTheRestartPauseKeepsTheEngineStopped()
    {
        Harness h("ready_then_sleeps");
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QFile(h.root.controlFile(QStringLiteral("hud_restart"))).open(QIODevice::WriteOnly);
        QTRY_VERIFY(!QFile::exists(h.root.controlFile(QStringLiteral("hud_restart"))));
        h.engine.stop(); // the HUD quits during the pause
        QTRY_VERIFY(!h.engine.hasLiveProcesses());
        h.scheduler.advance(2 * Engine::restartPause);
        QVERIFY(!h.engine.hasLiveProcesses());
        QCOMPARE(h.model.state(), EngineState::Off);

        // A later marker still cycles the engine.
        QFile(h.root.controlFile(QStringLiteral("hud_restart"))).open(QIODevice::WriteOnly);
        QTRY_VERIFY(!QFile::exists(h.root.controlFile(QStringLiteral("hud_restart"))));
        h.scheduler.advance(Engine::restartPause);
        QTRY_COMPARE(h.pids().size(), 2);
    }

    void aSlowOldEngineNeverStopsItsSuccessor()
    {
        Harness h("slow_to_exit");
        h.engine.start();
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        const qint64 old = h.pids().value(0);
        h.engine.stop();
        h.engine.start(); // the old one is still exiting
        QTRY_COMPARE(h.pids().size(), 2);
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(old), 5000);
        QTest::qWait(100);
        QVERIFY(h.model.running());
        QCOMPARE(h.model.state(), EngineState::Listening);
        QVERIFY(h.engine.isRunning());
        QTRY_COMPARE_WITH_TIMEOUT(h.transcript(), QStringList{QStringLiteral("tarvel:still here")}, 5000);
    }

    // An old engine slower to exit than the restart pause takes its agents along when it is
    // stopped: no "task_done" will ever come for them.
    void agentsOfAStoppedEngineGoAtOnce()
    {
        CapturedOutput output(1);
        Harness h("task_then_slow_exit");
        h.engine.start();
        QTRY_COMPARE(h.model.agents()->chips().size(), 1u);
        const qint64 old = h.pids().value(0);
        QFile(h.root.controlFile(QStringLiteral("hud_restart"))).open(QIODevice::WriteOnly);
        h.engine.checkHudRestart();
        QVERIFY(h.model.agents()->chips().empty());
        h.scheduler.advance(Engine::restartPause);
        QTRY_COMPARE(h.pids().size(), 2);
        QTRY_COMPARE(h.model.state(), EngineState::Listening);
        QVERIFY(processAlive(old)); // still exiting while its replacement runs
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(old), 5000);
        QVERIFY(h.model.agents()->chips().empty());
        QVERIFY(h.model.running());
    }

    void burstsAndHugeLinesAreHandledInOrder()
    {
        QStringList states; // outlives the harness
        Harness h("burst");
        connect(&h.model, &AppModel::bootStageChanged, this, [&] { states << h.model.bootStage(); });
        QLoggingCategory::setFilterRules(QStringLiteral("halvic.engine.warning=true"));
        QTest::ignoreMessage(
            QtWarningMsg, "dropped a line of 9437224 bytes from the engine, over the 8388608-byte limit");
        h.engine.start();
        QTRY_COMPARE_WITH_TIMEOUT(h.transcript(), QStringList{QStringLiteral("tarvel:last")}, 20000);
        QLoggingCategory::setFilterRules({});
        QCOMPARE(states.size(), 20000); // "\r" ends the JSON as white space
        QCOMPARE(states.first(), QStringLiteral("s0"));
        QCOMPARE(states.last(), QStringLiteral("s19999"));
    }

    // A large event is parsed on a worker thread; the events behind it wait for it, so the
    // handlers still see every event in order. Text that is no event object is skipped.
    void largeEventsAreParsedAsideInOrder()
    {
        EventDispatcher dispatcher;
        QObject context;
        QStringList seen;
        dispatcher.on(QLatin1StringView("t"), &context,
            [&](const QJsonObject &event) { seen << event.value(QLatin1StringView("n")).toString(); });
        const QByteArray padding(EventQueue::parseInlineBelow, 'x');
        const QByteArray large = "{\"type\":\"t\",\"n\":\"large\",\"pad\":\"" + padding + "\"}";
        const QByteArray largeJunk = "[" + padding + "]";
        {
            EventQueue leftBehind(dispatcher); // gone while its parse runs: nothing follows
            leftBehind.push(large);
        }
        EventQueue queue(dispatcher);
        queue.push("{\"type\":\"t\",\"n\":\"first\"}");
        queue.push(large);
        queue.push("{\"type\":\"t\",\"n\":\"after\"}");
        queue.push(largeJunk);
        queue.push("not json");
        queue.push("{\"type\":\"t\",\"n\":\"last\"}");
        QCOMPARE(seen, QStringList{QStringLiteral("first")});
        QTRY_COMPARE(seen, (QStringList{"first", "large", "after", "last"}));
        QCOMPARE(queue.waiting(), std::size_t(0));
        queue.push("{\"type\":\"t\",\"n\":\"at once\"}");
        QCOMPARE(seen.last(), QStringLiteral("at once"));
    }

    void repeatedCyclesLeakNoDescriptorsOrProcesses()
    {
        Harness h("ready_then_sleeps");
        const int before = openDescriptorCount();
        for (int i = 0; i < 5; ++i) {
            h.engine.start();
            QTRY_COMPARE(h.pids().size(), i + 1);
            QTRY_VERIFY(h.engine.isRunning());
            h.engine.stop();
        }
        QTRY_VERIFY(!h.engine.hasLiveProcesses());
        for (const qint64 pid : h.pids())
            QTRY_VERIFY(!processAlive(pid));
        QTRY_COMPARE(openDescriptorCount(), before);
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
