# Ready, a warning on standard error, then idles until it is stopped.
emit(type="ready")
print("warning: running without a GPU", file=sys.stderr, flush=True)
while True:
    time.sleep(1)
