"""The demo engine's state and its answers to the HUD's control files."""

from __future__ import annotations

import functools
import inspect
import itertools
import json
import os
import tempfile
from collections import deque
from dataclasses import dataclass
from typing import Any, Optional

import entities
import mail
import scenes
from control import ControlFile
from memories import Memories
from drafts import Drafts
from gestures import GesturePlayer
from runtime import EventOutput, Running, Scheduler, log
from scenes import KEEP_STATE, TaskPlan, TextRequest
from storage import FileStore

BOOT_STAGES = ("loading voice models…", "loading memories…", "warming up…")
BOOT_STEP_SECONDS = 0.5
THINK_SECONDS = 0.6
SPEAK_SECONDS = 1.2
ENROL_STEPS = 5
ENROL_STEP_SECONDS = 0.9
RESTART_MARKER = "hud_restart"
HUD_CONFIG = "hud_config.json"

GREETING = ("Hi, I'm the Halvic demo engine — no real assistant behind me. "
            "Type “help” to see what I can show, or try “agents”, “todo”, “enroll” or “record”.")

# Requests of the cards without a demo scene yet: only acknowledged on standard error (and
# consumed, so they do not pile up).
CARD_REQUEST_FILES = (
)


@dataclass
class _Task:
    running: Running
    plan: TaskPlan


class Demo:
    def __init__(self, out: EventOutput, scheduler: Scheduler, control_dir: str) -> None:
        self._out = out
        self._scheduler = scheduler
        self._control_dir = control_dir
        self.muted = False
        self.wake_word = False
        self.gestures = False
        self._hands = GesturePlayer(scheduler)
        self.recording = False
        self._booted = False
        self._inbox: deque[TextRequest] = deque()
        self._reply: Optional[Running] = None
        self._tasks: dict[str, _Task] = {}
        self._task_numbers = itertools.count(1)
        self._plans = itertools.cycle(scenes.TASK_PLANS)
        self._enrolment: Optional[Running] = None
        self._todo: list[dict[str, str]] = [dict(task) for task in scenes.TODO_START]
        self._todo_numbers = itertools.count(1)
        self._todo_arrivals: Optional[Running] = None
        self.drafts = Drafts(self)
        self.files = FileStore(self)
        self._dossiers = entities.Dossiers()
        self._mailbox = mail.Mailbox()
        self._composing: Optional[Running] = None
        self.memories = Memories(self.emit)

    # Output used by the scenes.

    def emit(self, event_type: str, **members: Any) -> None:
        self._out.emit(event_type, **members)

    def say(self, text: str) -> None:
        self.emit("tarvel", text=text)

    def run(self, script) -> Running:
        """Runs a timed script of a card's answer (see runtime.Scheduler)."""
        return self._scheduler.start(script)

    # Start-up and conversation.

    def boot(self) -> None:
        self._scheduler.start(self._boot())

    def _boot(self):
        for stage in BOOT_STAGES:
            self.emit("booting", stage=stage)
            yield BOOT_STEP_SECONDS
        self.emit("ready")
        # A restarted engine starts afresh; tell the HUD, which keeps what the old one said.
        self.emit("muted", on=self.muted)
        self.emit("wake_word", on=self.wake_word)
        self.emit("meeting", on=self.recording)
        self.say(GREETING)
        self.send_todo()
        self._booted = True
        self._answer_next()

    def _answer_next(self) -> None:
        # One answer at a time, in the order the messages came; messages typed while the
        # engine boots wait for it.
        if not self._booted or self._reply is not None or not self._inbox:
            return
        request = self._inbox.popleft()
        self._reply = self._scheduler.start(self._answer(request), on_finish=self._answered)

    def _answered(self, _result: Any) -> None:
        self._reply = None
        self._answer_next()

    def _answer(self, request: TextRequest):
        self.emit("status", state="thinking")
        yield THINK_SECONDS
        outcome = scenes.scene_for(request).play(self, request)
        if inspect.isgenerator(outcome):
            outcome = yield from outcome
        if request.attachments:
            self.say(_attachment_line(request.file_names))
        if outcome is KEEP_STATE:
            return
        if request.want_voice:
            self.emit("status", state="speaking")
            yield SPEAK_SECONDS
        self.emit("status", state="listening")

    # Background agents.

    def next_task_plan(self) -> TaskPlan:
        return next(self._plans)

    def start_task(self, plan: TaskPlan) -> str:
        task_id = f"demo-{next(self._task_numbers)}"
        running = self._scheduler.start(
            self._run_task(task_id, plan), on_finish=lambda _: self._tasks.pop(task_id, None))
        if not running.finished:
            self._tasks[task_id] = _Task(running, plan)
        return task_id

    def _run_task(self, task_id: str, plan: TaskPlan):
        self.emit("task_started", agent=plan.agent, desc=plan.desc, id=task_id)
        for index, note in enumerate(plan.notes):
            yield plan.step
            self.emit("task_progress", id=task_id, note=note)
            if index == plan.stall_after:
                yield plan.step * 2
                self.emit("task_stalled", id=task_id)
                yield plan.step * 2
                self.emit("task_progress", id=task_id, note=plan.recovery)
        yield plan.step
        self.emit("task_done", id=task_id, report=plan.report)

    # The task list of the tasks card.

    def todo_ids(self) -> list[str]:
        return [task["id"] for task in self._todo]

    def send_todo(self) -> None:
        """Sends the whole list; the first time, the planned tasks then arrive one by one (once
        per run: asked again, the list already holds them)."""
        self.emit("tasks", tasks=self._todo)
        if self._todo_arrivals is None:
            self._todo_arrivals = self._scheduler.start(self._todo_arriving())

    def _todo_arriving(self):
        for text, due in scenes.TODO_ARRIVALS:
            yield scenes.TODO_ARRIVAL_SECONDS
            task = {"id": f"todo-new-{next(self._todo_numbers)}", "text": text}
            if due:
                task["due"] = due
            self._todo.insert(0, task)
            self.emit("task_added", **task)

    def on_card_action(self, value: Any) -> None:
        if isinstance(value, dict) and value.get("kind") in ("email", "event"):
            self.drafts.on_action(value)
            return
        if not isinstance(value, dict) or value.get("kind") != "task":
            _acknowledge_card_request("card_action.json", value)
            return
        task_id = value.get("id")
        if value.get("action") != "done" or not isinstance(task_id, str) or not task_id:
            log("card_action.json: a task action without \"done\" and an id; ignored")
            return
        known = any(task["id"] == task_id for task in self._todo)
        self._todo = [task for task in self._todo if task["id"] != task_id]
        text = value.get("text") if isinstance(value.get("text"), str) else ""
        # The HUD took it off already; the event keeps both lists the same all the same.
        self.emit("task_done_evt", id=task_id)
        if known:
            self.say(f"Ticked off: {text or task_id}.")

    # The entity dossier card.

    def show_dossier(self, name: str) -> bool:
        """Sends the profile of `name` at once and its composed dossier a moment later; False
        when the demo does not know the name."""
        entity = self._dossiers.find(name)
        if entity is None:
            return False
        if self._composing is not None:
            # A dossier still being arranged for another entity would land on this one's card.
            self._composing.cancel()
        self._composing = self._scheduler.start(self._compose(entity))
        return True

    def _compose(self, entity: dict[str, Any]):
        self.emit("entity_profile", profile=self._dossiers.profile(entity), composing=True)
        yield entities.COMPOSE_SECONDS
        self.emit("entity_profile", profile=self._dossiers.profile(entity),
                  composed=self._dossiers.composed(entity), composing=False)

    def _refresh_dossier(self, entity: dict[str, Any]) -> None:
        # The same entity without a dossier: the card keeps the composed layout it shows.
        self.emit("entity_profile", profile=self._dossiers.profile(entity))

    def on_entity_action(self, value: Any) -> None:
        cmd = value.get("cmd") if isinstance(value, dict) else None
        if cmd == "show_entity":
            name = value.get("name")
            if not isinstance(name, str) or not name.strip():
                log("entity_action.json: show_entity without a name; ignored")
            elif not self.show_dossier(name):
                self.emit("entity_profile", profile=self._dossiers.unknown_profile(name.strip()))
        elif cmd == "entity_note":
            entity = self._dossiers.add_note(value.get("key"), value.get("text"))
            if entity is not None:
                self._refresh_dossier(entity)
                self.say(f"Noted about {entity['name']}: {value['text'].strip()}")
        elif cmd == "entity_summary":
            entity = self._dossiers.set_summary(value.get("key"), value.get("text"))
            if entity is not None:
                self._refresh_dossier(entity)
                self.say(f"Updated what I know about {entity['name']}.")
        elif cmd == "entity_unrelate":
            entity = self._dossiers.unrelate(value.get("key"), value.get("other"))
            if entity is not None:
                self._refresh_dossier(entity)
                self.say(f"Got it: {entity['name']} and {value['other']} are not related.")
        else:
            log("entity_action.json: not one of the dossier's commands; ignored")

    # The email card.

    def show_mail(self) -> None:
        self.emit("email_thread", **self._mailbox.thread())

    def on_email_action(self, value: Any) -> None:
        action = value.get("action") if isinstance(value, dict) else None
        if not isinstance(value, dict) or value.get("thread_id") != mail.THREAD_ID:
            log("email_action.json: not about the demo's thread; ignored")
        elif action in ("reply", "reply_all"):
            self._scheduler.start(self._send_reply(value.get("body"), action == "reply_all"))
        elif action == "images":
            if self._mailbox.let_images_through(value.get("msg_id")):
                self.show_mail()
        elif action == "attachment":
            self._scheduler.start(self._download(value.get("att_id")))
        elif action == "open_attachment":
            path = value.get("path")
            if isinstance(path, str) and path:
                self.emit("show", path=path)
        elif action != "close":
            log("email_action.json: not one of the email card's actions; ignored")

    def _send_reply(self, body: Any, to_all: bool):
        yield mail.SEND_SECONDS
        error = self._mailbox.reply(body, to_all)
        self.emit("email_reply_sent", thread_id=mail.THREAD_ID, ok=error is None, error=error or "")
        if error is None:
            self.show_mail()

    def _download(self, att_id: Any):
        yield mail.DOWNLOAD_SECONDS
        attachment = self._mailbox.attachment(att_id)
        path = None
        if attachment is not None:
            path = self.write_sample(attachment["filename"], mail.ATTACHMENT_CONTENT.get(att_id, b""))
        self.emit("email_attachment", thread_id=mail.THREAD_ID, msg_id="", att_id=att_id if isinstance(att_id, str) else "",
                  path=path or "", ok=path is not None, error="" if path else "The demo has no such attachment.")

    # Voice enrolment.

    @property
    def enrolling(self) -> bool:
        return self._enrolment is not None

    def start_enrolment(self) -> None:
        self._enrolment = self._scheduler.start(self._enrol(), on_finish=self._enrolled)

    def _enrolled(self, _result: Any) -> None:
        self._enrolment = None

    def _enrol(self):
        for step in range(1, ENROL_STEPS + 1):
            self.emit("enroll", n=step, total=ENROL_STEPS)
            yield ENROL_STEP_SECONDS
        self.emit("locked")
        self.say("Got it — your voice is locked in. I'll answer only to you now.")

    # Restart.

    def request_restart(self) -> bool:
        """Asks the HUD to cycle this engine by leaving its restart marker."""
        try:
            os.makedirs(self._control_dir, exist_ok=True)
            with open(os.path.join(self._control_dir, RESTART_MARKER), "w"):
                pass
        except OSError as error:
            log(f"cannot create {RESTART_MARKER}: {error.strerror}")
            return False
        return True

    # Samples and the HUD's configuration.

    def write_sample(self, name: str, content: bytes) -> Optional[str]:
        """Writes a sample file for a "show" event; its path, or None when it cannot."""
        # Outside the checkout: the temporary folder, one per user.
        folder = os.path.join(tempfile.gettempdir(), f"halvic-demo-samples-{os.getuid()}")
        path = os.path.join(folder, name)
        try:
            os.makedirs(folder, exist_ok=True)
            with open(path, "wb") as sample:
                sample.write(content)
        except OSError as error:
            log(f"cannot write {name}: {error.strerror}")
            return None
        return path

    def write_hud_config(self, idle_opacity: Any) -> bool:
        """Rewrites hud_config.json the way an engine does: whole, by rename."""
        path = os.path.join(self._control_dir, HUD_CONFIG)
        try:
            os.makedirs(self._control_dir, exist_ok=True)
            with open(path + ".tmp", "w", encoding="utf-8") as config:
                json.dump({"idle_opacity": idle_opacity}, config, allow_nan=False)
            os.replace(path + ".tmp", path)
        except OSError as error:
            log(f"cannot write {HUD_CONFIG}: {error.strerror}")
            return False
        except ValueError as error:
            _remove_quietly(path + ".tmp")
            log(f"cannot write {HUD_CONFIG}: {error}")
            return False
        return True

    # Control files.

    def control_files(self) -> list[ControlFile]:
        """The requests this engine answers, in the order each poll handles them."""
        return [
            ControlFile("mute", self.on_mute, marker=True),
            ControlFile("config.json", self.on_config),
            ControlFile("gestures.json", self.on_gestures),
            ControlFile("agent_action.json", self.on_agent_action),
            ControlFile("text_input.json", self.on_text_input),
            ControlFile("card_action.json", self.on_card_action),
            ControlFile("storage_query.json", self.files.on_query),
            ControlFile("storage_action.json", self.files.on_action),
            ControlFile("entity_action.json", self.on_entity_action),
            ControlFile("email_action.json", self.on_email_action),
            ControlFile("memory_query.json", self.memories.on_query),
            ControlFile("memory_action.json", self.memories.on_action),
            ControlFile("graph_query.json", self.memories.on_graph_query),
            ControlFile("graph_action.json", self.memories.on_graph_action),
            *(ControlFile(name, functools.partial(_acknowledge_card_request, name))
              for name in CARD_REQUEST_FILES),
        ]

    def on_mute(self, _value: Any) -> None:
        self.muted = not self.muted
        self.emit("muted", on=self.muted)

    def on_config(self, value: Any) -> None:
        setting = value.get("wake_word") if isinstance(value, dict) else None
        if isinstance(setting, bool):
            self.wake_word = setting
        else:
            log("config.json: no true/false \"wake_word\"; keeping the current setting")
        # Answered either way: the HUD shows its own guess until the engine says otherwise.
        self.emit("wake_word", on=self.wake_word)

    def on_gestures(self, value: Any) -> None:
        setting = value.get("on") if isinstance(value, dict) else None
        if isinstance(setting, bool):
            self.gestures = setting
        else:
            log("gestures.json: no true/false \"on\"; keeping the current setting")
        self.emit("gestures", on=self.gestures)
        self._hands.set_on(self.gestures)

    def on_agent_action(self, value: Any) -> None:
        if not isinstance(value, dict) or value.get("action") != "kill" \
                or not isinstance(value.get("id"), str):
            log("agent_action.json: not a kill request; ignored")
            return
        task_id = value["id"]
        task = self._tasks.pop(task_id, None)
        if task is not None:
            task.running.cancel()
            self.emit("task_done", id=task_id, report=f"Stopped: {task.plan.desc}.")
        elif task_id:
            # Not running here (any more): finishing the chip clears what the HUD still shows.
            self.emit("task_done", id=task_id)
        else:
            # An empty id would finish whichever chip is oldest, possibly a live task's.
            log("agent_action.json: kill without a task id; ignored")

    def on_text_input(self, value: Any) -> None:
        request = TextRequest.from_json(value)
        if request is None:
            log("text_input.json: no text and no attachments; ignored")
            return
        self._inbox.append(request)
        self._answer_next()


def _attachment_line(names: list[str]) -> str:
    shown = names[:8]
    listed = ", ".join(shown) + (f" and {len(names) - len(shown)} more" if len(names) > 8 else "")
    noun = "file" if len(names) == 1 else "files"
    return f"📎 I got {len(names)} {noun}: {listed}. The demo can't open them, but a real engine would."


def _remove_quietly(path: str) -> None:
    try:
        os.unlink(path)
    except OSError:
        pass


def _acknowledge_card_request(name: str, value: Any) -> None:
    kind = (value.get("kind") or value.get("action")) if isinstance(value, dict) else None
    log(f"{name}: received{f' ({kind})' if isinstance(kind, str) else ''}; no demo scene for it yet")
