emit(type="ready")
time.sleep(30)
