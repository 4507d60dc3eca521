# Shared start of the scripted engines the tests write into a private engine root.
# Every engine records its pid, one line per start, so tests can count and check processes.
import json, os, signal, sys, time
with open(os.path.join(os.getcwd(), "pids"), "a") as f:
    f.write(f"{os.getpid()}\n")
def emit(**event):
    print("@@EVT " + json.dumps(event), flush=True)
