// Time from a "window" tile command for three running native Wayland windows to the last
// window at its frame, against the same three moves made with `gdbus call` on the HUD's GNOME
// Shell extension, in one run on a private headless GNOME Shell. Frames are read back through
// the extension's list. Prints medians and their ratio.
// Usage: bench_tile_gnome [rounds]

#include <algorithm>
#include <cstdio>

#include "GnomeSession.h"
#include "GnomeWindowSystem.h"
#include "TileRounds.h"

using namespace halvic;
using testing::GnomeSession;

namespace {

/// The Shell's windows of the three applications, in their order; empty until all are there.
QList<gnome::Window> benchWindows(const GnomeSession &session)
{
    const QList<gnome::Window> all = gnome::windowsOf(QJsonDocument(session.windows()).toJson());
    QList<gnome::Window> found;
    for (const QString &app : bench::TileRounds::apps) {
        const auto w = std::ranges::find(all, app, &gnome::Window::wmClass);
        if (w == all.end())
            return {};
        found.append(*w);
    }
    return found;
}

/// Waits until each window has its frame; milliseconds since `start`, or -1 after 5 s.
double untilInPlace(const GnomeSession &session, const QList<QRect> &frames, const QElapsedTimer &start)
{
    while (start.elapsed() < 5000) {
        const QList<gnome::Window> windows = benchWindows(session);
        if (!windows.isEmpty()
            && std::ranges::equal(windows, frames, {}, [](const gnome::Window &w) { return w.frame; }))
            return double(start.nsecsElapsed()) / 1e6;
    }
    return -1;
}

/// The three moves as three `gdbus call`s, one after the other.
void theirMoves(const GnomeSession &session, const QList<gnome::Window> &windows, const QList<QRect> &frames)
{
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const QRect f = frames.at(i);
        testing::runTool(session.environment(), QStringLiteral("gdbus"),
            {"call", "--session", "--dest", "org.gnome.Shell", "--object-path", HALVIC_GNOME_PATH, "--method",
                HALVIC_GNOME_INTERFACE ".MoveResize", QString::number(windows.at(i).id), "--", QString::number(f.x()),
                QString::number(f.y()), QString::number(f.width()), QString::number(f.height())});
    }
}

} // namespace

int main(int argc, char **argv)
{
    // The build tree, where the harness finds the extension: two folders above this program.
    if (qEnvironmentVariableIsEmpty("HALVIC_BINARY_DIR"))
        qputenv("HALVIC_BINARY_DIR", QFile::encodeName(QFileInfo("/proc/self/exe").canonicalPath() + "/../.."));
    // gdbus is let in beside the HUD's own code.
    GnomeSession session({QFileInfo(QStringLiteral("/usr/bin/gdbus")).canonicalFilePath()});
    if (!session.ok()) {
        std::fprintf(stderr, "bench_tile_gnome: no GNOME Shell: %s\n", qPrintable(session.error()));
        return 1;
    }
    // Our screens come from XWayland, as the HUD's do.
    qputenv("DISPLAY", session.x11Display().toLocal8Bit());
    qputenv("XAUTHORITY", session.environment().value(QStringLiteral("XAUTHORITY")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int roundCount = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    bench::TileRounds::startWindows(session);
    QList<gnome::Window> windows;
    if (!GnomeSession::waitFor([&] { return !(windows = benchWindows(session)).isEmpty(); })) {
        std::fprintf(stderr, "bench_tile_gnome: the windows did not appear\n");
        return 1;
    }
    bench::TileRounds rounds(
        std::make_unique<GnomeWindowSystem>(std::make_shared<gnome::Extension>(session.busAddress()), nullptr, nullptr),
        [&](const QList<QRect> &frames, const QElapsedTimer &start) { return untilInPlace(session, frames, start); });
    // Untimed: the bus connection starts, once.
    if (rounds.ours(360) < 0) {
        std::fprintf(stderr, "bench_tile_gnome: the first tile did not land\n");
        return 1;
    }
    return rounds.compare("tile of three native windows on GNOME Shell", "gdbus call on the extension", roundCount,
        [&](const QList<QRect> &frames) { theirMoves(session, windows, frames); });
}
