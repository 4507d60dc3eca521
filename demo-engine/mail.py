"""The demo's mail: one thread the email card shows, and what its actions (email_action.json)
change. Plain data and pure functions of it; `demo.Demo` emits the events and keeps time.
"""

from __future__ import annotations

import copy
import itertools
from typing import Any, Optional

# How long the demo's "mail server" takes to send a reply or fetch an attachment.
SEND_SECONDS = 1.0
DOWNLOAD_SECONDS = 0.8
THREAD_ID = "demo-thread-1"
ACCOUNT = "you@demo.example"

# A remote picture the engine holds back until the user asks (offline it simply stays empty).
_REMOTE_PICTURE = "https://demo.example/banner.png"

_BODY = (
    "<p>Hi!</p>"
    "<p>Here are the <b>slides</b> from the planning meeting, and the agenda for Friday.</p>"
    "<ul><li>Spring redesign: status</li><li>Budget</li><li>Next steps</li></ul>"
    f"<p><img src=\"{_REMOTE_PICTURE}\" alt=\"Northwind banner\" width=\"480\" height=\"60\"></p>"
    "<p>More on <a href=\"https://northwind.example/spring\">the project page</a>.</p>"
    "<blockquote>On Mon, you wrote: could you send the slides?</blockquote>"
    "<p>— Maya</p>"
)

_START: list[dict[str, Any]] = [
    {"msg_id": "m1", "outgoing": True, "from_name": "You", "from_addr": ACCOUNT,
     "to": "maya@northwind.example", "date_human": "Mon 16:02",
     "body_text": "Hi Maya, could you send the slides from the meeting? Thanks!"},
    {"msg_id": "m2", "from_name": "Maya Okafor", "from_addr": "maya@northwind.example",
     "to": ACCOUNT, "cc": "tom@northwind.example", "date_human": "Tue 09:14",
     "body_text": "Hi! Here are the slides from the planning meeting, and the agenda for Friday.",
     "body_html": _BODY, "images_blocked": 1,
     "attachments": [
         {"att_id": "a1", "filename": "spring-redesign.pdf", "mime": "application/pdf", "size": 482133},
         {"att_id": "a2", "filename": "agenda.txt", "mime": "text/plain", "size": 1536},
     ]},
]

# What a downloaded attachment holds, by id.
ATTACHMENT_CONTENT = {
    "a1": b"%PDF-1.4\n% The demo's slides: not a real PDF.\n",
    "a2": b"Friday agenda\n1. Spring redesign: status\n2. Budget\n3. Next steps\n",
}


class Mailbox:
    def __init__(self) -> None:
        self._messages = copy.deepcopy(_START)
        self._numbers = itertools.count(3)

    def thread(self) -> dict[str, Any]:
        """The "email_thread" event's members."""
        return {"thread_id": THREAD_ID, "account": ACCOUNT, "subject": "Slides from the planning meeting",
                "messages": copy.deepcopy(self._messages)}

    def let_images_through(self, msg_id: Any) -> bool:
        for message in self._messages:
            if message["msg_id"] == msg_id and message.get("images_blocked"):
                message["images_blocked"] = 0
                return True
        return False

    def attachment(self, att_id: Any) -> Optional[dict[str, Any]]:
        for message in self._messages:
            for attachment in message.get("attachments", []):
                if attachment["att_id"] == att_id:
                    return attachment
        return None

    def reply(self, body: Any, to_all: bool) -> Optional[str]:
        """Adds the user's reply to the thread; an error text when the "server" refuses it."""
        if not isinstance(body, str) or not body.strip():
            return "There was nothing to send."
        if "fail" in body.lower():
            return "The demo's mail server refused this one (it contained “fail”)."
        self._messages.append({
            "msg_id": f"m{next(self._numbers)}", "outgoing": True, "from_name": "You",
            "from_addr": ACCOUNT, "to": "maya@northwind.example",
            "cc": "tom@northwind.example" if to_all else "", "date_human": "just now",
            "body_text": body.strip()})
        return None
