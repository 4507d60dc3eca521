"""Halvic demo engine: a stand-in for the real assistant, for development and demos.

The HUD starts it like a real engine (`.venv/bin/python -u main.py` in this folder, with
EMIT_JSON=1). It boots, greets, and answers the HUD's control files with scripted scenes;
type "help" in the HUD for the list. Standard library only.

Environment:
  EMIT_JSON=1        print events as "@@EVT {json}" lines (otherwise readably, for a terminal)
  DEMO_TIME_SCALE=f  multiply every pause of the scenes by f (default 1.0; tests use ~0.05)
"""

from __future__ import annotations

import math
import os
import select
import signal
import sys
import time

from control import ControlFolder
from demo import Demo
from runtime import EventOutput, Scheduler, log

POLL_SECONDS = 0.1  # the standard library has no folder notifications, so poll


def time_scale_from(environ) -> float:
    raw = environ.get("DEMO_TIME_SCALE", "")
    if not raw:
        return 1.0
    try:
        scale = float(raw)
    except ValueError:
        scale = math.nan
    if not math.isfinite(scale) or scale < 0:
        log(f"DEMO_TIME_SCALE={raw!r} is not a non-negative number; using 1.0")
        return 1.0
    return scale


class StopRequest:
    """Turns SIGTERM and SIGINT into a flag plus a byte on a pipe that wakes the main loop."""

    def __init__(self) -> None:
        self.requested = False
        self.wake_fd, write_fd = os.pipe()
        os.set_blocking(self.wake_fd, False)
        os.set_blocking(write_fd, False)
        signal.set_wakeup_fd(write_fd, warn_on_full_buffer=False)
        for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(number, self._on_signal)

    def _on_signal(self, number, _frame) -> None:
        self.requested = True

    def wait(self, seconds: float) -> None:
        """Sleeps up to `seconds`, returning at once when a signal arrives."""
        try:
            ready, _, _ = select.select([self.wake_fd], [], [], max(0.0, seconds))
        except InterruptedError:
            return
        if ready:
            try:
                while os.read(self.wake_fd, 512):
                    pass
            except BlockingIOError:
                pass


def run() -> int:
    stop = StopRequest()
    root = os.path.dirname(os.path.abspath(__file__))
    out = EventOutput(sys.stdout.buffer, as_events=os.environ.get("EMIT_JSON") == "1")
    scheduler = Scheduler(time_scale_from(os.environ))
    demo = Demo(out, scheduler, os.path.join(root, "control"))
    control = ControlFolder(os.path.join(root, "control"), demo.control_files())
    control.prepare()
    log(f"started (pid {os.getpid()}), watching {control.path}")

    demo.boot()
    next_poll = time.monotonic()
    while not stop.requested and not out.closed:
        scheduler.run_due()
        now = time.monotonic()
        if now >= next_poll:
            control.poll()
            next_poll = now + POLL_SECONDS
        due = scheduler.next_due()
        deadline = next_poll if due is None else min(due, next_poll)
        stop.wait(deadline - time.monotonic())

    scheduler.cancel_all()
    log("stopped" if stop.requested else "output closed; stopping")
    if out.closed:
        # Keep the interpreter from complaining about the broken pipe while it shuts down.
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, sys.stdout.fileno())
        os.close(devnull)
    return 0


if __name__ == "__main__":
    sys.exit(run())
