#pragma once

#include <QLatin1StringView>

/// The tasks card's names in the engine protocol (the names it shares with others are in
/// Protocol.h).
namespace halvic::protocol {

namespace event {
inline constexpr QLatin1StringView tasks{"tasks"};
inline constexpr QLatin1StringView taskAdded{"task_added"};
inline constexpr QLatin1StringView taskDoneEvt{"task_done_evt"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView tasks{"tasks"};
inline constexpr QLatin1StringView due{"due"};
} // namespace key

namespace value {
inline constexpr QLatin1StringView task{"task"};
inline constexpr QLatin1StringView done{"done"};
} // namespace value

} // namespace halvic::protocol
