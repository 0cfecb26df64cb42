# Shared by the scripts that start Windows programs under Wine: which kind of
# program a file is, whether this machine can run 32-bit ones, and how to
# start a program of either kind in a prefix of its own kind.
# Source it; it defines functions only.

# The PE machine of a Windows program: "i386" or "x86_64" (else "unknown").
tulvex_pe_machine() {
  local file=$1 pe machine
  pe=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$pe" ] || { echo unknown; return; }
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$file" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo i386 ;;
    8664) echo x86_64 ;;
    *) echo unknown ;;
  esac
}

# Why 32-bit Windows programs cannot run here, or nothing when they can.
# TULVEX_NO_WIN32=1 takes the no-32-bit path on any machine. Some kernels
# have no 32-bit support at all: there Wine's 32-bit loader, an i386 ELF
# program, fails to start with "Exec format error".
tulvex_win32_unavailable() {
  if [ "${TULVEX_NO_WIN32:-0}" = 1 ]; then
    echo "TULVEX_NO_WIN32=1 is set"
    return
  fi
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "Wine's 32-bit loader /usr/lib/wine/wine is not installed"
    return
  fi
  local out
  if ! out=$(/usr/lib/wine/wine --version 2>&1); then
    case $out in
      *"Exec format error"*|*"Syntax error"*|*"cannot execute"*)
        echo "this kernel cannot run 32-bit programs" ;;
      *) echo "Wine's 32-bit loader fails to start: ${out%%$'\n'*}" ;;
    esac
  fi
}

# Why 64-bit Windows programs cannot run here, or nothing when they can.
tulvex_win64_unavailable() {
  if [ ! -x /usr/lib/wine/wine64 ]; then
    echo "Wine's 64-bit loader /usr/lib/wine/wine64 is not installed"
    return
  fi
  local out
  out=$(/usr/lib/wine/wine64 --version 2>&1) || echo "Wine's 64-bit loader fails to start: ${out%%$'\n'*}"
}
