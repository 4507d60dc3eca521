signal.signal(signal.SIGTERM, signal.SIG_IGN)
emit(type="ready")
time.sleep(60)
