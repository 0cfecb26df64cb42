#!/usr/bin/env bash
# Starts Tulvex.exe under Wine, building what is missing first. The 32-bit
# product is used where this machine runs 32-bit programs, else the 64-bit
# one. With a reachable X display the main window opens for the user. Without
# one the script starts a virtual display (xvfb-run) and a driver uses the
# real window as a user would: it adds the sample folder, picks "保存在：" and
# an output folder, starts the run and waits for its end; then it prints the
# job list and where the screenshot and the JPEG files are.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
. scripts/wine-common.sh

bash scripts/install-packages.sh

win32_reason=$(tulvex_win32_unavailable)
if [ -z "$win32_reason" ]; then
  preset=windows arch=i686 kind=32-bit
else
  win64_reason=$(tulvex_win64_unavailable)
  if [ -n "$win64_reason" ]; then
    echo "cannot run the Windows program: 32-bit: $win32_reason; 64-bit: $win64_reason" >&2
    exit 1
  fi
  preset=windows64 arch=x86_64 kind=64-bit
  echo "using the 64-bit program: 32-bit programs cannot run here ($win32_reason)"
fi

bash scripts/build-windows-deps.sh "$arch" >/dev/null
cmake --preset "$preset" >/dev/null
build=$here/build/$preset
if ! cmake --build --preset "$preset" --target Tulvex sample_run_driver; then
  echo "cannot build Tulvex.exe ($kind); see the compiler output above" >&2
  exit 1
fi
program=$build/app/Tulvex.exe
winpath() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }

# Starts a Windows program through wine-run.sh and says why when it fails to
# start (missing loader, exec format error: wine-run.sh exits 125) or ends
# with an error status.
start_failed() {
  local status=$1 what=$2
  case $status in
    0) return 1 ;;
    125) echo "$what could not be started (see the reason above)" >&2 ;;
    126|127) echo "$what could not be started: the Wine loader cannot be executed (status $status)" >&2 ;;
    *) echo "$what ended with status $status" >&2 ;;
  esac
  return 0
}

# A display is used when $DISPLAY names one that answers (xdpyinfo, from
# x11-utils; without it a set $DISPLAY is taken at its word).
display_reachable() {
  [ -n "${DISPLAY:-}" ] || return 1
  command -v xdpyinfo >/dev/null || return 0
  xdpyinfo >/dev/null 2>&1
}

if display_reachable; then
  echo "starting the $kind Tulvex.exe on display $DISPLAY"
  status=0
  scripts/wine-run.sh "$program" || status=$?
  start_failed "$status" "Tulvex.exe ($kind)" && exit 1
  exit 0
fi

echo "no reachable X display${DISPLAY:+ ($DISPLAY)}: running the $kind Tulvex.exe on a virtual display"
samples=$here/build/samples
out=$here/build/samples-out
shots=$build/screenshots
shot=$shots/sample-run.png
bash scripts/make-samples.sh "$samples" >/dev/null
rm -rf "$out" && mkdir -p "$out" "$shots"
rm -f "$shot"

status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  scripts/wine-run.sh "$build/tests/app/sample_run_driver.exe" \
  "$(winpath "$program")" "$(winpath "$samples")" "$(winpath "$out")" "$(winpath "$shot")" \
  | iconv -f GBK -t UTF-8 || status=${PIPESTATUS[0]}
case $status in
  0) ;;
  2) echo "Tulvex.exe ($kind) did not start or showed no main window" >&2; exit 1 ;;
  *) start_failed "$status" "the sample run with Tulvex.exe ($kind)"; exit 1 ;;
esac
echo "screenshot of the finished job list: $shot"
echo "JPEG files written into $out:"
ls -l "$out"
