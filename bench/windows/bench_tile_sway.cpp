// Time from a "window" tile command for three running native Wayland windows to the last
// window at its frame (read back over sway's IPC), against the same three moves made with
// swaymsg, in one run on a private headless sway. Prints medians and their ratio.
// Usage: bench_tile_sway [rounds]   (as root: sway runs as an unprivileged test user)

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "SwayWindowSystem.h"
#include "TileRounds.h"
#include "WaylandSession.h"

using namespace halvic;
using testing::SwaySession;

namespace {

/// The container ids of the three windows, in the order of the applications; empty until all are there.
std::vector<qint64> windowIds(const SwaySession &session)
{
    std::vector<qint64> ids;
    const QList<sway::Window> all = session.windows();
    for (const QString &app : bench::TileRounds::apps) {
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
    const int roundCount = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    bench::TileRounds::startWindows(session);
    std::vector<qint64> ids;
    if (!SwaySession::waitFor([&] { return !(ids = windowIds(session)).empty(); })) {
        std::fprintf(stderr, "bench_tile_sway: the windows did not appear\n");
        return 1;
    }
    bench::TileRounds rounds(std::make_unique<SwayWindowSystem>(session.socketPath()),
        [&](const QList<QRect> &frames, const QElapsedTimer &start) {
            return untilInPlace(session, ids, frames, start);
        });
    // Untimed: the first tile floats the tiled windows, once.
    if (rounds.ours(360) < 0) {
        std::fprintf(stderr, "bench_tile_sway: the first tile did not land\n");
        return 1;
    }
    const QProcessEnvironment swaymsgEnv = session.environment();
    return rounds.compare(
        "tile of three native windows on sway", "swaymsg resize+move, x3", roundCount, [&](const QList<QRect> &frames) {
            for (std::size_t i = 0; i < ids.size(); ++i) {
                const QRect frame = frames.at(qsizetype(i));
                testing::runTool(swaymsgEnv, QStringLiteral("swaymsg"),
                    {QStringLiteral("[con_id=%1] resize set %2 %3, move absolute position %4 %5")
                            .arg(ids[i])
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(frame.x())
                            .arg(frame.y())});
            }
        });
}
