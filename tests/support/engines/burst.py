out = sys.stdout.buffer
out.write(b"x" * (9 * 1024 * 1024) + b"@@EVT " + json.dumps({"type": "tarvel", "text": "lost"}).encode() + b"\n")
for i in range(20000):
    out.write(("@@EVT " + json.dumps({"type": "booting", "stage": f"s{i}"}) + "\r\n").encode())
out.write(("@@EVT " + json.dumps({"type": "tarvel", "text": "last"}) + "\n").encode())
out.flush()
time.sleep(30)
