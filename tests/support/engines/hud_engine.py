# A scripted engine for the HUD's end-to-end tests. It announces itself ready, then prints
# every complete line that the test appends to "feed.jsonl" in its root as an engine event,
# and leaves the control files alone for the test to read. Its pid goes to "engine.pid".
import json
import os
import signal
import sys
import time

root = os.getcwd()
with open(os.path.join(root, "engine.pid"), "a") as pids:
    pids.write(f"{os.getpid()}\n")

signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))


def emit(line):
    sys.stdout.write("@@EVT " + line + "\n")
    sys.stdout.flush()


emit(json.dumps({"type": "booting", "stage": "warming up…"}))
emit(json.dumps({"type": "ready"}))

feed = os.path.join(root, "feed.jsonl")
offset = 0
pending = b""
while True:
    time.sleep(0.05)
    try:
        with open(feed, "rb") as f:
            f.seek(offset)
            chunk = f.read()
    except FileNotFoundError:
        continue
    offset += len(chunk)
    pending += chunk
    *lines, pending = pending.split(b"\n")
    for line in lines:
        if line.strip():
            emit(line.decode("utf-8"))
