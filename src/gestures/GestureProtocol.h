#pragma once

#include <QLatin1StringView>
#include <QtGlobal>

namespace halvic::protocol {

/// The hand tracker's datagrams (JSON over UDP on the loopback interface).
namespace gesture {
inline constexpr quint16 port = 47831;
inline constexpr QLatin1StringView kind{"t"};
inline constexpr QLatin1StringView hands{"hands"};
inline constexpr QLatin1StringView armed{"armed"};
inline constexpr QLatin1StringView hand{"hand"};
inline constexpr QLatin1StringView x{"x"};
inline constexpr QLatin1StringView y{"y"};
inline constexpr QLatin1StringView pose{"pose"};
inline constexpr QLatin1StringView name{"name"};
inline constexpr QLatin1StringView arm{"arm"};
inline constexpr QLatin1StringView disarm{"disarm"};
inline constexpr QLatin1StringView ready{"ready"};
inline constexpr QLatin1StringView pinchStart{"pinch_start"};
inline constexpr QLatin1StringView pinchMove{"pinch_move"};
inline constexpr QLatin1StringView pinchEnd{"pinch_end"};
inline constexpr QLatin1StringView rclick{"rclick"};
inline constexpr QLatin1StringView fistHold{"fist_hold"};
} // namespace gesture

} // namespace halvic::protocol
