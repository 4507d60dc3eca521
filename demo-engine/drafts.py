"""The compose card's drafts: an email and a calendar event the demo prepares for review, and
its answers to what the user decided (card_action.json with kind "email" or "event")."""

from __future__ import annotations

import itertools
from typing import TYPE_CHECKING, Any

from runtime import log

if TYPE_CHECKING:
    from demo import Demo

EMAIL = {
    "to": "maya@example.com",
    "cc": "",
    "subject": "Lunch on Friday?",
    "body": "Hi Maya,\n\nShall we move our lunch to Friday at one? The usual place.\n\nBest",
    "attachments": [],
}
EVENT = {
    "title": "Design review",
    "start": "Thursday 10:00",
    "end": "Thursday 11:00",
    "attendees": "maya@example.com, theo@example.com",
    "meet": True,
}
EVENT_DAY = ["9:00 Stand-up", "12:30 Lunch with Theo", "16:00 Dentist"]

EMAIL_FIELDS = ("to", "cc", "subject", "body", "attachments")
EVENT_FIELDS = ("title", "start", "end", "attendees", "meet")


class Drafts:
    def __init__(self, demo: Demo) -> None:
        self._demo = demo
        self._numbers = itertools.count(1)
        self._open: dict[str, dict[str, Any]] = {}  # draft id → kind and fields

    def draft_email(self) -> None:
        draft_id = f"draft-{next(self._numbers)}"
        self._open[draft_id] = {"kind": "email", **EMAIL}
        self._demo.emit("compose", draft_id=draft_id, **EMAIL)

    def draft_event(self) -> None:
        draft_id = f"event-{next(self._numbers)}"
        self._open[draft_id] = {"kind": "event", **EVENT}
        self._demo.emit("event_card", draft_id=draft_id, context=EVENT_DAY, **EVENT)

    def on_action(self, value: dict[str, Any]) -> None:
        draft_id = value.get("draft_id")
        draft = self._open.get(draft_id) if isinstance(draft_id, str) else None
        if draft is None or draft["kind"] != value.get("kind"):
            log("card_action.json: no open draft of that kind and id; ignored")
            return
        action = value.get("action")
        fields = value.get("fields")
        if action in ("send", "edit") and isinstance(fields, dict):
            names = EMAIL_FIELDS if draft["kind"] == "email" else EVENT_FIELDS
            draft.update({name: fields[name] for name in names if name in fields})
        if action == "edit":
            log(f"card_action.json: {draft_id} edited")
            return
        del self._open[draft_id]
        email = draft["kind"] == "email"
        if action == "send":
            self._demo.say(_sent_line(draft) if email else _booked_line(draft))
        elif action == "cancel":
            self._demo.say("Okay, I won't send it." if email else "Okay, I won't book it.")
        elif action == "close":
            self._demo.say("Closed the draft without sending it.")
        else:
            self._open[draft_id] = draft  # not a decision: the draft stays open
            log(f"card_action.json: unknown action {action!r}; ignored")


def _text(value: Any) -> str:
    return value if isinstance(value, str) else ""


def _sent_line(draft: dict[str, Any]) -> str:
    attachments = [path for path in draft.get("attachments", []) if isinstance(path, str)]
    files = f" with {len(attachments)} attachment{'s' if len(attachments) != 1 else ''}" if attachments else ""
    to = _text(draft.get("to")) or "nobody"
    subject = _text(draft.get("subject")) or "(no subject)"
    return f"Sent “{subject}” to {to}{files}. (The demo sends nothing for real.)"


def _booked_line(draft: dict[str, Any]) -> str:
    title = _text(draft.get("title")) or "(untitled)"
    when = " – ".join(part for part in (_text(draft.get("start")), _text(draft.get("end"))) if part)
    meet = " with a Meet link" if draft.get("meet") is True else ""
    return f"Booked “{title}”{f', {when}' if when else ''}{meet}. (The demo books nothing for real.)"
