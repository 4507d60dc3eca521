# First start: a background agent, then 1.5 s to exit on SIGTERM (longer than the restart
# pause). Later starts: ready only.
first = len(open("pids").read().split()) == 1
if first:
    signal.signal(signal.SIGTERM, lambda *a: (time.sleep(1.5), os._exit(0)))
emit(type="ready")
if first:
    emit(type="task_started", id="t1", agent="web", desc="fetch")
time.sleep(30)
