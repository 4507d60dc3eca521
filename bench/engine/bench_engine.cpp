// Engine link benchmarks. Prints medians and ratios measured in one run; asserts nothing.
//   bench_engine ingest   framing + dispatch into a live model vs. line splitting + JSON parse
//   bench_engine flood    a real engine printing 200,000 events as fast as it can
//   bench_engine latency  engine prints -> model updated, at 1,000 events/s
//   bench_engine          all three

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "AppModel.h"
#include "Engine.h"
#include "EngineLink.h"
#include "LineFramer.h"
#include "Scheduler.h"

using namespace halvic;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

QByteArray eventLine(const QJsonObject &event)
{
    return "@@EVT " + QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n';
}

// A recorded-like session: mostly state changes and transcript lines, task events, some
// diagnostic lines, and now and then (0.7%) a card payload of 5 to 50 KB.
QByteArray realisticMix(int events, int *eventCount)
{
    std::mt19937 random(7);
    const QStringList states{"listening", "thinking", "speaking", "listening"};
    const QString sentence = QStringLiteral("Sure — I moved your 3 pm call with Dana to Thursday and drafted a note. ");
    QByteArray mix;
    int count = 0;
    for (int i = 0; count < events; ++i) {
        const int kind = int(random() % 1000);
        QJsonObject event;
        if (kind < 350) {
            event = {{"type", "status"}, {"state", states[i % states.size()]}};
        } else if (kind < 650) {
            event = {{"type", i % 2 ? "tarvel" : "you"}, {"text", sentence.repeated(1 + int(random() % 4))}};
        } else if (kind < 800) {
            const QString id = QStringLiteral("t%1").arg(i % 50);
            const int step = int(random() % 4);
            if (step == 0)
                event = {{"type", "task_started"}, {"agent", "mail"}, {"desc", "Sorting the inbox"}, {"id", id}};
            else if (step == 1)
                event = {{"type", "task_progress"}, {"id", id}, {"note", "42 of 180 messages"}};
            else if (step == 2)
                event = {{"type", "task_stalled"}, {"id", id}};
            else
                event = {{"type", "task_done"}, {"id", id}, {"report", "Inbox sorted."}};
        } else if (kind < 900) {
            event = {{"type", "notify"}, {"text", "Reminder: stand-up in 5 minutes"}};
        } else if (kind < 990) {
            mix += "engine: plain diagnostic output that is not an event\n";
            continue;
        } else if (kind < 997) {
            QJsonArray tasks;
            for (int t = 0; t < 100; ++t)
                tasks.append(
                    QJsonObject{{"id", QString::number(t)}, {"text", "Follow up with the vendor"}, {"due", "Fri"}});
            event = {{"type", "tasks"}, {"tasks", tasks}};
        } else {
            QJsonArray messages;
            for (int m = 0; m < 8; ++m)
                messages.append(QJsonObject{{"id", QString::number(m)}, {"from", "dana@example.com"},
                    {"html", QString(6000, QLatin1Char('x'))}});
            event = {{"type", "email_thread"}, {"thread_id", "th1"}, {"subject", "Q3 plan"}, {"messages", messages}};
        }
        mix += eventLine(event);
        ++count;
    }
    *eventCount = count;
    return mix;
}

void benchIngest()
{
    int events = 0;
    const QByteArray mix = realisticMix(200000, &events);
    constexpr qsizetype chunkSize = 64 * 1024;
    std::vector<double> fullRates, baseRates;
    for (int round = 0; round < 7; ++round) {
        {
            ManualScheduler scheduler;
            AppModel model(scheduler);
            QTemporaryDir root;
            testing::EngineLink link(model, scheduler, Engine::Locations::underRoot(root.path()));
            Engine &engine = link.engine;
            std::freopen("/dev/null", "w", stderr); // the mix's diagnostic lines are copied there
            QElapsedTimer timer;
            timer.start();
            for (qsizetype at = 0; at < mix.size(); at += chunkSize)
                engine.ingest(QByteArrayView(mix).sliced(at, std::min(chunkSize, mix.size() - at)));
            fullRates.push_back(events / (double(timer.nsecsElapsed()) / 1e9));
        }
        {
            LineFramer framer;
            int parsed = 0;
            QElapsedTimer timer;
            timer.start();
            for (qsizetype at = 0; at < mix.size(); at += chunkSize) {
                framer.feed(
                    QByteArrayView(mix).sliced(at, std::min(chunkSize, mix.size() - at)), [&](QByteArrayView line) {
                        const qsizetype marker = line.indexOf("@@EVT ");
                        if (marker >= 0 && QJsonDocument::fromJson(line.sliced(marker + 6).toByteArray()).isObject())
                            ++parsed;
                    });
            }
            baseRates.push_back(parsed / (double(timer.nsecsElapsed()) / 1e9));
        }
    }
    const double full = median(fullRates);
    const double base = median(baseRates);
    const double mbPerEvent = double(mix.size()) / events / 1e6;
    std::printf("ingest: %d events, %.1f MB, 64 KiB chunks, 7 rounds (medians)\n", events, mix.size() / 1e6);
    std::printf("  full path (framing + dispatch + model): %.0f events/s, %.1f MB/s\n", full, full * mbPerEvent);
    std::printf("  baseline (line split + JSON parse):      %.0f events/s, %.1f MB/s\n", base, base * mbPerEvent);
    std::printf("  full / baseline: %.0f%%\n", 100 * full / base);
}

struct EngineProcess
{
    explicit EngineProcess(const QByteArray &script)
    {
        QDir(root.path()).mkpath(QStringLiteral(".venv/bin"));
        QFile::link(QStringLiteral("/usr/bin/python3"), root.filePath(QStringLiteral(".venv/bin/python")));
        QFile file(root.filePath(QStringLiteral("main.py")));
        file.open(QIODevice::WriteOnly);
        file.write(script);
    }
    QTemporaryDir root;
    QtScheduler scheduler;
    AppModel model{scheduler};
    testing::EngineLink link{model, scheduler, Engine::Locations::underRoot(root.path())};
    Engine &engine = link.engine;
};

void benchFlood()
{
    EngineProcess run(R"PY(
import sys
out = sys.stdout.buffer
for i in range(200000):
    out.write(b'@@EVT {"type":"booting","stage":"%d"}\n' % i)
out.write(b'@@EVT {"type":"tarvel","text":"done"}\n')
out.flush()
import time; time.sleep(30)
)PY");
    int expected = 0;
    bool inOrder = true;
    QObject::connect(&run.model, &AppModel::bootStageChanged, [&] {
        if (run.model.bootStage() != QString::number(expected))
            inOrder = false;
        ++expected;
    });
    constexpr int heartbeatMs = 5;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    Clock::time_point last = Clock::now();
    double worstGapMs = 0;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        worstGapMs = std::max(worstGapMs, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    });
    QElapsedTimer timer;
    QObject::connect(run.model.transcript(), &QAbstractItemModel::rowsInserted, [&] {
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("flood: 200,000 events from a real engine process\n");
        std::printf("  dispatched %d state events, in order: %s, %.2f s (%.0f events/s)\n", expected,
            inOrder && expected == 200000 ? "yes" : "NO", seconds, expected / seconds);
        std::printf("  longest main-thread gap between %d ms heartbeats: %.1f ms\n", heartbeatMs, worstGapMs);
        QCoreApplication::quit();
    });
    QTimer::singleShot(0, [&] {
        heartbeat.start(heartbeatMs);
        last = Clock::now();
        timer.start();
        run.engine.start();
    });
    QTimer::singleShot(60000, [] {
        std::printf("flood: timed out\n");
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    run.engine.stop();
}

void benchLatency()
{
    EngineProcess run(R"PY(
import sys, time
out = sys.stdout.buffer
next_at = time.monotonic_ns()
for i in range(5000):
    next_at += 1_000_000
    while time.monotonic_ns() < next_at:
        pass
    out.write(b'@@EVT {"type":"booting","stage":"%d"}\n' % time.monotonic_ns())
    out.flush()
out.write(b'@@EVT {"type":"tarvel","text":"done"}\n')
out.flush()
time.sleep(30)
)PY");
    std::vector<double> latenciesMs;
    latenciesMs.reserve(5000);
    QObject::connect(&run.model, &AppModel::bootStageChanged, [&] {
        bool ok = false;
        const qint64 sentNs = run.model.bootStage().toLongLong(&ok);
        if (!ok)
            return;
        const qint64 nowNs
            = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
        latenciesMs.push_back(double(nowNs - sentNs) / 1e6);
    });
    QObject::connect(run.model.transcript(), &QAbstractItemModel::rowsInserted, [&] {
        std::printf("latency: engine prints -> model updated, %zu events at 1,000/s\n", latenciesMs.size());
        std::printf("  p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", percentile(latenciesMs, 0.5),
            percentile(latenciesMs, 0.99), percentile(latenciesMs, 1.0));
        QCoreApplication::quit();
    });
    QTimer::singleShot(0, [&] { run.engine.start(); });
    QTimer::singleShot(60000, [] {
        std::printf("latency: timed out\n");
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    run.engine.stop();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (which.isEmpty() || which == QLatin1StringView("flood"))
        benchFlood();
    if (which.isEmpty() || which == QLatin1StringView("latency"))
        benchLatency();
    if (which.isEmpty() || which == QLatin1StringView("ingest"))
        benchIngest();
    return 0;
}
