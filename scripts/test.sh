#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the native engine under AddressSanitizer and UndefinedBehaviorSanitizer,
# the Windows build under Wine (code page 936, in a virtual X display), and
# each fuzz target for a bounded time (FUZZ_SECONDS, default 30).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/install-packages.sh
bash scripts/build-windows-deps.sh >/dev/null

echo "== native"
cmake --preset native
cmake --build --preset native
ctest --preset native

echo "== windows"
cmake --preset windows
cmake --build --preset windows
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows

echo "== fuzz"
bash scripts/run-fuzzers.sh
