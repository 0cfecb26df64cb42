#!/usr/bin/env bash
# Runs a Windows program under Wine the way Tulvex runs for its users: code
# page 936 (GBK), no Wine debug chatter, and a prefix of its own in the build
# folder, created on first use. CTest uses it as the cross-compiling emulator.
set -euo pipefail

program=$1; shift
build=${TULVEX_BUILD_DIR:-$(cd "$(dirname "$program")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=zh_CN.GBK
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# One prefix per build folder; parallel tests wait for its creation.
if [ ! -f "$WINEPREFIX/.tulvex-ready" ]; then
  exec 9>"$build/.wineprefix.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.tulvex-ready" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tulvex-ready"
  fi
  exec 9>&-
fi

exec wine "$program" "$@"
