#pragma once

#include <QLatin1StringView>

/// The storage card's names in the engine protocol (the names it shares with others are in
/// Protocol.h).
namespace halvic::protocol {

namespace event {
inline constexpr QLatin1StringView storage{"storage"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView files{"files"};
inline constexpr QLatin1StringView updated{"updated"};
inline constexpr QLatin1StringView paths{"paths"};
} // namespace key

namespace value {
inline constexpr QLatin1StringView open{"open"};
inline constexpr QLatin1StringView remove{"delete"};
inline constexpr QLatin1StringView upload{"upload"};
} // namespace value

} // namespace halvic::protocol

namespace halvic::controlfile {
inline constexpr QLatin1StringView storageQuery{"storage_query.json"};
inline constexpr QLatin1StringView storageAction{"storage_action.json"};
} // namespace halvic::controlfile
