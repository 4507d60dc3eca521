#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace halvic::hudconfig {

/// The configuration file the engine (or the user) may rewrite in the control folder.
inline constexpr QLatin1StringView fileName{"hud_config.json"};
/// Dimmed opacity when the file gives none.
inline constexpr double defaultIdleOpacity = 0.35;

/// `value` kept within 0.1 … 1.0 (a dimmed HUD never vanishes completely).
double clampOpacity(double value);

/// The dimmed opacity a hud_config.json text asks for: "idle_opacity" as a number or a
/// string holding one; above 1 it is a percentage. None for anything unusable.
std::optional<double> parseIdleOpacity(QByteArrayView json);

/// parseIdleOpacity() of the file in `controlFolder`; none when it cannot be read.
std::optional<double> readIdleOpacity(const QString &controlFolder);

} // namespace halvic::hudconfig
