#pragma once

#include <QLatin1StringView>
#include <QtGlobal>

/// Every name of the engine protocol in one place: the event marker, event types, payload
/// keys, control-file names and the values the HUD writes into them.
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
// The tasks card.
inline constexpr QLatin1StringView tasks{"tasks"};
inline constexpr QLatin1StringView taskAdded{"task_added"};
inline constexpr QLatin1StringView taskDoneEvt{"task_done_evt"};
// The email card.
inline constexpr QLatin1StringView emailThread{"email_thread"};
inline constexpr QLatin1StringView emailAttachment{"email_attachment"};
inline constexpr QLatin1StringView emailReplySent{"email_reply_sent"};
// The compose card.
inline constexpr QLatin1StringView compose{"compose"};
inline constexpr QLatin1StringView eventCard{"event_card"};
// The storage card.
inline constexpr QLatin1StringView storage{"storage"};
// The entity dossier card.
inline constexpr QLatin1StringView entityProfile{"entity_profile"};
// The memory card.
inline constexpr QLatin1StringView memories{"memories"};
inline constexpr QLatin1StringView memoryForgotten{"memory_forgotten"};
inline constexpr QLatin1StringView graph{"graph"};
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
// The tasks card.
inline constexpr QLatin1StringView tasks{"tasks"};
inline constexpr QLatin1StringView due{"due"};
// The email card: threads, messages, attachments and its actions.
inline constexpr QLatin1StringView threadId{"thread_id"};
inline constexpr QLatin1StringView account{"account"};
inline constexpr QLatin1StringView subject{"subject"};
inline constexpr QLatin1StringView messages{"messages"};
inline constexpr QLatin1StringView msgId{"msg_id"};
inline constexpr QLatin1StringView fromName{"from_name"};
inline constexpr QLatin1StringView fromAddr{"from_addr"};
inline constexpr QLatin1StringView to{"to"};
inline constexpr QLatin1StringView cc{"cc"};
inline constexpr QLatin1StringView dateHuman{"date_human"};
inline constexpr QLatin1StringView outgoing{"outgoing"};
inline constexpr QLatin1StringView bodyHtml{"body_html"};
inline constexpr QLatin1StringView bodyText{"body_text"};
inline constexpr QLatin1StringView imagesBlocked{"images_blocked"};
inline constexpr QLatin1StringView attId{"att_id"};
inline constexpr QLatin1StringView filename{"filename"};
inline constexpr QLatin1StringView mime{"mime"};
inline constexpr QLatin1StringView size{"size"};
inline constexpr QLatin1StringView ok{"ok"};
inline constexpr QLatin1StringView error{"error"};
inline constexpr QLatin1StringView body{"body"};
// The compose card ("title", "attachments", "to", "cc", "subject" and "body" above are its too).
inline constexpr QLatin1StringView start{"start"};
inline constexpr QLatin1StringView end{"end"};
inline constexpr QLatin1StringView attendees{"attendees"};
inline constexpr QLatin1StringView meet{"meet"};
inline constexpr QLatin1StringView context{"context"};
inline constexpr QLatin1StringView fields{"fields"};
// The storage card ("size" above and "name" below are its too).
inline constexpr QLatin1StringView files{"files"};
inline constexpr QLatin1StringView updated{"updated"};
inline constexpr QLatin1StringView paths{"paths"};
// The entity dossier card.
inline constexpr QLatin1StringView profile{"profile"};
inline constexpr QLatin1StringView composed{"composed"};
inline constexpr QLatin1StringView composing{"composing"};
inline constexpr QLatin1StringView cmd{"cmd"};
inline constexpr QLatin1StringView name{"name"};
inline constexpr QLatin1StringView entityKey{"key"};
inline constexpr QLatin1StringView other{"other"};
// The memory card.
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

/// Values the HUD writes into action files.
namespace value {
inline constexpr QLatin1StringView kill{"kill"};
inline constexpr QLatin1StringView task{"task"};
inline constexpr QLatin1StringView done{"done"};
// email_action.json
inline constexpr QLatin1StringView reply{"reply"};
inline constexpr QLatin1StringView replyAll{"reply_all"};
inline constexpr QLatin1StringView close{"close"};
inline constexpr QLatin1StringView images{"images"};
inline constexpr QLatin1StringView attachment{"attachment"};
inline constexpr QLatin1StringView openAttachment{"open_attachment"};
// The compose card: kinds and actions ("close" above is its too).
inline constexpr QLatin1StringView email{"email"};
inline constexpr QLatin1StringView event{"event"};
inline constexpr QLatin1StringView send{"send"};
inline constexpr QLatin1StringView cancel{"cancel"};
inline constexpr QLatin1StringView edit{"edit"};
// The storage card's actions.
inline constexpr QLatin1StringView open{"open"};
inline constexpr QLatin1StringView remove{"delete"};
inline constexpr QLatin1StringView upload{"upload"};
// The entity dossier card's commands.
inline constexpr QLatin1StringView showEntity{"show_entity"};
inline constexpr QLatin1StringView entityNote{"entity_note"};
inline constexpr QLatin1StringView entitySummary{"entity_summary"};
inline constexpr QLatin1StringView entityUnrelate{"entity_unrelate"};
// The memory card.
inline constexpr QLatin1StringView forget{"forget"};
inline constexpr QLatin1StringView link{"link"};
inline constexpr QLatin1StringView unlink{"unlink"};
inline constexpr QLatin1StringView related{"related"};
} // namespace value

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

namespace halvic {

/// Control file names written or read by the HUD.
namespace controlfile {
inline constexpr QLatin1StringView textInput{"text_input.json"};
inline constexpr QLatin1StringView config{"config.json"};
inline constexpr QLatin1StringView gestures{"gestures.json"};
inline constexpr QLatin1StringView mute{"mute"};
inline constexpr QLatin1StringView cardAction{"card_action.json"};
inline constexpr QLatin1StringView agentAction{"agent_action.json"};
inline constexpr QLatin1StringView storageQuery{"storage_query.json"};
inline constexpr QLatin1StringView storageAction{"storage_action.json"};
inline constexpr QLatin1StringView entityAction{"entity_action.json"};
inline constexpr QLatin1StringView memoryQuery{"memory_query.json"};
inline constexpr QLatin1StringView memoryAction{"memory_action.json"};
inline constexpr QLatin1StringView graphQuery{"graph_query.json"};
inline constexpr QLatin1StringView graphAction{"graph_action.json"};
inline constexpr QLatin1StringView hudRestart{"hud_restart"};
inline constexpr QLatin1StringView hudConfig{"hud_config.json"};
inline constexpr QLatin1StringView emailAction{"email_action.json"};
} // namespace controlfile

} // namespace halvic
