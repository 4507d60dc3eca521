// Time from a "window" tile command for three running windows to the last window at its
// frame, against the same three moves made with wmctrl, in one run on a private Xvfb with
// openbox. Prints medians and their ratio.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "EventDispatcher.h"
#include "Scheduler.h"
#include "WindowCommands.h"
#include "WindowLayout.h"
#include "WindowManager.h"
#include "X11Session.h"
#include "X11WindowSystem.h"

using namespace halvic;

namespace {

struct Margins
{
    int left = 0, right = 0, top = 0, bottom = 0;
};

Margins extentsOf(const testing::X11Session &session, quint32 window)
{
    const QString text = QString::fromLatin1(session.property(window, "_NET_FRAME_EXTENTS"));
    const auto match = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(text);
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(), match.captured(4).toInt()};
}

/// Waits (polling the server) until every window has its frame; milliseconds since `start`,
/// or -1 after 5 s.
double untilInPlace(
    X11WindowSystem &x, const std::vector<quint32> &windows, const QList<QRect> &frames, const QElapsedTimer &start)
{
    while (start.elapsed() < 5000) {
        bool all = true;
        for (std::size_t i = 0; i < windows.size() && all; ++i)
            all = x.frame(windows[i]) == std::optional(frames.at(qsizetype(i)));
        if (all)
            return double(start.nsecsElapsed()) / 1e6;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    testing::X11Session session;
    if (!session.ok()) {
        std::fprintf(stderr, "bench_tile: no X server: %s\n", qPrintable(session.error()));
        return 1;
    }
    qputenv("DISPLAY", session.display());
    qputenv("XAUTHORITY", session.authority().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QTemporaryDir noEntries;
    qputenv("XDG_DATA_HOME", noEntries.path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noEntries.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    const QStringList names{QStringLiteral("xclock"), QStringLiteral("xeyes"), QStringLiteral("xlogo")};
    const QStringList classes{
        QStringLiteral("xclock.XClock"), QStringLiteral("xeyes.XEyes"), QStringLiteral("xlogo.XLogo")};
    std::vector<quint32> windows;
    for (qsizetype i = 0; i < names.size(); ++i) {
        session.startClient(names.at(i));
        QElapsedTimer wait;
        wait.start();
        std::optional<quint32> window;
        while (!(window = session.window(classes.at(i))) && wait.elapsed() < 10000)
            QThread::msleep(20);
        if (!window) {
            std::fprintf(stderr, "bench_tile: %s did not start\n", qPrintable(names.at(i)));
            return 1;
        }
        windows.push_back(*window);
    }
    const Margins extents = extentsOf(session, windows.front());

    EventDispatcher dispatcher;
    WindowCommands commands(X11WindowSystem::connect());
    commands.registerRows(dispatcher);
    // A connection of our own to read the frames back.
    const auto x = X11WindowSystem::connect();
    if (!x) {
        std::fprintf(stderr, "bench_tile: cannot connect to the X server\n");
        return 1;
    }

    const QRectF usable = QGuiApplication::primaryScreen()->availableGeometry();
    const auto columnsFor = [&](int leftInset) {
        QJsonObject insets{{QStringLiteral("left_inset"), leftInset}};
        QList<QRect> frames;
        for (const QRectF &column : layout::tileColumns(3, layout::insetArea(usable, insets)))
            frames.append(layout::toNative(column, ScreenInfo{0, {}, {}, usable, usable, false, true, 0, 1.0}));
        return frames;
    };
    const QList<QRect> layoutA = columnsFor(0);
    const QList<QRect> layoutB = columnsFor(360);

    std::vector<double> ours, theirs;
    for (int round = 0; round < rounds; ++round) {
        // Each tool moves the windows out of the other's layout into its own, so both always
        // move all three.
        {
            const QByteArray event
                = R"({"type":"window","command":{"action":"tile","apps":["xclock","xeyes","xlogo"],"left_inset":0}})";
            QElapsedTimer start;
            start.start();
            dispatcher.dispatch(QByteArrayView(event));
            ours.push_back(untilInPlace(*x, windows, layoutA, start));
        }
        {
            const QList<QRect> &target = layoutB;
            QElapsedTimer start;
            start.start();
            for (std::size_t i = 0; i < windows.size(); ++i) {
                const QRect frame = target.at(qsizetype(i));
                QProcess::execute(QStringLiteral("wmctrl"),
                    {QStringLiteral("-i"), QStringLiteral("-r"), QString::number(windows[i]), QStringLiteral("-e"),
                        QStringLiteral("0,%1,%2,%3,%4")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width() - extents.left - extents.right)
                            .arg(frame.height() - extents.top - extents.bottom)});
            }
            theirs.push_back(untilInPlace(*x, windows, target, start));
        }
    }
    const auto failed = [](const std::vector<double> &v) { return std::count(v.begin(), v.end(), -1.0); };
    std::printf("tile of three windows, %d rounds each (ms, median)\n", rounds);
    std::printf("  halvic window command : %8.2f  (%ld timed out)\n", bench::median(ours), long(failed(ours)));
    std::printf("  wmctrl -r -e, 3 calls : %8.2f  (%ld timed out)\n", bench::median(theirs), long(failed(theirs)));
    std::printf("  ratio halvic / wmctrl : %8.2f\n", bench::median(ours) / bench::median(theirs));
    return failed(ours) || failed(theirs) ? 1 : 0;
}
