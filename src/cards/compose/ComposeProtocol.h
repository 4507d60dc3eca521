#pragma once

#include <QLatin1StringView>

/// The compose card's names in the engine protocol (the names it shares with others are in
/// Protocol.h).
namespace halvic::protocol {

namespace event {
inline constexpr QLatin1StringView compose{"compose"};
inline constexpr QLatin1StringView eventCard{"event_card"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView start{"start"};
inline constexpr QLatin1StringView end{"end"};
inline constexpr QLatin1StringView attendees{"attendees"};
inline constexpr QLatin1StringView meet{"meet"};
inline constexpr QLatin1StringView context{"context"};
inline constexpr QLatin1StringView fields{"fields"};
} // namespace key

namespace value {
inline constexpr QLatin1StringView email{"email"};
inline constexpr QLatin1StringView event{"event"};
inline constexpr QLatin1StringView send{"send"};
inline constexpr QLatin1StringView cancel{"cancel"};
} // namespace value

} // namespace halvic::protocol
