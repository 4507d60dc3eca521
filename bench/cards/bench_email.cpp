// What the email card costs, measured on a private Xvfb + openbox display with the real HUD
// and a scripted engine:
//   - the HUD's start-up (launch to mapped window) and resident memory after 5 s idle, for this
//     build and, given `--before PATH`, for an older HUD binary, alternating in one run: the web
//     engine must cost nothing until a body needs it;
//   - the first thread with an HTML body (web engine cold) and the next one (warm): time from
//     the engine's event to the body painted on screen, and resident memory afterwards of the
//     HUD process and of the web engine's own processes.
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
std::optional<double> timeToPaint(
    const QString &feed, const QByteArray &event, uint32_t rgb, const Display &display)
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

struct BodyMemory
{
    double hudMiB = 0;
    double webMiB = 0;
};

BodyMemory bodyMemory(qint64 hudPid)
{
    BodyMemory memory{memoryOf({hudPid}).rssMiB, 0};
    for (const qint64 pid : processTree(hudPid, true)) {
        if (pid != hudPid && commandOf(pid).startsWith("QtWebEngine"))
            memory.webMiB += memoryOf({pid}).rssMiB;
    }
    return memory;
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

    std::vector<double> coldMs, warmMs, idleMiB, coldHud, coldWeb, warmHud, warmWeb;
    for (int run = 0; run < bodyRuns; ++run) {
        QFile::remove(feed);
        const auto process = startProgram(hud, {}, x.env());
        process->waitForStarted(5000);
        QThread::sleep(idleSeconds);
        idleMiB.push_back(memoryOf({process->processId()}).rssMiB);
        const auto cold = timeToPaint(feed, threadEvent("th1", "#ff00ff"), 0xff00ff, display);
        QThread::sleep(3);
        const BodyMemory afterCold = bodyMemory(process->processId());
        const auto warm = timeToPaint(feed, threadEvent("th2", "#00ffff"), 0x00ffff, display);
        QThread::sleep(3);
        const BodyMemory afterWarm = bodyMemory(process->processId());
        stop(*process);
        if (!cold || !warm) {
            std::fprintf(stderr, "a body was not painted within a minute\n");
            return 1;
        }
        coldMs.push_back(*cold);
        warmMs.push_back(*warm);
        coldHud.push_back(afterCold.hudMiB);
        coldWeb.push_back(afterCold.webMiB);
        warmHud.push_back(afterWarm.hudMiB);
        warmWeb.push_back(afterWarm.webMiB);
    }

    std::printf("HUD start-up, %d runs%s; medians\n", startRuns, before.isEmpty() ? "" : ", alternating");
    std::printf("%-34s %12s %12s\n", "", "this build", before.isEmpty() ? "" : "before");
    std::printf("%-34s %12.1f %12.1f\n", "launch to mapped (ms)", median(mapMs), median(beforeMapMs));
    std::printf("%-34s %12.1f %12.1f\n", "RSS after 5 s idle (MiB)", median(rss), median(beforeRss));
    std::printf("\nEmail bodies, %d runs; medians\n", bodyRuns);
    std::printf("%-34s %12s %12s %12s\n", "", "to painted", "HUD RSS", "web RSS");
    std::printf("%-34s %12s %12.1f %12s\n", "idle, no email (MiB)", "", median(idleMiB), "");
    std::printf("%-34s %9.0f ms %12.1f %12.1f\n", "first thread (web engine cold)", median(coldMs), median(coldHud),
        median(coldWeb));
    std::printf("%-34s %9.0f ms %12.1f %12.1f\n", "next thread (warm)", median(warmMs), median(warmHud),
        median(warmWeb));
    return 0;
}
