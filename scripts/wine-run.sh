#!/usr/bin/env bash
# Runs a Windows program under Wine the way Tulvex runs for its users: code
# page 936 (GBK), no Wine debug chatter, and a prefix of its own in the build
# folder, created on first use. CTest uses it as the cross-compiling emulator.
#
# A 32-bit program starts through Wine's 32-bit loader in a win32 prefix, a
# 64-bit one through /usr/lib/wine/wine64 in a win64 prefix (Debian's
# /usr/bin/wine always picks the 32-bit loader when it is installed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-common.sh"

program=$1; shift
build=${TULVEX_BUILD_DIR:-$(cd "$(dirname "$program")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)}

case $(tulvex_pe_machine "$program") in
  i386)
    reason=$(tulvex_win32_unavailable)
    if [ -n "$reason" ]; then
      echo "wine-run: cannot start the 32-bit program $program: $reason" >&2
      exit 125
    fi
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
    default_prefix=$build/wineprefix ;;
  x86_64)
    reason=$(tulvex_win64_unavailable)
    if [ -n "$reason" ]; then
      echo "wine-run: cannot start the 64-bit program $program: $reason" >&2
      exit 125
    fi
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    default_prefix=$build/wineprefix64 ;;
  *)
    echo "wine-run: $program is not a 32-bit or 64-bit Windows program" >&2
    exit 125 ;;
esac

export WINEPREFIX=${WINEPREFIX:-$default_prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=zh_CN.GBK
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# One prefix per build folder; parallel tests wait for its creation.
if [ ! -f "$WINEPREFIX/.tulvex-ready" ]; then
  mkdir -p "$build"
  exec 9>"$build/.$(basename "$WINEPREFIX").lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.tulvex-ready" ]; then
    "$WINELOADER" wineboot -i >/dev/null 2>&1
    # No crash dialog or debugger: a crashed test program ends at once with
    # its exception code instead of keeping ctest's output pipe open.
    for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
               'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
      "$WINELOADER" reg add "$key" /v Debugger /d '' /f >/dev/null 2>&1 || true
      "$WINELOADER" reg add "$key" /v Auto /d 1 /f >/dev/null 2>&1 || true
    done
    wineserver -w
    touch "$WINEPREFIX/.tulvex-ready"
  fi
  exec 9>&-
fi

exec "$WINELOADER" "$program" "$@"
