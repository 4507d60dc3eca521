"""Demo scenes: what the demo engine does when a typed message holds one of its words.

A scene is a function taking the engine (`demo.Demo`) and the `TextRequest`. It emits events
through the engine; a scene that takes time is a generator and yields the pauses (in seconds)
between its steps. Returning KEEP_STATE skips the usual return to listening afterwards.
To add a scene, write the function and list it in SCENES with its words.
"""

from __future__ import annotations

import math
import os
import re
import struct
import zlib
from dataclasses import dataclass
from typing import TYPE_CHECKING, Any, Callable, Optional

if TYPE_CHECKING:
    from demo import Demo

KEEP_STATE = object()

DOCK_WIDTH_DEFAULT = 340
DOCK_WIDTH_MIN = 260
DOCK_WIDTH_MAX = 760
ECHO_LIMIT = 200
DIM_DEFAULT = 35


@dataclass(frozen=True)
class TextRequest:
    """A message typed in the HUD (text_input.json)."""

    text: str
    attachments: tuple[str, ...]
    want_voice: bool

    @staticmethod
    def from_json(value: Any) -> Optional["TextRequest"]:
        """None when there is nothing to answer (not an object, or no text and no files)."""
        if not isinstance(value, dict):
            return None
        text = value.get("text")
        text = text if isinstance(text, str) else ""
        paths = value.get("attachments")
        paths = paths if isinstance(paths, list) else []
        attachments = tuple(path for path in paths if isinstance(path, str) and path)
        if not text.strip() and not attachments:
            return None
        return TextRequest(text, attachments, value.get("want_voice") is True)

    @property
    def words(self) -> list[str]:
        return re.findall(r"[a-z]+", self.text.lower())

    @property
    def file_names(self) -> list[str]:
        return [os.path.basename(path.rstrip("/")) or path for path in self.attachments]


@dataclass(frozen=True)
class TaskPlan:
    """A scripted background agent: its notes, where it stalls and what it reports."""

    agent: str
    desc: str
    notes: tuple[str, ...]
    stall_after: int  # index of the note after which the agent goes quiet for a while
    recovery: str
    report: str
    step: float = 0.8


TASK_PLANS = (
    TaskPlan("researcher", "find flights to Lisbon in May",
             ("searching three airlines…", "comparing fares…", "checking baggage rules…"),
             stall_after=0, recovery="the airline site answers again",
             report="Found 4 flights to Lisbon in May; the cheapest is €128 on the 14th."),
    TaskPlan("coder", "build the weekly report script",
             ("reading last week's data…", "writing the script…", "running it once…"),
             stall_after=1, recovery="dependency installed — writing again…",
             report="The weekly report script ran cleanly: 12 rows in reports/weekly.csv.",
             step=1.0),
    TaskPlan("runner", "run the nightly backup",
             ("copying documents…", "copying photos…", "verifying the copy…"),
             stall_after=1, recovery="disk woke up — copying again…",
             report="Backup finished: 2,314 files, nothing changed since yesterday.",
             step=0.9),
)


# The tasks card's list as the demo starts, and what arrives later, one every few seconds.
TODO_START = (
    {"id": "todo-1", "text": "Call the dentist to move Thursday's appointment", "due": "today 5 pm"},
    {"id": "todo-2", "text": "Send Maya the slides from the planning meeting"},
    {"id": "todo-3", "text": "Renew the car insurance", "due": "Friday"},
)
TODO_ARRIVALS = (
    ("Pick up the dry cleaning", "tomorrow"),
    ("Book a table for Saturday", ""),
)
TODO_ARRIVAL_SECONDS = 6.0


def help_scene(demo: Demo, request: TextRequest) -> None:
    listing = "; ".join(f"“{scene.words[0]}” {scene.summary}" for scene in SCENES)
    demo.say(f"Demo words: {listing}. Anything else I echo back.")


def agents_scene(demo: Demo, request: TextRequest) -> None:
    demo.say("Starting two background agents — watch the strip above.")
    demo.start_task(TASK_PLANS[0])
    demo.start_task(TASK_PLANS[1])


def task_scene(demo: Demo, request: TextRequest) -> None:
    plan = demo.next_task_plan()
    demo.say(f"On it: I'll {plan.desc} in the background.")
    demo.start_task(plan)


def enroll_scene(demo: Demo, request: TextRequest) -> None:
    if demo.enrolling:
        demo.say("Still learning your voice — keep reading the phrases.")
        return
    demo.say("Let's learn your voice. Read each phrase aloud as it appears.")
    demo.start_enrolment()


def record_scene(demo: Demo, request: TextRequest) -> None:
    demo.recording = not demo.recording
    demo.emit("meeting", on=demo.recording)
    demo.say("Recording the meeting — I'm taking notes." if demo.recording
             else "Stopped recording. The demo keeps no notes.")


def dock_scene(demo: Demo, request: TextRequest) -> None:
    side = "right" if "right" in request.words else "left"
    number = re.search(r"\d+", request.text)
    width = DOCK_WIDTH_DEFAULT if number is None else \
        min(DOCK_WIDTH_MAX, max(DOCK_WIDTH_MIN, int(number.group()[:4])))
    demo.emit("dock", on=True, width=width, side=side)
    demo.say(f"Docked to the {side} edge, {width} points wide. Type “undock” to float again.")


def undock_scene(demo: Demo, request: TextRequest) -> None:
    demo.emit("dock", on=False)
    demo.say("Floating free again.")


def collapse_scene(demo: Demo, request: TextRequest) -> None:
    demo.emit("collapsed", on=True)
    demo.say("Collapsed. Click the pill to expand me.")


def expand_scene(demo: Demo, request: TextRequest) -> None:
    demo.emit("collapsed", on=False)
    demo.say("Expanded again.")


def notify_scene(demo: Demo, request: TextRequest):
    demo.say("Here comes a sample notification.")
    yield 0.5
    demo.emit("notify", text="Reminder: stand-up starts in 5 minutes.")


def todo_scene(demo: Demo, request: TextRequest) -> None:
    if demo.todo_ids():
        demo.say("Here's your list — tick a task off when it's done. More may turn up.")
    else:
        demo.say("Your list is empty — nothing to do.")
    demo.send_todo()


def dossier_scene(demo: Demo, request: TextRequest) -> None:
    # The entity the message names, else the person.
    text = request.text.lower()
    name = "Northwind Studio" if "northwind" in text else "Tom Berg" if "tom" in text else "Maya Okafor"
    demo.show_dossier(name)
    demo.say(f"Here's what I know about {name}. Click a relation to open theirs; "
             "right-click one to remove it; add a note at the bottom.")


def mail_scene(demo: Demo, request: TextRequest) -> None:
    demo.show_mail()
    demo.say("Here's a thread from Maya. Its picture is held back until you ask; "
             "attachments download when you click them; reply at the bottom (“fail” in a reply shows an error).")


def restart_scene(demo: Demo, request: TextRequest):
    demo.say("Restarting the engine — back in a moment.")
    yield 0.3
    if not demo.request_restart():
        demo.say("I couldn't ask the HUD to restart me.")
        return None
    demo.emit("restarting")
    return KEEP_STATE  # the HUD stops this process; a new one boots


def sample_png(width: int, height: int) -> bytes:
    """A small gradient picture as PNG bytes (no image library needed)."""
    def chunk(kind: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(
        b"\0" + bytes(value for x in range(width)
                      for value in (40 + 180 * x // width, 90 + 120 * y // height, 200))
        for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


def picture_scene(demo: Demo, request: TextRequest) -> None:
    path = demo.write_sample("demo-picture.png", sample_png(1040, 640))
    if path is None:
        demo.say("I couldn't make the picture.")
        return
    demo.emit("show", path=path, title="A picture from the demo")
    demo.say("Here's a picture. Close it with the button in its corner.")


def file_scene(demo: Demo, request: TextRequest) -> None:
    path = demo.write_sample("demo-notes.txt", "Notes from the demo engine.\n".encode())
    if path is None:
        demo.say("I couldn't write the notes.")
        return
    demo.emit("show", path=path)
    demo.say("Opening some notes in your usual text application.")


def script_scene(demo: Demo, request: TextRequest) -> None:
    path = demo.write_sample("demo-script.sh", b"#!/bin/sh\necho this never runs\n")
    if path is not None:
        demo.emit("show", path=path)
    demo.say("I asked to show a script; the HUD refuses to open anything that could run.")


def dim_scene(demo: Demo, request: TextRequest) -> None:
    number = re.search(r"\d+(\.\d+)?", request.text)
    opacity = float(number.group()) if number else DIM_DEFAULT
    if not math.isfinite(opacity):
        # JSON has no infinity: writing it would leave the HUD a file it cannot read.
        demo.say("That number is too large for an opacity; hud_config.json stays as it was.")
        return
    if demo.write_hud_config(opacity):
        demo.say(f"hud_config.json now dims me to {opacity:g} after 10 quiet seconds.")
    else:
        demo.say("I couldn't write hud_config.json.")


def email_scene(demo: Demo, request: TextRequest) -> None:
    demo.say("I drafted an email — change anything you like, then send or cancel it.")
    demo.drafts.draft_email()


def event_scene(demo: Demo, request: TextRequest) -> None:
    demo.say("Here's the meeting I'd book — check the time and the guests.")
    demo.drafts.draft_event()


def files_scene(demo: Demo, request: TextRequest) -> None:
    demo.say("Your files: double-click one to open it, drop files on the card to upload.")
    demo.files.send_list()


def echo_scene(demo: Demo, request: TextRequest) -> None:
    text = " ".join(request.text.split())
    if not text:
        return
    if len(text) > ECHO_LIMIT:
        text = text[:ECHO_LIMIT] + "…"
    demo.say(f"You said “{text}”. I'm only the demo engine — type “help” to see what I can show.")


@dataclass(frozen=True)
class Scene:
    words: tuple[str, ...]
    summary: str
    play: Callable[..., Any]


SCENES = (
    Scene(("help",), "lists these words", help_scene),
    Scene(("agents", "agent"), "starts two background agents", agents_scene),
    Scene(("task",), "starts one background agent", task_scene),
    Scene(("enroll", "enrol"), "learns your voice", enroll_scene),
    Scene(("record",), "starts or stops recording a meeting", record_scene),
    Scene(("dock",), "docks the HUD (add “right” or a width)", dock_scene),
    Scene(("undock",), "floats it again", undock_scene),
    Scene(("collapse",), "shrinks it to a pill", collapse_scene),
    Scene(("expand",), "brings it back", expand_scene),
    Scene(("notify",), "sends a notification", notify_scene),
    Scene(("restart",), "restarts the engine", restart_scene),
    Scene(("picture", "image"), "shows a picture in a popup", picture_scene),
    Scene(("file",), "opens a text file in its application", file_scene),
    Scene(("script",), "asks to show a script, which the HUD refuses", script_scene),
    Scene(("dim",), "sets the idle opacity in hud_config.json (add a number)", dim_scene),
    Scene(("inbox", "thread"), "shows an email thread (reply, attachments, images)", mail_scene),
    Scene(("todo", "tasks", "reminders"), "shows your task list (tick tasks off)", todo_scene),
    Scene(("email", "draft", "mail"), "drafts an email to review and send", email_scene),
    Scene(("event", "meeting", "calendar"), "drafts a calendar event to book", event_scene),
    Scene(("files", "storage"), "shows your stored files", files_scene),
    Scene(("dossier", "who", "maya", "northwind", "tom"), "shows a dossier (a person; add “northwind” for the company)",
          dossier_scene),
)

ECHO = Scene((), "echoes the message", echo_scene)

_SCENE_BY_WORD = {word: scene for scene in SCENES for word in scene.words}
assert len(_SCENE_BY_WORD) == sum(len(scene.words) for scene in SCENES), "a word names two scenes"


def scene_for(request: TextRequest) -> Scene:
    """The scene of the first demo word in the message, or the echo."""
    for word in request.words:
        scene = _SCENE_BY_WORD.get(word)
        if scene is not None:
            return scene
    return ECHO
