#pragma once

#include <QList>
#include <QPoint>

#include <optional>

#include "WindowSystem.h"

namespace halvic {

/// The frontmost ordinary window on screen whose frame contains `point`, leaving out process
/// `exceptPid`'s, among the windows a compositor script or extension listed (records with
/// `id`, `pid`, `frame`, `stacking`, `normal` and `minimized`).
template <class Window>
std::optional<WindowId> frontmostOf(const QList<Window> &windows, QPoint point, qint64 exceptPid)
{
    const Window *best = nullptr;
    for (const Window &w : windows) {
        if (!w.normal || w.minimized || w.pid == exceptPid || !w.frame.contains(point))
            continue;
        if (!best || w.stacking > best->stacking)
            best = &w;
    }
    if (!best)
        return std::nullopt;
    return WindowId(best->id);
}

} // namespace halvic
