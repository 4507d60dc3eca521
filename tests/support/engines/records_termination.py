# Notes, on SIGTERM, whether the HUD that started it was still alive when asked to stop.
hud = os.getppid()
def on_term(*_):
    with open("terminations", "a") as f:
        f.write("hud_alive\n" if os.getppid() == hud else "hud_gone\n")
    sys.exit(0)
signal.signal(signal.SIGTERM, on_term)
emit(type="ready")
while True:
    time.sleep(1)
