# Ready, then a page of diagnostics on standard error (more than the HUD keeps), then exit 3.
emit(type="ready")
for i in range(40):
    print(f"loading model shard {i}", file=sys.stderr)
print("Traceback (most recent call last):", file=sys.stderr)
print("RuntimeError: no microphone found", file=sys.stderr, flush=True)
time.sleep(0.2)
sys.exit(3)
