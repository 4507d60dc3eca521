#pragma once

#include <QLatin1StringView>
#include <QtGlobal>

/// The names of the engine protocol that several parts of the HUD use: the event marker,
/// event types, payload keys, control-file names and the values the HUD writes into them.
/// Names only one card uses live with that card (<Card>Protocol.h), the hand tracker's with
/// gestures (GestureProtocol.h).
namespace halvic::protocol {

inline constexpr QLatin1StringView eventMarker{"@@EVT "};

namespace event {
inline constexpr QLatin1StringView booting{"booting"};
inline constexpr QLatin1StringView ready{"ready"};
inline constexpr QLatin1StringView status{"status"};
inline constexpr QLatin1StringView restarting{"restarting"};
inline constexpr QLatin1StringView interrupted{"interrupted"};
inline constexpr QLatin1StringView you{"you"};
inline constexpr QLatin1StringView tarvel{"tarvel"};
inline constexpr QLatin1StringView notify{"notify"};
inline constexpr QLatin1StringView taskStarted{"task_started"};
inline constexpr QLatin1StringView taskProgress{"task_progress"};
inline constexpr QLatin1StringView taskStalled{"task_stalled"};
inline constexpr QLatin1StringView taskDone{"task_done"};
inline constexpr QLatin1StringView enroll{"enroll"};
inline constexpr QLatin1StringView locked{"locked"};
inline constexpr QLatin1StringView muted{"muted"};
inline constexpr QLatin1StringView textVoice{"text_voice"};
inline constexpr QLatin1StringView wakeWord{"wake_word"};
inline constexpr QLatin1StringView meeting{"meeting"};
inline constexpr QLatin1StringView collapsed{"collapsed"};
inline constexpr QLatin1StringView dock{"dock"};
inline constexpr QLatin1StringView gestures{"gestures"};
inline constexpr QLatin1StringView window{"window"};
inline constexpr QLatin1StringView show{"show"};
inline constexpr QLatin1StringView cardClose{"card_close"};
} // namespace event

namespace key {
inline constexpr QLatin1StringView type{"type"};
inline constexpr QLatin1StringView stage{"stage"};
inline constexpr QLatin1StringView state{"state"};
inline constexpr QLatin1StringView text{"text"};
inline constexpr QLatin1StringView agent{"agent"};
inline constexpr QLatin1StringView desc{"desc"};
inline constexpr QLatin1StringView id{"id"};
inline constexpr QLatin1StringView note{"note"};
inline constexpr QLatin1StringView report{"report"};
inline constexpr QLatin1StringView n{"n"};
inline constexpr QLatin1StringView total{"total"};
inline constexpr QLatin1StringView on{"on"};
inline constexpr QLatin1StringView width{"width"};
inline constexpr QLatin1StringView side{"side"};
inline constexpr QLatin1StringView command{"command"};
inline constexpr QLatin1StringView path{"path"};
inline constexpr QLatin1StringView title{"title"};
inline constexpr QLatin1StringView attachments{"attachments"};
inline constexpr QLatin1StringView wantVoice{"want_voice"};
inline constexpr QLatin1StringView wakeWordSetting{"wake_word"};
inline constexpr QLatin1StringView draftId{"draft_id"};
inline constexpr QLatin1StringView idleOpacity{"idle_opacity"};
// Window commands ("action" below is theirs too).
inline constexpr QLatin1StringView apps{"apps"};
inline constexpr QLatin1StringView app{"app"};
inline constexpr QLatin1StringView screen{"screen"};
inline constexpr QLatin1StringView leftInset{"left_inset"};
inline constexpr QLatin1StringView rightInset{"right_inset"};
inline constexpr QLatin1StringView topInset{"top_inset"};
inline constexpr QLatin1StringView bottomInset{"bottom_inset"};
inline constexpr QLatin1StringView region{"region"};
inline constexpr QLatin1StringView mode{"mode"};
inline constexpr QLatin1StringView layout{"layout"};
// Action files.
inline constexpr QLatin1StringView kind{"kind"};
inline constexpr QLatin1StringView action{"action"};
inline constexpr QLatin1StringView subject{"subject"};
inline constexpr QLatin1StringView to{"to"};
inline constexpr QLatin1StringView cc{"cc"};
inline constexpr QLatin1StringView size{"size"};
inline constexpr QLatin1StringView body{"body"};
inline constexpr QLatin1StringView name{"name"};
} // namespace key

/// Values the HUD writes into action files.
namespace value {
inline constexpr QLatin1StringView kill{"kill"};
inline constexpr QLatin1StringView close{"close"};
inline constexpr QLatin1StringView edit{"edit"};
} // namespace value

} // namespace halvic::protocol

namespace halvic {

/// Control file names written or read by the HUD.
namespace controlfile {
inline constexpr QLatin1StringView textInput{"text_input.json"};
inline constexpr QLatin1StringView config{"config.json"};
inline constexpr QLatin1StringView gestures{"gestures.json"};
inline constexpr QLatin1StringView mute{"mute"};
inline constexpr QLatin1StringView cardAction{"card_action.json"};
inline constexpr QLatin1StringView agentAction{"agent_action.json"};
inline constexpr QLatin1StringView hudRestart{"hud_restart"};
inline constexpr QLatin1StringView hudConfig{"hud_config.json"};
} // namespace controlfile

} // namespace halvic
