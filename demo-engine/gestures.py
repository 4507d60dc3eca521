"""A small hand-tracker stand-in: while hand gestures are on, it sends the HUD a scripted hand
path as UDP datagrams on the loopback interface, the way a camera tracker would.

It only moves the pointer and shows poses: it never sends pinches, right clicks or fists, so
turning gestures on in the demo cannot click anything on the user's desktop.
"""

from __future__ import annotations

import json
import math
import os
import socket
from typing import Optional

from runtime import Running, Scheduler, log

GESTURE_PORT = 47831
FRAME_SECONDS = 1 / 30
PATH_SECONDS = 6.0


def gesture_port() -> int:
    """The HUD's port; DEMO_GESTURE_PORT moves it for tests."""
    try:
        port = int(os.environ.get("DEMO_GESTURE_PORT", GESTURE_PORT))
    except ValueError:
        return GESTURE_PORT
    return port if 0 < port < 65536 else GESTURE_PORT


def hand_at(t: float) -> dict:
    """The right hand on a slow figure eight around the middle of the display, at t in [0, 1]."""
    angle = 2 * math.pi * t
    pose = "pinch" if 0.45 <= t < 0.55 else "point"
    return {"hand": "R", "x": round(0.5 + 0.18 * math.sin(angle), 4),
            "y": round(0.5 + 0.12 * math.sin(2 * angle), 4), "pose": pose}


class GesturePlayer:
    def __init__(self, scheduler: Scheduler) -> None:
        self._scheduler = scheduler
        self._running: Optional[Running] = None
        self._socket: Optional[socket.socket] = None

    def set_on(self, on: bool) -> None:
        if on and self._running is None:
            self._running = self._scheduler.start(self._play(), on_finish=self._finished)
        elif not on and self._running is not None:
            running, self._running = self._running, None
            running.cancel()
            self._send({"name": "disarm"})

    def _finished(self, _result) -> None:
        self._running = None

    def _send(self, datagram: dict) -> None:
        try:
            if self._socket is None:
                self._socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
            self._socket.sendto(json.dumps(datagram, separators=(",", ":")).encode("utf-8"),
                                ("127.0.0.1", gesture_port()))
        except OSError as error:
            # Nobody listening is fine (UDP); anything else only costs the demo its hands.
            log(f"gesture datagram not sent: {error.strerror}")

    def _play(self):
        self._send({"name": "ready"})
        self._send({"name": "arm"})
        frames = int(PATH_SECONDS / FRAME_SECONDS)
        for frame in range(frames + 1):
            self._send({"t": "hands", "armed": True, "hands": [hand_at(frame / frames)]})
            yield FRAME_SECONDS
        self._send({"t": "hands", "armed": False, "hands": []})
        self._send({"name": "disarm"})
