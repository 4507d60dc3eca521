signal.signal(signal.SIGTERM, signal.SIG_IGN)
emit(type="ready")
while True:
    time.sleep(1)
