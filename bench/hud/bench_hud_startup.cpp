// Start-up time, memory and idle CPU of the HUD, measured side by side in one run with a
// web-technology overlay (Chromium in app mode showing a static page of the same layout).
//
// Start-up: from launching the program to its window being mapped (viewable) on a private
// Xvfb + openbox display. Memory: resident (RSS) and proportional (PSS) set of the program's
// processes after 5 s idle; for the HUD, the HUD process alone (its engine is a separate
// program the overlay would need too). CPU: the HUD over 30 s with the engine idle, over 20 s
// while the engine is "speaking" (the orb pulses) and over 20 s "thinking" with two agent
// chips (their spinners turn). Also prints which Qt Quick scene graph the HUD chose.
// Prints medians of several alternating runs and the ratios.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace bench;

constexpr int runs = 5;
constexpr int idleSeconds = 5;
constexpr int cpuSeconds = 30;
constexpr int animatedSeconds = 20;

struct Launch
{
    QString program;
    QStringList arguments;
    bool countDescendants;
};

struct Sample
{
    double startupMs = 0;
    Memory memory;
};

std::unique_ptr<QProcess> start(const Launch &launch, const QProcessEnvironment &env)
{
    return bench::startProgram(launch.program, launch.arguments, env);
}

std::optional<Sample> measure(const Launch &launch, const QProcessEnvironment &env, const Display &display)
{
    QElapsedTimer clock;
    clock.start();
    const auto process = start(launch, env);
    if (!process->waitForStarted(5000))
        return std::nullopt;
    const qint64 pid = process->processId();
    while (!display.mapped(pid)) {
        if (clock.elapsed() > 30000 || process->state() == QProcess::NotRunning) {
            stop(*process);
            return std::nullopt;
        }
        QThread::usleep(1000);
    }
    Sample sample;
    sample.startupMs = double(clock.nsecsElapsed()) / 1e6;
    QThread::sleep(idleSeconds);
    sample.memory = memoryOf(processTree(pid, launch.countDescendants));
    stop(*process);
    return sample;
}

void appendLines(const QString &path, const QList<QByteArray> &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return;
    for (const QByteArray &line : lines)
        file.write(line + '\n');
}

/// CPU of the HUD (percent of one core) over `seconds` after the engine printed `events`.
double cpuWhile(const Launch &hud, const QProcessEnvironment &env, const QString &feed, const QList<QByteArray> &events,
    int seconds)
{
    QFile::remove(feed);
    const auto process = start(hud, env);
    process->waitForStarted(5000);
    QThread::sleep(idleSeconds);
    appendLines(feed, events);
    QThread::sleep(2);
    const double before = cpuSecondsOf(process->processId());
    QThread::sleep(seconds);
    const double percent = (cpuSecondsOf(process->processId()) - before) / seconds * 100;
    stop(*process);
    return percent;
}

/// The scene graph the HUD says it chose (its debug line on standard error).
QString sceneGraphOf(const Launch &hud, QProcessEnvironment env)
{
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("halvic.app.debug=true"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(hud.program, hud.arguments);
    process.waitForStarted(5000);
    QString choice = QStringLiteral("unknown");
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && choice == QStringLiteral("unknown")) {
        process.waitForReadyRead(200);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        const qsizetype at = err.indexOf(QStringLiteral("scene graph: "));
        if (at >= 0)
            choice = err.mid(at + 13).section(u'\n', 0, 0).trimmed();
    }
    stop(process);
    return choice;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        std::fprintf(stderr, "chromium is not installed (scripts/packages.txt lists it)\n");
        return 1;
    }

    XSession x;
    if (!x.ok()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    const QByteArray displayName = x.name();
    QProcessEnvironment &env = x.env();

    const Display display(displayName);
    if (!display.ok()) {
        std::fprintf(stderr, "cannot connect to %s\n", displayName.constData());
        return 1;
    }

    QTemporaryDir root;
    useScriptedEngine(root.path(), QStringLiteral(HUD_ENGINE_SCRIPT), env);

    QTemporaryDir profile;
    const Launch hud{QStringLiteral(HUD_BINARY), {}, false};
    const Launch web{chromium,
        {QStringLiteral("--app=file://") + QStringLiteral(WEB_PAGE),
            QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--window-size=392,330"),
            QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
            QStringLiteral("--disable-gpu"), QStringLiteral("--disable-extensions"),
            QStringLiteral("--password-store=basic"), QStringLiteral("--no-sandbox")},
        true};

    // One unmeasured start of each warms the disk cache and Chromium's profile.
    measure(hud, env, display);
    measure(web, env, display);

    std::vector<double> hudStart, webStart, hudRss, webRss, hudPss, webPss;
    for (int run = 0; run < runs; ++run) {
        for (const auto &[launch, start, rss, pss] :
            {std::tuple{&hud, &hudStart, &hudRss, &hudPss}, std::tuple{&web, &webStart, &webRss, &webPss}}) {
            const auto sample = measure(*launch, env, display);
            if (!sample) {
                std::fprintf(stderr, "%s did not map a window\n", qPrintable(launch->program));
                return 1;
            }
            start->push_back(sample->startupMs);
            rss->push_back(sample->memory.rssMiB);
            pss->push_back(sample->memory.pssMiB);
        }
    }

    // Idle CPU: the HUD with its engine idle ("ready", nothing else).
    const auto idle = start(hud, env);
    idle->waitForStarted(5000);
    QThread::sleep(idleSeconds);
    const double before = cpuSecondsOf(idle->processId());
    QThread::sleep(cpuSeconds);
    const double cpuPercent = (cpuSecondsOf(idle->processId()) - before) / cpuSeconds * 100;
    stop(*idle);

    const QString feed = root.filePath(QStringLiteral("feed.jsonl"));
    const double speakingCpu = cpuWhile(hud, env, feed, {R"({"type":"status","state":"speaking"})"}, animatedSeconds);
    const double thinkingCpu = cpuWhile(hud, env, feed,
        {R"({"type":"status","state":"thinking"})",
            R"({"type":"task_started","agent":"researcher","desc":"find flights","id":"a1"})",
            R"({"type":"task_started","agent":"coder","desc":"build the release","id":"a2"})"},
        animatedSeconds);
    const QString sceneGraph = sceneGraphOf(hud, env);

    std::printf("HUD scene graph: %s\n", qPrintable(sceneGraph));
    std::printf("runs: %d each, alternating; medians\n", runs);
    std::printf("%-28s %12s %12s\n", "", "HUD (Qt)", "web overlay");
    std::printf("%-28s %12.1f %12.1f\n", "start-up to mapped (ms)", median(hudStart), median(webStart));
    std::printf("%-28s %12.1f %12.1f\n", "RSS after 5 s idle (MiB)", median(hudRss), median(webRss));
    std::printf("%-28s %12.1f %12.1f\n", "PSS after 5 s idle (MiB)", median(hudPss), median(webPss));
    std::printf(
        "start-up ratio HUD/web: %.2f (target <= 0.5; HUD target < 400 ms)\n", median(hudStart) / median(webStart));
    std::printf("RSS ratio HUD/web: %.2f, PSS ratio HUD/web: %.2f (targets: HUD RSS <= 60 MiB, ratio <= 0.1)\n",
        median(hudRss) / median(webRss), median(hudPss) / median(webPss));
    std::printf("HUD idle CPU over %d s: %.3f%% of one core (target < 0.5%%)\n", cpuSeconds, cpuPercent);
    std::printf("HUD CPU while speaking (orb pulsing), %d s: %.2f%% of one core (target <= 3%%)\n", animatedSeconds,
        speakingCpu);
    std::printf("HUD CPU while thinking with two agent chips, %d s: %.2f%% of one core (target <= 3%%)\n",
        animatedSeconds, thinkingCpu);

    return 0;
}
