#pragma once

#include <QLatin1StringView>

/// The email card's names in the engine protocol (the names it shares with others are in
/// Protocol.h).
namespace halvic::protocol {

namespace event {
inline constexpr QLatin1StringView emailThread{"email_thread"};
inline constexpr QLatin1StringView emailAttachment{"email_attachment"};
inline constexpr QLatin1StringView emailReplySent{"email_reply_sent"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView threadId{"thread_id"};
inline constexpr QLatin1StringView account{"account"};
inline constexpr QLatin1StringView messages{"messages"};
inline constexpr QLatin1StringView msgId{"msg_id"};
inline constexpr QLatin1StringView fromName{"from_name"};
inline constexpr QLatin1StringView fromAddr{"from_addr"};
inline constexpr QLatin1StringView dateHuman{"date_human"};
inline constexpr QLatin1StringView outgoing{"outgoing"};
inline constexpr QLatin1StringView bodyHtml{"body_html"};
inline constexpr QLatin1StringView bodyText{"body_text"};
inline constexpr QLatin1StringView imagesBlocked{"images_blocked"};
inline constexpr QLatin1StringView attId{"att_id"};
inline constexpr QLatin1StringView filename{"filename"};
inline constexpr QLatin1StringView mime{"mime"};
inline constexpr QLatin1StringView ok{"ok"};
inline constexpr QLatin1StringView error{"error"};
} // namespace key

namespace value {
inline constexpr QLatin1StringView reply{"reply"};
inline constexpr QLatin1StringView replyAll{"reply_all"};
inline constexpr QLatin1StringView images{"images"};
inline constexpr QLatin1StringView attachment{"attachment"};
inline constexpr QLatin1StringView openAttachment{"open_attachment"};
} // namespace value

} // namespace halvic::protocol

namespace halvic::controlfile {
inline constexpr QLatin1StringView emailAction{"email_action.json"};
} // namespace halvic::controlfile
