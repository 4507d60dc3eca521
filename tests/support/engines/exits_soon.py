emit(type="ready")
emit(type="task_started", id="t1")
time.sleep(0.3)
