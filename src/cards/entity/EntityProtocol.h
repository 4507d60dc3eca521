#pragma once

#include <QLatin1StringView>

/// The entity dossier card's names in the engine protocol (the names it shares with others are in
/// Protocol.h).
namespace halvic::protocol {

namespace event {
inline constexpr QLatin1StringView entityProfile{"entity_profile"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView profile{"profile"};
inline constexpr QLatin1StringView composed{"composed"};
inline constexpr QLatin1StringView composing{"composing"};
inline constexpr QLatin1StringView cmd{"cmd"};
inline constexpr QLatin1StringView entityKey{"key"};
inline constexpr QLatin1StringView other{"other"};
} // namespace key

namespace value {
inline constexpr QLatin1StringView showEntity{"show_entity"};
inline constexpr QLatin1StringView entityNote{"entity_note"};
inline constexpr QLatin1StringView entitySummary{"entity_summary"};
inline constexpr QLatin1StringView entityUnrelate{"entity_unrelate"};
} // namespace value

} // namespace halvic::protocol

namespace halvic::controlfile {
inline constexpr QLatin1StringView entityAction{"entity_action.json"};
} // namespace halvic::controlfile
