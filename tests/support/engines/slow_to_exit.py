import threading
first = len(open("pids").read().split()) == 1
if first:
    signal.signal(signal.SIGTERM, lambda *a: threading.Timer(0.8, lambda: os._exit(0)).start())
emit(type="ready")
if not first:
    time.sleep(1.5)
    emit(type="tarvel", text="still here")
time.sleep(30)
