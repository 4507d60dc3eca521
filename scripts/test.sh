#!/usr/bin/env bash
# Sets everything up and runs every test: the unit and end-to-end suites (X11 tests start
# their own Xvfb and window manager), the same suites built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded libFuzzer run. Exits non-zero on any failure.
#   FUZZ_SECONDS  how long the fuzzer runs (default 60)
#   FUZZ_GESTURES_SECONDS  how long the gesture datagram fuzzer runs (default 30)
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
failed=()

run() {
  local name=$1
  shift
  echo "=== $name"
  if ! "$@"; then
    echo "=== $name FAILED"
    failed+=("$name")
  fi
}

HALVIC_TEST_PACKAGES=1 scripts/setup.sh build || { echo "set-up failed"; exit 1; }
run "tests" ctest --test-dir build --output-on-failure --timeout 600

run "format" scripts/check-format.sh
run "qml lint" scripts/lint-qml.sh build

# A build folder made by another generator cannot be reconfigured for Ninja.
ninja_dir() {
  if [ -f "$1/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$1/CMakeCache.txt"; then
    rm -rf "$1"
  fi
}

asan_build() {
  ninja_dir build-asan
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVIC_SANITIZE=ON -DHALVIC_BENCH=OFF >/dev/null &&
    cmake --build build-asan -j"$jobs"
}
asan_tests() {
  local common=abort_on_error=0
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # In-process suites with leak checking; the suites that run the whole application under
  # X11 or sway without it (the window system and graphics stack keep allocations until exit), and
  # without the sized-delete check, which Qt WebEngine's own (uninstrumented) Chromium trips
  # when an email body's page goes away.
  ASAN_OPTIONS=detect_leaks=1:$common ctest --test-dir build-asan --output-on-failure --timeout 900 \
    -LE 'x11|wayland|e2e|demo-engine' &&
    ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0:$common ctest --test-dir build-asan \
      --output-on-failure --timeout 900 -L 'x11|wayland|e2e'
}
run "sanitizer build" asan_build && run "sanitizer tests" asan_tests

fuzz() {
  ninja_dir build-fuzz
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVIC_FUZZ=ON \
    -DHALVIC_SANITIZE=ON -DHALVIC_TESTS=OFF -DHALVIC_BENCH=OFF >/dev/null &&
    cmake --build build-fuzz -j"$jobs" --target fuzz_ingest fuzz_gestures &&
    mkdir -p build-fuzz/corpus build-fuzz/gestures-corpus &&
    build-fuzz/fuzz/fuzz_ingest -close_fd_mask=2 -max_len=65536 -max_total_time="${FUZZ_SECONDS:-60}" \
      -print_final_stats=1 build-fuzz/corpus fuzz/corpus &&
    build-fuzz/fuzz/fuzz_gestures -max_len=8192 -max_total_time="${FUZZ_GESTURES_SECONDS:-30}" \
      -print_final_stats=1 build-fuzz/gestures-corpus fuzz/gestures-corpus
}
run "fuzzing" fuzz

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All test stages passed."
