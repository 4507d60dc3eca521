#pragma once

#include <algorithm>

namespace halvic::dock {

/// The docked strip is never narrower or wider than this, whatever width is stored.
inline constexpr double minWidth = 260;
inline constexpr double maxWidth = 760;

/// The width the docked strip really has for a stored `dockWidth`.
inline double stripWidth(double dockWidth)
{
    return std::clamp(dockWidth, minWidth, maxWidth);
}

} // namespace halvic::dock
