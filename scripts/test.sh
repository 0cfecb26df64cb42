#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# the native engine under AddressSanitizer and UndefinedBehaviorSanitizer
# and again under ThreadSanitizer,
# both Windows products (32-bit and 64-bit) under Wine (code page 936, in a
# virtual X display) where this machine can run them, and each fuzz target
# for a bounded time (FUZZ_SECONDS, default 30).
#
# Both Windows products are always built. The 64-bit tests always run; the
# 32-bit ones run where the kernel can execute 32-bit programs (set
# TULVEX_NO_WIN32=1 to take the other path on any machine). The last lines
# count the test cases that were skipped, with each one's reason.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
. scripts/wine-common.sh

bash scripts/install-packages.sh
bash scripts/build-windows-deps.sh >/dev/null

# Each test run starts without the reports of an earlier one.
tested=()
run_tests() {  # PRESET [COMMAND PREFIX...]
  local preset=$1
  shift
  rm -rf "build/$preset/test-reports"
  "$@" ctest --preset "$preset"
  tested+=("build/$preset")
}

echo "== native"
cmake --preset native
cmake --build --preset native
run_tests native

echo "== native under ThreadSanitizer"
cmake --preset native-tsan
cmake --build --preset native-tsan
run_tests native-tsan

echo "== windows (32-bit) and windows64: build"
cmake --preset windows
cmake --build --preset windows
cmake --preset windows64
cmake --build --preset windows64

win64_reason=$(tulvex_win64_unavailable)
win32_reason=$(tulvex_win32_unavailable)
if [ -n "$win64_reason" ] && [ -n "$win32_reason" ]; then
  echo "no Windows tests can run: 64-bit: $win64_reason; 32-bit: $win32_reason" >&2
  exit 1
fi

# The screen holds the main window at 144 DPI (1500x900) for its test.
run_windows_tests() {  # PRESET
  run_tests "$1" xvfb-run -a -s "-screen 0 1920x1200x24"
}
if [ -z "$win64_reason" ]; then
  echo "== windows64: tests"
  run_windows_tests windows64
fi
if [ -z "$win32_reason" ]; then
  echo "== windows (32-bit): tests"
  run_windows_tests windows
fi

echo "== fuzz"
bash scripts/run-fuzzers.sh

# One plain line that says which Windows tests ran, and why one did not.
summary="Windows tests: 64-bit ${win64_reason:+skipped: $win64_reason}"
[ -n "$win64_reason" ] || summary+="ran"
if [ -n "$win32_reason" ]; then
  summary+="; 32-bit skipped: $win32_reason"
else
  summary+="; 32-bit ran"
fi
echo "$summary"
python3 scripts/skipped-tests.py "${tested[@]}"
