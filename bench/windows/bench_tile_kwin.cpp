// Time from a "window" tile command for three running native Wayland windows to the last
// window at its frame, against the same three moves made by one hand-written KWin script
// loaded and run with dbus-send, in one run on a private headless KWin. Frames are read back
// through a second script channel of ours. Prints medians and their ratio.
// Usage: bench_tile_kwin [rounds]

#include <QGuiApplication>
#include <QJsonArray>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "EventDispatcher.h"
#include "KWinScript.h"
#include "KWinSession.h"
#include "KWinWindowSystem.h"
#include "WindowCommands.h"
#include "WindowLayout.h"
#include "WindowManager.h"

using namespace halvic;
using testing::KWinSession;

namespace {

const QStringList probeNames{QStringLiteral("bench-one"), QStringLiteral("bench-two"), QStringLiteral("bench-three")};

/// Waits until each probe's window has its frame; milliseconds since `start`, or -1 after 5 s.
double untilInPlace(kwin::Script &reader, const QList<QRect> &frames, const QElapsedTimer &start)
{
    while (start.elapsed() < 5000) {
        const auto answer = reader.request({{QStringLiteral("op"), QStringLiteral("list")}});
        const QList<kwin::Window> all = answer ? kwin::windowsOf(answer->toArray()) : QList<kwin::Window>();
        const bool placed = std::ranges::all_of(probeNames, [&](const QString &name) {
            const auto w = std::ranges::find(all, name, &kwin::Window::resourceClass);
            return w != all.end() && w->frame == frames.at(probeNames.indexOf(name));
        });
        if (placed)
            return double(start.nsecsElapsed()) / 1e6;
    }
    return -1;
}

/// The three moves as one script of KWin's, loaded, run and unloaded with dbus-send.
void theirMoves(KWinSession &session, const QList<QRect> &frames, int round)
{
    QString body
        = QStringLiteral("const list = workspace.windowList ? workspace.windowList() : workspace.clientList();\n");
    for (qsizetype i = 0; i < probeNames.size(); ++i) {
        const QRect f = frames.at(i);
        body += QStringLiteral("list.filter(w => w.resourceClass == \"%1\").forEach(w => w.frameGeometry = "
                               "{x: %2, y: %3, width: %4, height: %5});\n")
                    .arg(probeNames.at(i))
                    .arg(f.x())
                    .arg(f.y())
                    .arg(f.width())
                    .arg(f.height());
    }
    const QString path = session.folder(QStringLiteral("moves-%1.js").arg(round));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body.toUtf8()) < 0)
        return;
    file.close();
    const QProcessEnvironment env = session.environment();
    const QString name = QStringLiteral("string:bench-%1").arg(round);
    const QByteArray loaded = testing::runTool(env, QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.loadScript",
            "string:" + path, name});
    const QString id = QString::fromLatin1(loaded).section(QStringLiteral("int32 "), 1).trimmed();
    testing::runTool(env, QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.kde.KWin", "/" + id, "org.kde.kwin.Script.run"});
    testing::runTool(env, QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.unloadScript",
            name});
}

} // namespace

int main(int argc, char **argv)
{
    KWinSession session;
    if (!session.ok()) {
        std::fprintf(stderr, "bench_tile_kwin: no KWin: %s\n", qPrintable(session.error()));
        return 1;
    }
    // Our screens come from XWayland, as the HUD's do.
    qputenv("DISPLAY", session.x11Display().toLocal8Bit());
    qputenv("XAUTHORITY", session.x11Authority().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tests/wayland_probe");
    QProcessEnvironment wayland;
    wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    for (const QString &name : probeNames)
        session.startClient(probe, {name}, wayland);
    if (!KWinSession::waitFor([&] { return session.windows().size() == 3; })) {
        std::fprintf(stderr, "bench_tile_kwin: the probe windows did not appear (%s)\n", qPrintable(probe));
        return 1;
    }

    EventDispatcher dispatcher;
    WindowCommands commands(std::make_unique<KWinWindowSystem>(std::make_shared<kwin::Script>(session.busAddress())));
    commands.registerRows(dispatcher);
    kwin::Script reader(session.busAddress());
    int finished = 0;
    QObject::connect(
        &commands.manager(), &WindowManager::commandFinished, &app, [&] { ++finished; }, Qt::QueuedConnection);

    const QRectF usable = QGuiApplication::primaryScreen()->availableGeometry();
    const auto columnsFor = [&](int leftInset) {
        const QJsonObject insets{{QStringLiteral("left_inset"), leftInset}};
        QList<QRect> frames;
        for (const QRectF &column : layout::tileColumns(3, layout::insetArea(usable, insets)))
            frames.append(column.toRect());
        return frames;
    };
    const QList<QRect> layoutA = columnsFor(0);
    const QList<QRect> layoutB = columnsFor(360);
    const auto tile = [&](int inset, const QList<QRect> &target) {
        const QByteArray event = R"({"type":"window","command":{"action":"tile","apps":["bench-one","bench-two",)"
                                 R"("bench-three"],"left_inset":)"
            + QByteArray::number(inset) + "}}";
        QElapsedTimer start;
        start.start();
        const int before = finished;
        dispatcher.dispatch(QByteArrayView(event));
        const double ms = untilInPlace(reader, target, start);
        // The command may still be confirming its frames; it must not overlap the script's moves.
        KWinSession::waitFor([&] { return finished > before; });
        return ms;
    };
    const auto theirs = [&](const QList<QRect> &target, int round) {
        QElapsedTimer start;
        start.start();
        theirMoves(session, target, round);
        return untilInPlace(reader, target, start);
    };
    // Untimed: the script channels start, once.
    if (tile(360, layoutB) < 0) {
        std::fprintf(stderr, "bench_tile_kwin: the first tile did not land\n");
        return 1;
    }
    std::vector<double> ourTimes, theirTimes;
    for (int round = 0; round < rounds; ++round) {
        // Each side moves the windows out of the other's layout; who goes first alternates.
        if (round % 2 == 0) {
            ourTimes.push_back(tile(0, layoutA));
            theirTimes.push_back(theirs(layoutB, round));
        } else {
            theirTimes.push_back(theirs(layoutA, round));
            ourTimes.push_back(tile(360, layoutB));
        }
    }
    const auto failed = [](const std::vector<double> &v) { return std::count(v.begin(), v.end(), -1.0); };
    std::printf("tile of three native windows on KWin, %d rounds each (ms, median)\n", rounds);
    std::printf(
        "  halvic window command      : %8.2f  (%ld timed out)\n", bench::median(ourTimes), long(failed(ourTimes)));
    std::printf(
        "  KWin script over dbus-send : %8.2f  (%ld timed out)\n", bench::median(theirTimes), long(failed(theirTimes)));
    std::printf("  ratio halvic / script      : %8.2f\n", bench::median(ourTimes) / bench::median(theirTimes));
    return failed(ourTimes) || failed(theirTimes) ? 1 : 0;
}
