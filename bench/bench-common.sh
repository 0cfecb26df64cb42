# Shared by the benchmarks (sourced, not run): the converters they compare
# with, the tulvex-convert programs they time, photo-like pictures, and the
# command line that runs one program on one picture, natively or under Wine.
#
# The programs are this tree's native release build and its Windows builds
# under Wine (64-bit always, 32-bit where this machine runs 32-bit
# programs), each also as it was at commit $BASELINE when that is set, so
# that "before" and "after" are timed side by side in one run.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
magick=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on PATH
. "$bench_root/scripts/wine-common.sh"

# Installs the peers and the timing tools that are missing.
bench_install_tools() {
  local missing=() tool
  for tool in gm:graphicsmagick "$magick":imagemagick vips:libvips-tools \
      djpeg:libjpeg-turbo-progs cjpeg:libjpeg-turbo-progs python3:python3; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
  done
  [ -x /usr/bin/time ] || missing+=(time)
  [ ${#missing[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Builds the programs and fills bench_names (labels) and bench_programs
# (paths), in the same order.
bench_names=()
bench_programs=()
bench_build() {
  local presets=(native-release windows64) preset folder program label
  [ -n "$(tulvex_win32_unavailable)" ] || presets+=(windows)
  bash "$bench_root/scripts/build-windows-deps.sh" >/dev/null
  for preset in "${presets[@]}"; do
    (cd "$bench_root" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target tulvex-convert >/dev/null)
  done
  folder=
  [ -z "${BASELINE:-}" ] || folder=$(bash "$bench_root/bench/build-baseline.sh" "$BASELINE" "${presets[@]}")
  for preset in "${presets[@]}"; do
    case $preset in
      native-release) program=tools/tulvex-convert label=native ;;
      windows64) program=tools/tulvex-convert.exe label=wine64 ;;
      windows) program=tools/tulvex-convert.exe label=wine32 ;;
    esac
    bench_names+=("tulvex $label")
    bench_programs+=("$bench_root/build/$preset/$program")
    if [ -n "$folder" ]; then
      bench_names+=("tulvex $label before")
      bench_programs+=("$folder/build/$preset/$program")
    fi
  done
}

# Keeps one wineserver running for each Windows program's prefix while the
# benchmark runs, so that each run times the program and not Wine's start,
# and ends exactly those servers on exit.
bench_wine_prefixes=()
bench_keep_wine_running() {
  local program prefix
  for program in "${bench_programs[@]}"; do
    [[ $program == *.exe ]] || continue
    "$bench_root/scripts/wine-run.sh" "$program" >/dev/null 2>&1 || true   # makes the prefix
    case $(tulvex_pe_machine "$program") in
      i386) prefix=$(dirname "$(dirname "$program")")/wineprefix ;;
      *) prefix=$(dirname "$(dirname "$program")")/wineprefix64 ;;
    esac
    # The server the first run started ends after a few idle seconds; a
    # persistent one takes its place.
    WINEPREFIX=$prefix wineserver -w
    WINEPREFIX=$prefix wineserver -p
    bench_wine_prefixes+=("$prefix")
  done
  trap 'for prefix in "${bench_wine_prefixes[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done' EXIT
}

# A Windows path, quoted for the shell that runs the timed commands.
bench_winpath() { printf "'Z:%s'" "${1//\//\\}"; }

# The command line that runs PROGRAM with ARGUMENTS; arguments that are
# absolute paths become Windows paths for a Windows program.
bench_command() {
  local program=$1 argument line
  shift
  if [[ $program == *.exe ]]; then
    line="$bench_root/scripts/wine-run.sh $program"
    for argument in "$@"; do
      if [[ $argument == /* ]]; then line+=" $(bench_winpath "$argument")"; else line+=" $argument"; fi
    done
  else
    line="$program $*"
  fi
  printf '%s' "$line"
}

# A photo-like picture: a plasma fractal with blur (smooth gradients and
# fine noise), made once.
bench_make_photo() {  # SIZE SEED OUT.png
  [ -f "$3" ] || $magick -size "$1" -seed "$2" plasma:fractal -blur 0x1.5 -depth 8 "$3"
}
