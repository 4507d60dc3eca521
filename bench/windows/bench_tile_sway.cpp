// Time from a "window" tile command for three running native Wayland windows to the last
// window at its frame (read back over sway's IPC), against the same three moves made with
// swaymsg, in one run on a private headless sway. Prints medians and their ratio.
// Usage: bench_tile_sway [rounds]   (as root: sway runs as an unprivileged test user)

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "EventDispatcher.h"
#include "SwaySession.h"
#include "SwayWindowSystem.h"
#include "WindowCommands.h"
#include "WindowLayout.h"
#include "WindowManager.h"

using namespace halvic;
using testing::SwaySession;

namespace {

const QStringList probeNames{QStringLiteral("bench-one"), QStringLiteral("bench-two"), QStringLiteral("bench-three")};

/// The container ids of the three windows, in the order of `probeNames`; empty until all are there.
std::vector<qint64> windowIds(const SwaySession &session)
{
    std::vector<qint64> ids;
    const QList<sway::Window> all = session.windows();
    for (const QString &app : probeNames) {
        const auto found = std::find_if(all.begin(), all.end(), [&](const sway::Window &w) { return w.appId == app; });
        if (found == all.end())
            return {};
        ids.push_back(found->id);
    }
    return ids;
}

/// Waits (polling sway) until every window has its frame; milliseconds since `start`, or -1
/// after 5 s.
double untilInPlace(
    const SwaySession &session, const std::vector<qint64> &ids, const QList<QRect> &frames, const QElapsedTimer &start)
{
    while (start.elapsed() < 5000) {
        const QList<sway::Window> all = session.windows();
        const bool placed = std::all_of(all.begin(), all.end(), [&](const sway::Window &w) {
            const auto at = std::find(ids.begin(), ids.end(), w.id);
            return at == ids.end() || w.frame == frames.at(at - ids.begin());
        });
        if (placed && all.size() >= qsizetype(ids.size()))
            return double(start.nsecsElapsed()) / 1e6;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    SwaySession session;
    if (!session.ok()) {
        std::fprintf(stderr, "bench_tile_sway: no sway: %s\n", qPrintable(session.error()));
        return 1;
    }
    // Our screens come from XWayland, as the HUD's do.
    qputenv("DISPLAY", session.x11Display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QTemporaryDir noEntries;
    qputenv("XDG_DATA_HOME", noEntries.path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noEntries.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tests/wayland_probe");
    QProcessEnvironment wayland;
    wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    for (const QString &name : probeNames)
        session.startClient(probe, {name}, wayland);
    std::vector<qint64> ids;
    if (!SwaySession::waitFor([&] { return !(ids = windowIds(session)).empty(); })) {
        std::fprintf(stderr, "bench_tile_sway: the probe windows did not appear (%s)\n", qPrintable(probe));
        return 1;
    }

    EventDispatcher dispatcher;
    WindowCommands commands(std::make_unique<SwayWindowSystem>(session.socketPath()));
    commands.registerRows(dispatcher);
    int finished = 0;
    QObject::connect(
        &commands.manager(), &WindowManager::commandFinished, &app, [&] { ++finished; }, Qt::QueuedConnection);

    const QRectF usable = QGuiApplication::primaryScreen()->availableGeometry();
    const auto columnsFor = [&](int leftInset) {
        const QJsonObject insets{{QStringLiteral("left_inset"), leftInset}};
        QList<QRect> frames;
        for (const QRectF &column : layout::tileColumns(3, layout::insetArea(usable, insets)))
            frames.append(layout::toNative(column, ScreenInfo{0, {}, {}, usable, usable, false, true, 0, 1.0}));
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
        const double ms = untilInPlace(session, ids, target, start);
        // The command may still be confirming its frames; it must not overlap swaymsg's moves.
        SwaySession::waitFor([&] { return finished > before; });
        return ms;
    };
    // Untimed: the first tile floats the tiled windows, once.
    if (tile(360, layoutB) < 0) {
        std::fprintf(stderr, "bench_tile_sway: the first tile did not land\n");
        return 1;
    }

    const QProcessEnvironment swaymsgEnv = session.environment();
    const auto theirMoves = [&](const QList<QRect> &target) {
        QElapsedTimer start;
        start.start();
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const QRect frame = target.at(qsizetype(i));
            testing::runTool(swaymsgEnv, QStringLiteral("swaymsg"),
                {QStringLiteral("[con_id=%1] resize set %2 %3, move absolute position %4 %5")
                        .arg(ids[i])
                        .arg(frame.width())
                        .arg(frame.height())
                        .arg(frame.x())
                        .arg(frame.y())});
        }
        return untilInPlace(session, ids, target, start);
    };
    std::vector<double> ours, theirs;
    for (int round = 0; round < rounds; ++round) {
        // Each tool moves the windows out of the other's layout; who goes first alternates, so
        // each moves both ways as often.
        if (round % 2 == 0) {
            ours.push_back(tile(0, layoutA));
            theirs.push_back(theirMoves(layoutB));
        } else {
            theirs.push_back(theirMoves(layoutA));
            ours.push_back(tile(360, layoutB));
        }
    }
    const auto failed = [](const std::vector<double> &v) { return std::count(v.begin(), v.end(), -1.0); };
    std::printf("tile of three native windows on sway, %d rounds each (ms, median)\n", rounds);
    std::printf("  halvic window command   : %8.2f  (%ld timed out)\n", bench::median(ours), long(failed(ours)));
    std::printf("  swaymsg resize+move, x3 : %8.2f  (%ld timed out)\n", bench::median(theirs), long(failed(theirs)));
    std::printf("  ratio halvic / swaymsg  : %8.2f\n", bench::median(ours) / bench::median(theirs));
    return failed(ours) || failed(theirs) ? 1 : 0;
}
