emit(type="booting", stage="loading")
emit(type="tarvel", text="|".join([os.getcwd(), os.environ.get("EMIT_JSON", ""),
     os.environ.get("PYTHONUNBUFFERED", ""), str("-u" in sys.orig_argv)]))
print("plain diagnostic line")
print("   \t ")
print("noise before @@EVT " + json.dumps({"type": "ready"}))
sys.stdout.buffer.write(b"\xff\xfe broken @@EVT {\"type\":\"muted\",\"on\":true}\n")
sys.stdout.flush()
time.sleep(30)
