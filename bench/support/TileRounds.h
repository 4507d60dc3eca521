#pragma once

// What the tile benchmarks on a compositor share: the two layouts each side moves three
// windows between, the HUD's own tile command, and rounds in which the HUD and a compositor's
// own tool take turns, printed as medians and their ratio.

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <functional>
#include <vector>

#include "BenchSupport.h"
#include "EventDispatcher.h"
#include "WaylandSession.h"
#include "WindowCommands.h"
#include "WindowLayout.h"
#include "WindowManager.h"

namespace bench {

/// Waits for the frames to be in place: milliseconds since the start, or -1 after 5 s.
using UntilInPlace = std::function<double(const QList<QRect> &frames, const QElapsedTimer &start)>;

class TileRounds
{
public:
    static inline const QStringList apps{
        QStringLiteral("bench-one"), QStringLiteral("bench-two"), QStringLiteral("bench-three")};

    TileRounds(std::unique_ptr<halvic::WindowSystem> system, UntilInPlace untilInPlace)
        : m_commands(std::move(system))
        , m_untilInPlace(std::move(untilInPlace))
    {
        m_commands.registerRows(m_dispatcher);
        QObject::connect(
            &m_commands.manager(), &halvic::WindowManager::commandFinished, qApp, [this] { ++m_finished; },
            Qt::QueuedConnection);
    }

    /// Starts the three native Wayland windows the benchmark moves.
    static void startWindows(halvic::testing::WaylandSession &session)
    {
        const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tests/wayland_probe");
        QProcessEnvironment wayland;
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        for (const QString &name : apps)
            session.startClient(probe, {name}, wayland);
    }

    /// Three columns of the primary screen, left of which `leftInset` is kept free.
    static QList<QRect> columns(int leftInset)
    {
        const QRectF usable = QGuiApplication::primaryScreen()->availableGeometry();
        const QJsonObject insets{{QStringLiteral("left_inset"), leftInset}};
        QList<QRect> frames;
        for (const QRectF &column : halvic::layout::tileColumns(3, halvic::layout::insetArea(usable, insets)))
            frames.append(
                halvic::layout::toNative(column, halvic::ScreenInfo{0, {}, {}, usable, usable, false, true, 0, 1.0}));
        return frames;
    }

    /// The HUD's tile command, from the event to the last window in place.
    double ours(int leftInset)
    {
        const QByteArray event = R"({"type":"window","command":{"action":"tile","apps":["bench-one","bench-two",)"
                                 R"("bench-three"],"left_inset":)"
            + QByteArray::number(leftInset) + "}}";
        QElapsedTimer start;
        start.start();
        const int before = m_finished;
        m_dispatcher.dispatch(QByteArrayView(event));
        const double ms = m_untilInPlace(columns(leftInset), start);
        // The command may still be confirming its frames; it must not overlap the other side's moves.
        halvic::testing::WaylandSession::waitFor([&] { return m_finished > before; });
        return ms;
    }

    /// `rounds` of each side, `theirs` moving the windows to the frames given; prints the medians.
    /// Each side moves the windows out of the other's layout; who goes first alternates, so each
    /// moves both ways as often. Non-zero when a move timed out.
    int compare(
        const char *title, const char *theirName, int rounds, const std::function<void(const QList<QRect> &)> &theirs)
    {
        const auto timeTheirs = [&](const QList<QRect> &frames) {
            QElapsedTimer start;
            start.start();
            theirs(frames);
            return m_untilInPlace(frames, start);
        };
        std::vector<double> ourTimes, theirTimes;
        for (int round = 0; round < rounds; ++round) {
            if (round % 2 == 0) {
                ourTimes.push_back(ours(0));
                theirTimes.push_back(timeTheirs(columns(360)));
            } else {
                theirTimes.push_back(timeTheirs(columns(0)));
                ourTimes.push_back(ours(360));
            }
        }
        const auto failed = [](const std::vector<double> &v) { return long(std::count(v.begin(), v.end(), -1.0)); };
        std::printf("%s, %d rounds each (ms, median)\n", title, rounds);
        std::printf("  %-28s: %8.2f  (%ld timed out)\n", "halvic window command", median(ourTimes), failed(ourTimes));
        std::printf("  %-28s: %8.2f  (%ld timed out)\n", theirName, median(theirTimes), failed(theirTimes));
        std::printf("  %-28s: %8.2f\n", "ratio halvic / theirs", median(ourTimes) / median(theirTimes));
        return failed(ourTimes) || failed(theirTimes) ? 1 : 0;
    }

private:
    halvic::EventDispatcher m_dispatcher;
    halvic::WindowCommands m_commands;
    UntilInPlace m_untilInPlace;
    int m_finished = 0;
};

} // namespace bench
