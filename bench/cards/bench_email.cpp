// What the email card costs, measured on a private Xvfb + openbox display with the real HUD
// and a scripted engine, for this build and, given `--before PATH`, an older HUD binary,
// alternating in one run:
//   - the HUD's start-up (launch to mapped window) and resident memory after 5 s idle;
//   - the first thread with an HTML body (nothing of the web engine loaded yet) and the next
//     one: time from the engine's event to the body painted on screen;
//   - the memory of the HUD, the email card's process and the web engine's processes while a
//     thread is open, and what is left 10 s after the engine closed the card.
// Prints medians.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <optional>

#include "BenchSupport.h"

using namespace bench;

namespace {

constexpr int startRuns = 5;
constexpr int bodyRuns = 3;
constexpr int idleSeconds = 5;
// Where the centred card lies on the 1440 × 900 display.
constexpr int cardX = 410, cardY = 60, cardWidth = 620, cardHeight = 780;

struct Start
{
    double mapMs = 0;
    double rssMiB = 0;
};

std::optional<Start> measureStart(const QString &hud, QProcessEnvironment env, const Display &display)
{
    QElapsedTimer clock;
    clock.start();
    const auto process = startProgram(hud, {}, env);
    if (!process->waitForStarted(5000))
        return std::nullopt;
    while (!display.mapped(process->processId())) {
        if (clock.elapsed() > 30000 || process->state() == QProcess::NotRunning)
            return std::nullopt;
        QThread::usleep(1000);
    }
    Start start;
    start.mapMs = double(clock.nsecsElapsed()) / 1e6;
    QThread::sleep(idleSeconds);
    start.rssMiB = memoryOf({process->processId()}).rssMiB;
    stop(*process);
    return start;
}

QByteArray threadEvent(const char *threadId, const char *colour)
{
    // A block of one colour no other window shows, so its first painted pixels are found.
    const QString html = QStringLiteral("<p>Quarterly numbers attached.</p><div style=\"background:%1;height:160px\">"
                                        "</div><p>Best, Ann</p>")
                             .arg(QLatin1StringView(colour));
    const QJsonObject message{{"msg_id", "m1"}, {"from_name", "Ann Lee"}, {"date_human", "Mon 9:14"},
        {"body_html", html}, {"body_text", "Quarterly numbers attached."}};
    return QJsonDocument(QJsonObject{{"type", "email_thread"}, {"thread_id", threadId}, {"account", "me@example.com"},
                             {"subject", "Numbers"}, {"messages", QJsonArray{message}}})
               .toJson(QJsonDocument::Compact)
        + '\n';
}

/// Milliseconds from appending the event to the feed until `rgb` covers part of the card.
std::optional<double> timeToPaint(const QString &feed, const QByteArray &event, uint32_t rgb, const Display &display)
{
    QFile file(feed);
    if (!file.open(QIODevice::Append))
        return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    file.write(event);
    file.close();
    while (display.countColour(cardX, cardY, cardWidth, cardHeight, rgb) < 2000) {
        if (clock.elapsed() > 60000)
            return std::nullopt;
        QThread::usleep(5000);
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

QByteArray closeEvent()
{
    return QByteArrayLiteral("{\"type\":\"card_close\",\"draft_id\":\"\"}\n");
}

/// What the HUD and everything it started hold: the HUD itself, the email card's process
/// (where there is one) and the web engine's processes. PSS shares each library page out among
/// the processes that map it, so its sum is what they take together.
struct BodyMemory
{
    double hudMiB = 0;
    double cardMiB = 0;
    double webMiB = 0;
    double totalPssMiB = 0;
    double footprintMiB = 0;
    int leftOver = 0; ///< card and web-engine processes
};

BodyMemory bodyMemory(qint64 hudPid)
{
    BodyMemory memory;
    std::vector<qint64> group;
    for (const qint64 pid : processTree(hudPid, true)) {
        const Memory own = memoryOf({pid});
        const bool web = commandOf(pid).startsWith("QtWebEngine");
        const bool card
            = pid != hudPid && readFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).contains("--email-card");
        if (pid == hudPid)
            memory.hudMiB = own.rssMiB;
        else if (card)
            memory.cardMiB += own.rssMiB;
        else if (web)
            memory.webMiB += own.rssMiB;
        else
            continue; // the engine
        memory.totalPssMiB += own.pssMiB;
        memory.leftOver += card || web ? 1 : 0;
        group.push_back(pid);
    }
    memory.footprintMiB = footprintMiB(group);
    return memory;
}

struct BodyRun
{
    double idleMiB = 0;
    double coldMs = 0;
    double warmMs = 0;
    BodyMemory open;
    BodyMemory closed;
};

/// Idle, a first thread (nothing of the web engine loaded yet), a second one, then the close
/// and 10 s after it.
std::optional<BodyRun> measureBodies(
    const QString &hud, const QString &feed, const QProcessEnvironment &env, const Display &display)
{
    QFile::remove(feed);
    const auto process = startProgram(hud, {}, env);
    process->waitForStarted(5000);
    QThread::sleep(idleSeconds);
    BodyRun run;
    run.idleMiB = memoryOf({process->processId()}).rssMiB;
    const auto cold = timeToPaint(feed, threadEvent("th1", "#ff00ff"), 0xff00ff, display);
    QThread::sleep(3);
    const auto warm = timeToPaint(feed, threadEvent("th2", "#00ffff"), 0x00ffff, display);
    QThread::sleep(3);
    run.open = bodyMemory(process->processId());
    QFile file(feed);
    if (file.open(QIODevice::Append))
        file.write(closeEvent());
    file.close();
    QThread::sleep(10);
    run.closed = bodyMemory(process->processId());
    stop(*process);
    if (!cold || !warm)
        return std::nullopt;
    run.coldMs = *cold;
    run.warmMs = *warm;
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype beforeAt = arguments.indexOf(QStringLiteral("--before"));
    const QString before = beforeAt > 0 ? arguments.value(beforeAt + 1) : QString();

    XSession x;
    if (!x.ok()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    const Display display(x.name());
    QTemporaryDir root;
    useScriptedEngine(root.path(), QStringLiteral(HUD_ENGINE_SCRIPT), x.env());
    const QString feed = root.filePath(QStringLiteral("feed.jsonl"));
    const QString hud = QStringLiteral(HUD_BINARY);

    // Start-up, alternating with the older binary when there is one.
    std::vector<double> mapMs, rss, beforeMapMs, beforeRss;
    measureStart(hud, x.env(), display); // warms the disk cache
    for (int run = 0; run < startRuns; ++run) {
        if (const auto start = measureStart(hud, x.env(), display)) {
            mapMs.push_back(start->mapMs);
            rss.push_back(start->rssMiB);
        }
        if (before.isEmpty())
            continue;
        if (const auto start = measureStart(before, x.env(), display)) {
            beforeMapMs.push_back(start->mapMs);
            beforeRss.push_back(start->rssMiB);
        }
    }

    std::vector<BodyRun> runs, beforeRuns;
    for (int run = 0; run < bodyRuns; ++run) {
        for (const bool older : {false, true}) {
            if (older && before.isEmpty())
                continue;
            const auto measured = measureBodies(older ? before : hud, feed, x.env(), display);
            if (!measured) {
                std::fprintf(stderr, "a body was not painted within a minute\n");
                return 1;
            }
            (older ? beforeRuns : runs).push_back(*measured);
        }
    }

    std::printf("HUD start-up, %d runs%s; medians\n", startRuns, before.isEmpty() ? "" : ", alternating");
    std::printf("%-34s %12s %12s\n", "", "this build", before.isEmpty() ? "" : "before");
    std::printf("%-34s %12.1f %12.1f\n", "launch to mapped (ms)", median(mapMs), median(beforeMapMs));
    std::printf("%-34s %12.1f %12.1f\n", "RSS after 5 s idle (MiB)", median(rss), median(beforeRss));
    std::printf("\nEmail bodies, %d runs%s; medians\n", bodyRuns, before.isEmpty() ? "" : ", alternating");
    std::printf("%-44s %12s %12s\n", "", "this build", before.isEmpty() ? "" : "before");
    const auto row = [&](const char *label, auto value) {
        const auto of = [&](const std::vector<BodyRun> &list) {
            std::vector<double> values;
            for (const BodyRun &r : list)
                values.push_back(double(value(r)));
            return values.empty() ? 0.0 : median(values);
        };
        std::printf("%-44s %12.1f %12.1f\n", label, of(runs), of(beforeRuns));
    };
    row("HUD RSS idle, no email (MiB)", [](const BodyRun &r) { return r.idleMiB; });
    row("first thread, event to body painted (ms)", [](const BodyRun &r) { return r.coldMs; });
    row("next thread, event to body painted (ms)", [](const BodyRun &r) { return r.warmMs; });
    row("thread open: HUD RSS (MiB)", [](const BodyRun &r) { return r.open.hudMiB; });
    row("thread open: card process RSS (MiB)", [](const BodyRun &r) { return r.open.cardMiB; });
    row("thread open: web-engine processes RSS (MiB)", [](const BodyRun &r) { return r.open.webMiB; });
    row("thread open: all together, PSS (MiB)", [](const BodyRun &r) { return r.open.totalPssMiB; });
    row("thread open: all together, each page once (MiB)", [](const BodyRun &r) { return r.open.footprintMiB; });
    row("10 s after the close: HUD RSS (MiB)", [](const BodyRun &r) { return r.closed.hudMiB; });
    row("10 s after the close: card + web processes", [](const BodyRun &r) { return r.closed.leftOver; });
    return 0;
}
