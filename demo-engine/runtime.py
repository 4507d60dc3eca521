"""Event output, diagnostics and the timed scripts the demo engine runs on.

Everything runs on one thread: a script is a generator that does some work, yields the pause
(in seconds) before its next step, and is resumed by the main loop when that pause is over.
"""

from __future__ import annotations

import heapq
import itertools
import json
import sys
import time
import traceback
from typing import Any, BinaryIO, Callable, Generator, Optional

EVENT_MARKER = "@@EVT "

Script = Generator[float, None, Any]


def log(message: str) -> None:
    """A diagnostic line on standard error; standard output carries only events."""
    try:
        sys.stderr.write(f"demo-engine: {message}\n")
        sys.stderr.flush()
    except (OSError, ValueError):
        pass


class EventOutput:
    """Writes events to standard output, one flushed line each.

    With `as_events` false (EMIT_JSON not set, someone running the engine in a terminal) the
    same events are printed in a readable form instead.
    """

    def __init__(self, stream: BinaryIO, as_events: bool = True) -> None:
        self._stream = stream
        self._as_events = as_events
        self.closed = False

    def emit(self, event_type: str, **members: Any) -> None:
        if self.closed:
            return
        event = {"type": event_type, **members}
        try:
            if self._as_events:
                line = EVENT_MARKER + json.dumps(
                    event, ensure_ascii=False, allow_nan=False, separators=(",", ":"))
            else:
                line = _readable(event)
        except (TypeError, ValueError) as error:
            log(f"dropped an event that cannot be written as JSON: {error}")
            return
        # "replace" keeps a line whole even when a text holds a lone surrogate from the input.
        data = (line + "\n").encode("utf-8", "replace")
        try:
            self._stream.write(data)
            self._stream.flush()
        except (OSError, ValueError):
            # The reader is gone (the HUD quit); nothing we print can reach anyone now.
            self.closed = True


def _readable(event: dict) -> str:
    members = {key: value for key, value in event.items() if key != "type"}
    if set(members) == {"text"}:
        return f"[{event['type']}] {members['text']}"
    return f"[{event['type']}] {json.dumps(members, ensure_ascii=False)}" if members \
        else f"[{event['type']}]"


class Running:
    """A started script. `cancel()` stops it where it waits; it never runs again."""

    def __init__(self, script: Script, on_finish: Optional[Callable[[Any], None]]) -> None:
        self.script = script
        self.on_finish = on_finish
        self.finished = False

    def cancel(self) -> None:
        if self.finished:
            return
        self.finished = True
        try:
            self.script.close()
        except (RuntimeError, ValueError):
            pass  # cancelled from inside its own step; it is marked finished all the same


class Scheduler:
    """Runs scripts: steps each one when its pause is over, in due order.

    Every pause is multiplied by `time_scale`, so tests can run the scenes fast.
    """

    def __init__(self, time_scale: float, clock: Callable[[], float] = time.monotonic) -> None:
        self._time_scale = time_scale
        self._clock = clock
        self._queue: list[tuple[float, int, Running]] = []
        self._order = itertools.count()

    def start(self, script: Script, on_finish: Optional[Callable[[Any], None]] = None) -> Running:
        """Runs the script's first step now; `on_finish` gets its return value when it ends."""
        running = Running(script, on_finish)
        self._step(running)
        return running

    def run_due(self) -> None:
        now = self._clock()
        while self._queue and self._queue[0][0] <= now:
            _, _, running = heapq.heappop(self._queue)
            if not running.finished:
                self._step(running)

    def next_due(self) -> Optional[float]:
        while self._queue and self._queue[0][2].finished:
            heapq.heappop(self._queue)
        return self._queue[0][0] if self._queue else None

    def cancel_all(self) -> None:
        while self._queue:
            heapq.heappop(self._queue)[2].cancel()

    def _step(self, running: Running) -> None:
        try:
            pause = next(running.script)
        except StopIteration as end:
            self._finish(running, end.value)
            return
        except Exception:  # a faulty scene ends that scene, never the engine
            log("a scene failed:\n" + traceback.format_exc().rstrip())
            self._finish(running, None)
            return
        if running.finished:  # cancelled itself during the step
            return
        try:
            seconds = max(0.0, float(pause)) * self._time_scale
        except (TypeError, ValueError):
            seconds = 0.0
        heapq.heappush(self._queue, (self._clock() + seconds, next(self._order), running))

    def _finish(self, running: Running, result: Any) -> None:
        running.finished = True
        if running.on_finish is None:
            return
        try:
            running.on_finish(result)
        except Exception:
            log("a scene's ending failed:\n" + traceback.format_exc().rstrip())
