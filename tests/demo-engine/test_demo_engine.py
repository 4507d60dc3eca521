"""The demo engine, run as a real process in a private engine root, driven through its control
folder the way the HUD drives it, and read back from its standard output."""

import json
import os
import queue
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import threading
import time
import unittest
from pathlib import Path

ENGINE_SOURCE = Path(__file__).resolve().parents[2] / "demo-engine"
PYTHON = "/usr/bin/python3"
FAST = 0.05
MARKER = b"@@EVT "


def contains(*parts):
    return lambda value: isinstance(value, str) and all(part in value for part in parts)


def ev(event_type, **members):
    return {"type": event_type, **members}


ANSWERED = {"type": "status", "state": "listening"}


def matches(event, expected):
    for key, want in expected.items():
        got = event.get(key, KeyError)
        if not (want(got) if callable(want) else got == want):
            return False
    return True


class Engine:
    """One demo engine process in a temporary root of its own."""

    def __init__(self, scale=FAST, emit_json=True, read_stdout=True):
        self.root = Path(tempfile.mkdtemp(prefix="demo-engine-test-"))
        for source in ENGINE_SOURCE.glob("*.py"):
            shutil.copy(source, self.root)
        self.control = self.root / "control"
        self.emit_json = emit_json
        # The engine's hand datagrams come here, never to a HUD that may run on this machine.
        self.hands = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.hands.bind(("127.0.0.1", 0))
        env = dict(os.environ, PYTHONUNBUFFERED="1", PYTHONDONTWRITEBYTECODE="1",
                   DEMO_TIME_SCALE=str(scale), DEMO_GESTURE_PORT=str(self.hands.getsockname()[1]))
        env.pop("EMIT_JSON", None)
        if emit_json:
            env["EMIT_JSON"] = "1"
        self.proc = subprocess.Popen([PYTHON, "-u", str(self.root / "main.py")], cwd=self.root,
                                     env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.raw_lines = []
        self.seen = []
        self.stderr = []
        self._events = queue.Queue()
        self._readers = [threading.Thread(target=self._read_stderr, daemon=True)]
        if read_stdout:
            self._readers.append(threading.Thread(target=self._read_stdout, daemon=True))
        for reader in self._readers:
            reader.start()

    def _read_stdout(self):
        for line in self.proc.stdout:
            self.raw_lines.append(line)
            if line.startswith(MARKER):
                try:
                    self._events.put(json.loads(line[len(MARKER):]))
                except ValueError:
                    pass

    def _read_stderr(self):
        for line in self.proc.stderr:
            self.stderr.append(line.decode("utf-8", "replace"))

    def next_event(self, expected, timeout=3.0):
        """The next event matching `expected`; every event passed over is kept in `seen`."""
        deadline = time.monotonic() + timeout
        while True:
            remaining = deadline - time.monotonic()
            try:
                event = self._events.get(timeout=max(0.0, remaining))
            except queue.Empty:
                raise AssertionError(f"no event like {expected} within {timeout} s; "
                                     f"last events: {self.seen[-8:]}; stderr: {self.stderr[-5:]}")
            self.seen.append(event)
            if matches(event, expected):
                return event

    def expect(self, sequence, timeout=3.0):
        return [self.next_event(expected, timeout) for expected in sequence]

    def wait_greeting(self):
        self.next_event(ev("ready"))
        self.next_event(ev("tarvel", text=contains("help")))

    def write(self, name, content, atomic=True):
        """Writes a request the way the HUD does: a temporary file renamed over the name."""
        data = content if isinstance(content, bytes) else json.dumps(content).encode()
        self.control.mkdir(exist_ok=True)
        target = self.control / name
        if not atomic:
            target.write_bytes(data)
            return
        temporary = self.control / f"{name}.q7Xz2a"
        temporary.write_bytes(data)
        os.replace(temporary, target)

    def say(self, text, attachments=(), want_voice=False):
        self.write("text_input.json",
                   {"text": text, "attachments": list(attachments), "want_voice": want_voice})

    def wait_consumed(self, name, timeout=3.0):
        deadline = time.monotonic() + timeout
        while (self.control / name).exists():
            if time.monotonic() > deadline:
                raise AssertionError(f"{name} was not consumed within {timeout} s")
            time.sleep(0.02)

    def round_trip(self):
        """Everything the engine did for earlier requests is in `seen` once this returns."""
        self.write("gestures.json", {"on": False})
        self.next_event(ev("gestures"))

    def signal(self, number, timeout=2.0):
        self.proc.send_signal(number)
        return self.proc.wait(timeout)

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        for reader in self._readers:
            reader.join(2)
        for stream in (self.proc.stdout, self.proc.stderr):
            stream.close()
        self.hands.close()
        shutil.rmtree(self.root, ignore_errors=True)


class EngineTestCase(unittest.TestCase):
    def start(self, **options):
        engine = Engine(**options)
        self.addCleanup(self._finish, engine)
        return engine

    def _finish(self, engine):
        try:
            if engine.proc.poll() is None:
                self.assertEqual(engine.signal(signal.SIGTERM), 0, "exit code on SIGTERM")
            for reader in engine._readers:
                reader.join(2)
            if engine.emit_json:
                self.assertOutputIsEvents(engine.raw_lines)
        finally:
            engine.close()

    def assertOutputIsEvents(self, lines):
        for line in lines:
            self.assertTrue(line.startswith(MARKER) and line.endswith(b"\n"), line)
            event = json.loads(line[len(MARKER):].decode("utf-8"))
            self.assertIsInstance(event, dict, line)
            self.assertIsInstance(event.get("type"), str, line)


class BootTest(EngineTestCase):
    def test_boots_in_stages_then_greets(self):
        engine = self.start()
        engine.wait_greeting()
        before_ready = engine.seen[:engine.seen.index(ev("ready"))]
        self.assertGreaterEqual(len(before_ready), 2)
        for event in before_ready:
            self.assertEqual(event["type"], "booting")
            self.assertTrue(event.get("stage"), event)
        self.assertTrue(engine.control.is_dir())

    def test_readable_output_without_emit_json(self):
        engine = self.start(emit_json=False)
        deadline = time.monotonic() + 3
        while not any(b"[ready]" in line for line in engine.raw_lines):
            self.assertLess(time.monotonic(), deadline, engine.raw_lines)
            time.sleep(0.02)
        self.assertFalse([line for line in engine.raw_lines if MARKER in line])


class ControlFileTest(EngineTestCase):
    def test_requests_get_their_events(self):
        cases = [
            ("wake word on", "config.json", {"wake_word": True}, [ev("wake_word", on=True)]),
            ("wake word off", "config.json", {"wake_word": False}, [ev("wake_word", on=False)]),
            ("mistyped wake word keeps the setting", "config.json", {"wake_word": "yes"},
             [ev("wake_word", on=False)]),
            ("gestures on", "gestures.json", {"on": True}, [ev("gestures", on=True)]),
            ("gestures off", "gestures.json", {"on": False}, [ev("gestures", on=False)]),
            ("kill of a task not running", "agent_action.json", {"action": "kill", "id": "t9"},
             [ev("task_done", id="t9")]),
            ("help lists the scenes", "text_input.json", {"text": "help"},
             [ev("status", state="thinking"),
              ev("tarvel", text=contains("agents", "enroll", "record", "dock")), ANSWERED]),
            ("spoken answer", "text_input.json", {"text": "Hello there", "want_voice": True},
             [ev("status", state="thinking"), ev("tarvel", text=contains("Hello there")),
              ev("status", state="speaking"), ANSWERED]),
            ("attachments by name", "text_input.json",
             {"text": "", "attachments": ["/tmp/a/report.pdf", "/home/u/shot.png"]},
             [ev("tarvel", text=contains("report.pdf", "shot.png")), ANSWERED]),
            ("record", "text_input.json", {"text": "record this"},
             [ev("meeting", on=True), ANSWERED]),
            ("dock right", "text_input.json", {"text": "dock right 400"},
             [ev("dock", on=True, side="right", width=400), ANSWERED]),
            ("dock width clamped", "text_input.json", {"text": "dock 9999"},
             [ev("dock", on=True, side="left", width=760), ANSWERED]),
            ("undock", "text_input.json", {"text": "undock"}, [ev("dock", on=False), ANSWERED]),
            ("collapse", "text_input.json", {"text": "collapse"},
             [ev("collapsed", on=True), ANSWERED]),
            ("expand", "text_input.json", {"text": "Expand!"},
             [ev("collapsed", on=False), ANSWERED]),
            ("notify", "text_input.json", {"text": "notify me"},
             [ev("notify", text=contains("Reminder")), ANSWERED]),
        ]
        for label, name, content, expected in cases:
            with self.subTest(label):
                engine = self.start()
                engine.wait_greeting()
                engine.write(name, content)
                engine.expect(expected)
                engine.wait_consumed(name)

    def test_memories_are_searched_corrected_forgotten_and_graphed(self):
        engine = self.start()
        engine.wait_greeting()
        engine.write("memory_query.json", {"q": "LISBON"})
        found = engine.next_event(ev("memories", q="LISBON"))
        self.assertEqual([item["text"] for item in found["items"]], ["Ann Lee — sister, lives in Lisbon"])
        self.assertTrue(found["items"][0]["linked"])
        memory_id = found["items"][0]["id"]
        engine.write("memory_action.json",
                     {"action": "edit", "id": memory_id, "text": "Ann Lee — sister, lives in Porto", "q": ""})
        corrected = engine.next_event(ev("memories", q=""))
        self.assertIn("Ann Lee — sister, lives in Porto", [item["text"] for item in corrected["items"]])
        engine.write("memory_action.json", {"action": "forget", "id": memory_id, "text": "x", "q": ""})
        engine.next_event(ev("memory_forgotten", id=memory_id))
        # Each request of the graph finds it grown, without the forgotten memory.
        engine.write("graph_query.json", {})
        first = engine.next_event(ev("graph"))
        engine.wait_consumed("graph_query.json")
        engine.write("graph_query.json", {})
        second = engine.next_event(ev("graph"))
        self.assertGreater(len(second["nodes"]), len(first["nodes"]))
        self.assertNotIn(memory_id, [node["id"] for node in second["nodes"]])
        ids = {node["id"] for node in second["nodes"]}
        self.assertTrue(all(edge["from"] in ids and edge["to"] in ids for edge in second["edges"]))
        joined = {frozenset((e["from"], e["to"])) for e in second["edges"]}
        a, b = next((x["id"], y["id"]) for x in second["nodes"] for y in second["nodes"]
                    if x != y and frozenset((x["id"], y["id"])) not in joined)
        engine.write("graph_action.json", {"action": "link", "a": a, "b": b})
        linked = engine.next_event(ev("graph"))
        self.assertIn({"from": a, "to": b, "type": "related"}, linked["edges"])
        engine.wait_consumed("graph_action.json")
        engine.write("graph_action.json", {"action": "unlink", "a": b, "b": a})
        cut = engine.next_event(ev("graph"))
        self.assertFalse([e for e in cut["edges"] if {e["from"], e["to"]} == {a, b}])

    def test_show_scenes_write_the_files_they_name(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("show me a picture")
        event = engine.next_event(ev("show", path=contains("demo-picture.png"), title=contains("picture")))
        data = Path(event["path"]).read_bytes()
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(struct.unpack(">II", data[16:24]), (1040, 640))
        engine.next_event(ANSWERED)
        engine.say("a script please")
        event = engine.next_event(ev("show", path=contains("demo-script.sh")))
        self.assertTrue(Path(event["path"]).read_bytes().startswith(b"#!/bin/sh"))
        engine.say("open a file")
        event = engine.next_event(ev("show", path=contains("demo-notes.txt")))
        self.assertTrue(Path(event["path"]).is_file())
        # Samples are written outside the engine's folder (never into a checkout).
        self.assertFalse(Path(event["path"]).resolve().is_relative_to(Path(engine.root).resolve()))

    def test_dim_rewrites_the_hud_config(self):
        engine = self.start()
        engine.wait_greeting()
        for text, opacity in (("dim", 35), ("dim to 0.6", 0.6), ("dim 80", 80)):
            with self.subTest(text):
                engine.say(text)
                engine.next_event(ev("tarvel", text=contains("hud_config.json")))
                config = json.loads((engine.control / "hud_config.json").read_text())
                self.assertEqual(config, {"idle_opacity": opacity})
                engine.next_event(ANSWERED)

    def test_dim_with_a_number_too_large_keeps_the_config_valid(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("dim 50")
        engine.next_event(ANSWERED)
        # Four hundred digits are more than a float holds: no "Infinity" may reach the file.
        engine.say("dim " + "9" * 400)
        engine.next_event(ev("tarvel", text=contains("number")))
        engine.next_event(ANSWERED)

        def reject(constant):
            raise ValueError(f"not JSON: {constant}")

        config = json.loads((engine.control / "hud_config.json").read_text(), parse_constant=reject)
        self.assertEqual(config, {"idle_opacity": 50})

    def test_restart_leaves_the_marker_for_the_hud(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("restart")
        engine.next_event(ev("restarting"))
        engine.round_trip()
        self.assertTrue((engine.control / "hud_restart").exists())
        self.assertFalse((engine.control / "text_input.json").exists())

    def test_mute_toggles_alternate(self):
        engine = self.start()
        engine.wait_greeting()
        for expected in (True, False, True):
            engine.write("mute", b"", atomic=False)
            engine.next_event(ev("muted", on=expected))
            engine.wait_consumed("mute")

    def test_messages_typed_while_booting_are_answered_after_ready(self):
        engine = self.start(scale=0.3)
        engine.next_event(ev("booting"))
        engine.say("first")
        engine.next_event(ev("ready"))
        self.assertNotIn(ev("status", state="thinking"), engine.seen)
        engine.say("second")
        engine.expect([ev("tarvel", text=contains("first")), ANSWERED], timeout=4)
        engine.expect([ev("tarvel", text=contains("second")), ANSWERED], timeout=4)


class SceneTest(EngineTestCase):
    def test_agents_report_progress_stall_and_finish(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("show me agents")
        done = [engine.next_event(ev("task_done")) for _ in range(2)]
        for task_id in {event["id"] for event in done}:
            events = [event for event in engine.seen if event.get("id") == task_id]
            kinds = [event["type"] for event in events]
            stall = kinds.index("task_stalled")
            self.assertEqual(kinds[0], "task_started")
            self.assertIn("task_progress", kinds[1:stall])
            self.assertIn("task_progress", kinds[stall + 1:])
            self.assertEqual(kinds.count("task_stalled"), 1)
            self.assertEqual(kinds[-1], "task_done")
            self.assertTrue(events[-1].get("report"))

    def test_enrolment_counts_up_then_locks(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("enroll")
        steps = [engine.next_event(ev("enroll", n=n, total=5)) for n in range(1, 6)]
        self.assertEqual(len(steps), 5)
        engine.next_event(ev("locked"))

    def test_kill_requests(self):
        cases = [
            ("kill stops the task", {"action": "kill"}, True),
            ("empty id finishes nothing", {"action": "kill", "id": ""}, False),
            ("other action ignored", {"action": "pause"}, False),
            ("no action ignored", {}, False),
        ]
        for label, request, stops in cases:
            with self.subTest(label):
                # Slow enough that the kill lands long before the task would end by itself.
                engine = self.start(scale=0.2)
                engine.wait_greeting()
                engine.say("start a task")
                task_id = engine.next_event(ev("task_started"))["id"]
                request.setdefault("id", task_id)
                engine.write("agent_action.json", request)
                if stops:
                    stopped = engine.next_event(
                        ev("task_done", id=task_id, report=contains("Stopped")))
                    time.sleep(0.5)  # longer than the task's longest pause at this scale
                    engine.round_trip()
                    after = engine.seen[engine.seen.index(stopped) + 1:]
                    self.assertFalse([event for event in after if event.get("id") == task_id])
                else:
                    engine.wait_consumed("agent_action.json")
                    engine.round_trip()
                    self.assertNotIn("task_done", [event["type"] for event in engine.seen])
                    self.assertIsNone(engine.proc.poll())


class TodoTest(EngineTestCase):
    def test_list_sent_at_start_then_tasks_arrive(self):
        engine = self.start()
        listed = engine.next_event(ev("tasks"))
        ids = [task["id"] for task in listed["tasks"]]
        self.assertGreaterEqual(len(ids), 2)
        for task in listed["tasks"]:
            self.assertIsInstance(task["text"], str)
            self.assertIsInstance(task.get("due", ""), str)
        added = [engine.next_event(ev("task_added")) for _ in range(2)]
        new_ids = [event["id"] for event in added]
        self.assertEqual(len(set(ids + new_ids)), len(ids) + 2, "every task has its own id")
        self.assertTrue(all(event["text"] for event in added))
        # Asked again, the list holds the new tasks on top.
        engine.say("show my todo list")
        self.assertEqual([task["id"] for task in engine.next_event(ev("tasks"))["tasks"]],
                         new_ids[::-1] + ids)
        # Asked once more, nothing arrives a second time.
        engine.say("todo")
        listed = engine.next_event(ev("tasks"))["tasks"]
        texts = [task["text"] for task in listed]
        self.assertEqual(len(texts), len(set(texts)))
        time.sleep(1.0)  # longer than both arrivals take at this time scale
        engine.round_trip()
        self.assertEqual(sum(1 for event in engine.seen if event.get("type") == "task_added"), 2)

    def test_ticked_tasks_leave_the_list(self):
        cases = [
            ("tick", {"kind": "task", "action": "done", "id": "todo-2", "text": "Send Maya"},
             [ev("task_done_evt", id="todo-2"), ev("tarvel", text=contains("Send Maya"))], "todo-2"),
            ("tick without text", {"kind": "task", "action": "done", "id": "todo-1", "text": ""},
             [ev("task_done_evt", id="todo-1")], "todo-1"),
            ("unknown id", {"kind": "task", "action": "done", "id": "nope", "text": ""},
             [ev("task_done_evt", id="nope")], None),
            ("no id", {"kind": "task", "action": "done"}, [], None),
            ("compose card's kind", {"kind": "email", "draft_id": "d1", "action": "send"}, [], None),
        ]
        for label, request, expected, gone in cases:
            with self.subTest(label):
                engine = self.start()
                engine.wait_greeting()
                start = [task["id"] for task in engine.next_event(ev("tasks"))["tasks"]]
                engine.write("card_action.json", request)
                engine.expect(expected)
                engine.wait_consumed("card_action.json")
                engine.say("todo")
                now = [task["id"] for task in engine.next_event(ev("tasks"))["tasks"]]
                self.assertEqual([i for i in now if i in start], [i for i in start if i != gone])
                self.assertIsNone(engine.proc.poll())


class GesturePlayerTest(EngineTestCase):
    def datagrams(self, engine, until, timeout=5.0):
        engine.hands.settimeout(timeout)
        received = []
        while True:
            data, sender = engine.hands.recvfrom(65536)
            self.assertEqual(sender[0], "127.0.0.1")
            received.append(json.loads(data))
            if until(received[-1]):
                return received

    def test_gestures_on_plays_a_hand_path_that_never_clicks(self):
        engine = self.start()
        engine.wait_greeting()
        engine.write("gestures.json", {"on": True})
        engine.next_event(ev("gestures", on=True))
        played = self.datagrams(engine, lambda d: d.get("name") == "disarm")
        self.assertEqual([d.get("name") for d in played[:2]], ["ready", "arm"])
        frames = [d for d in played if d.get("t") == "hands"]
        self.assertGreater(len(frames), 100)
        for frame in frames[:-1]:
            (hand,) = frame["hands"]
            self.assertEqual(hand["hand"], "R")
            self.assertTrue(0 <= hand["x"] <= 1 and 0 <= hand["y"] <= 1)
        self.assertIn("pinch", {frame["hands"][0]["pose"] for frame in frames[:-1]})
        # Only the pointer moves: no pinch, click or fist events.
        self.assertEqual({d.get("name") for d in played if "name" in d}, {"ready", "arm", "disarm"})

    def test_gestures_off_disarms_at_once(self):
        engine = self.start(scale=1.0)
        engine.wait_greeting()
        engine.write("gestures.json", {"on": True})
        self.datagrams(engine, lambda d: d.get("t") == "hands")
        engine.write("gestures.json", {"on": False})
        engine.next_event(ev("gestures", on=False))
        self.datagrams(engine, lambda d: d.get("name") == "disarm", timeout=2.0)


class RobustnessTest(EngineTestCase):
    def test_bad_requests_are_dropped_and_the_engine_keeps_answering(self):
        cases = [
            ("not JSON", "text_input.json", b"{not json"),
            ("empty", "text_input.json", b""),
            ("not UTF-8", "text_input.json", b'{"text": "\xff\xfe"}'),
            ("deeply nested", "text_input.json", b"[" * 100000),
            ("array", "text_input.json", b"[1, 2]"),
            ("string", "text_input.json", b'"help"'),
            ("mistyped text", "text_input.json", b'{"text": 5, "attachments": "x"}'),
            ("huge", "text_input.json", b'{"text": "' + b"a" * (2 << 20) + b'"}'),
            ("lone surrogate", "text_input.json", b'{"text": "hi \\ud800"}'),
            ("gestures as array", "gestures.json", b"[]"),
            ("card request", "card_action.json", b'{"kind": "task", "action": "done"}'),
            ("agent action as number", "agent_action.json", b"7"),
        ]
        engine = self.start()
        engine.wait_greeting()
        # Not requests: a temporary file of the HUD, a FIFO and a folder under request names.
        engine.write("text_input.json.Ab12Cd", {"text": "agents"}, atomic=False)
        os.mkfifo(engine.control / "config.json")
        (engine.control / "memory_query.json").mkdir()
        for label, name, content in cases:
            with self.subTest(label):
                engine.write(name, content)
                engine.wait_consumed(name)
                self.assertIsNone(engine.proc.poll())
        engine.say("help")
        engine.next_event(ev("tarvel", text=contains("Demo words")))
        engine.round_trip()
        self.assertTrue((engine.control / "text_input.json.Ab12Cd").exists())
        self.assertNotIn("task_started", [event["type"] for event in engine.seen])

    def test_request_written_in_place_is_answered_once_complete(self):
        engine = self.start()
        engine.wait_greeting()
        engine.control.mkdir(exist_ok=True)
        with open(engine.control / "text_input.json", "wb") as request:
            request.write(b'{"text": "half')
            request.flush()
            time.sleep(0.25)  # a few polls see the unfinished file
            request.write(b' and whole"}')
        engine.next_event(ev("tarvel", text=contains("half and whole")))
        engine.wait_consumed("text_input.json")
        engine.round_trip()
        thinking = [event for event in engine.seen if event == ev("status", state="thinking")]
        self.assertEqual(len(thinking), 1)


class StopTest(EngineTestCase):
    def test_signals_end_it_cleanly(self):
        cases = [
            ("SIGTERM when idle", signal.SIGTERM, None),
            ("SIGINT when idle", signal.SIGINT, None),
            ("SIGTERM while agents run", signal.SIGTERM, "agents"),
            ("SIGTERM while booting", signal.SIGTERM, "booting"),
        ]
        for label, number, moment in cases:
            with self.subTest(label):
                engine = self.start(scale=1.0 if moment == "booting" else FAST)
                if moment == "booting":
                    engine.next_event(ev("booting"))
                else:
                    engine.wait_greeting()
                if moment == "agents":
                    engine.say("agents")
                    engine.next_event(ev("task_started"))
                self.assertEqual(engine.signal(number), 0)

    def test_stops_when_its_reader_goes_away(self):
        engine = self.start(read_stdout=False)
        while b"help" not in engine.proc.stdout.readline():  # up to the greeting
            self.assertIsNone(engine.proc.poll())
        engine.proc.stdout.close()  # the HUD is gone; the next event cannot be written
        engine.write("mute", b"", atomic=False)
        self.assertEqual(engine.proc.wait(3), 0)
        self.assertFalse([line for line in engine.stderr if "Traceback" in line])


class DossierTest(EngineTestCase):
    def test_profile_then_composed_dossier_and_the_four_commands(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("who is maya?")
        first = engine.next_event(ev("entity_profile"))
        self.assertIs(first["composing"], True)
        self.assertNotIn("composed", first)
        profile = first["profile"]
        self.assertEqual(profile["entity"]["key"], "demo:maya")
        self.assertEqual(profile["entity"]["etype"], "person")
        others = [relation["other"] for relation in profile["relations"]]
        self.assertIn("Northwind Studio", others)
        # A moment later the composed layout, for the same entity.
        composed = engine.next_event(ev("entity_profile", composing=False))
        self.assertEqual(composed["profile"]["entity"]["key"], "demo:maya")
        types = [section["type"] for section in composed["composed"]["sections"]]
        self.assertTrue({"text", "chips", "list", "kv"} <= set(types), types)

        # A relation opened: the company, with its own relations.
        engine.write("entity_action.json", {"cmd": "show_entity", "name": "Northwind Studio"})
        company = engine.next_event(ev("entity_profile"))["profile"]
        self.assertEqual(company["entity"]["etype"], "company")
        self.assertIn("Maya Okafor", [relation["other"] for relation in company["relations"]])
        engine.next_event(ev("entity_profile", composing=False))

        # A note, a summary and a removed relation each come back as the updated profile
        # alone (the card keeps the composed layout it shows).
        engine.write("entity_action.json", {"cmd": "entity_note", "key": "demo:northwind", "text": "Moving in May"})
        noted = engine.next_event(ev("entity_profile"))
        self.assertNotIn("composed", noted)
        self.assertIn("Moving in May", [fact["fact"] for fact in noted["profile"]["facts_by_kind"]["fact"]])
        engine.wait_consumed("entity_action.json")
        engine.write("entity_action.json", {"cmd": "entity_summary", "key": "demo:northwind", "text": "A studio."})
        self.assertEqual(engine.next_event(ev("entity_profile"))["profile"]["summary"], "A studio.")
        engine.wait_consumed("entity_action.json")
        engine.write("entity_action.json", {"cmd": "entity_unrelate", "key": "demo:northwind", "other": "Tom Berg"})
        unrelated = engine.next_event(ev("entity_profile"))["profile"]
        self.assertNotIn("Tom Berg", [relation["other"] for relation in unrelated["relations"]])
        self.assertEqual(unrelated["counts"]["relations"], len(unrelated["relations"]))

        # An unknown name still answers, so the card stops waiting; other commands do nothing.
        engine.wait_consumed("entity_action.json")
        engine.write("entity_action.json", {"cmd": "show_entity", "name": "Nobody Known"})
        unknown = engine.next_event(ev("entity_profile"))["profile"]
        self.assertEqual(unknown["entity"]["name"], "Nobody Known")
        answered = len(engine.seen)
        for request in ({"cmd": "forget_everything", "key": "demo:maya"}, {"cmd": "entity_note", "key": "nope",
                                                                          "text": "x"}, ["show_entity"]):
            engine.wait_consumed("entity_action.json")
            engine.write("entity_action.json", request)
        engine.wait_consumed("entity_action.json")
        engine.round_trip()
        self.assertNotIn("entity_profile", [event["type"] for event in engine.seen[answered:]])
        self.assertIsNone(engine.proc.poll())


class MailTest(EngineTestCase):
    def test_thread_images_attachments_and_replies(self):
        engine = self.start()
        engine.wait_greeting()
        engine.say("show my inbox")
        thread = engine.next_event(ev("email_thread"))
        self.assertEqual(thread["thread_id"], "demo-thread-1")
        held = [m for m in thread["messages"] if m.get("images_blocked")]
        self.assertEqual(len(held), 1)
        action = {"thread_id": "demo-thread-1", "account": thread["account"]}

        # Images let through: the same thread again, nothing held back.
        engine.write("email_action.json", {**action, "action": "images", "msg_id": held[0]["msg_id"]})
        again = engine.next_event(ev("email_thread"))
        self.assertFalse([m for m in again["messages"] if m.get("images_blocked")])

        # A download arrives as a file on disk.
        engine.wait_consumed("email_action.json")
        engine.write("email_action.json", {**action, "action": "attachment", "msg_id": "m2", "att_id": "a2",
                                           "filename": "agenda.txt"})
        ready = engine.next_event(ev("email_attachment"))
        self.assertIs(ready["ok"], True)
        with open(ready["path"], encoding="utf-8") as downloaded:
            self.assertIn("Friday agenda", downloaded.read())

        # A reply joins the thread; one the server refuses comes back as an error.
        engine.wait_consumed("email_action.json")
        engine.write("email_action.json", {**action, "action": "reply", "msg_id": "m2", "body": "Thanks!"})
        self.assertEqual(engine.next_event(ev("email_reply_sent"))["ok"], True)
        replied = engine.next_event(ev("email_thread"))
        self.assertEqual(replied["messages"][-1]["body_text"], "Thanks!")
        self.assertIs(replied["messages"][-1]["outgoing"], True)
        engine.wait_consumed("email_action.json")
        engine.write("email_action.json", {**action, "action": "reply_all", "msg_id": "m3", "body": "please fail"})
        refused = engine.next_event(ev("email_reply_sent"))
        self.assertIs(refused["ok"], False)
        self.assertTrue(refused["error"])
        self.assertIsNone(engine.proc.poll())


if __name__ == "__main__":
    unittest.main()
