#pragma once

#include <QLatin1StringView>

/// The memory card's names in the engine protocol (the names it shares with others are in
/// Protocol.h).
namespace halvic::protocol {

namespace event {
inline constexpr QLatin1StringView memories{"memories"};
inline constexpr QLatin1StringView memoryForgotten{"memory_forgotten"};
inline constexpr QLatin1StringView graph{"graph"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView q{"q"};
inline constexpr QLatin1StringView items{"items"};
inline constexpr QLatin1StringView when{"when"};
inline constexpr QLatin1StringView createdAt{"created_at"};
inline constexpr QLatin1StringView linked{"linked"};
inline constexpr QLatin1StringView nodes{"nodes"};
inline constexpr QLatin1StringView edges{"edges"};
inline constexpr QLatin1StringView from{"from"};
inline constexpr QLatin1StringView a{"a"};
inline constexpr QLatin1StringView b{"b"};
} // namespace key

namespace value {
inline constexpr QLatin1StringView forget{"forget"};
inline constexpr QLatin1StringView link{"link"};
inline constexpr QLatin1StringView unlink{"unlink"};
inline constexpr QLatin1StringView related{"related"};
} // namespace value

} // namespace halvic::protocol

namespace halvic::controlfile {
inline constexpr QLatin1StringView memoryQuery{"memory_query.json"};
inline constexpr QLatin1StringView memoryAction{"memory_action.json"};
inline constexpr QLatin1StringView graphQuery{"graph_query.json"};
inline constexpr QLatin1StringView graphAction{"graph_action.json"};
} // namespace halvic::controlfile
