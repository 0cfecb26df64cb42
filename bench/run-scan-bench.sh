#!/usr/bin/env bash
# Times the folder scan of Tulvex.exe under Wine in a virtual display: the
# first rows after the folder is chosen, the whole tree, the window's
# slowest answer meanwhile, and a cancel. The tree holds COUNT empty files
# in folders of 1000 (made once under build/scan-bench-tree).
#   bench/run-scan-bench.sh [COUNT] [PRESET]
# PRESET is windows64 (default) or windows. A benchmark to run by hand.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
count=${1:-100000}
preset=${2:-windows64}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Tulvex scan_bench

tree=$here/build/scan-bench-tree/$count
# The mark lies beside the tree: the scan lists every file inside it.
if [ ! -f "$tree.complete" ]; then
  echo "making $count files under $tree"
  rm -rf "$tree"
  for ((made = 0, folder = 0; made < count; folder++)); do
    mkdir -p "$tree/f$folder"
    batch=$((count - made < 1000 ? count - made : 1000))
    (cd "$tree/f$folder" && seq 1 "$batch" | sed 's/$/.jpg/' | xargs touch)
    made=$((made + batch))
  done
  touch "$tree.complete"
fi
build=$here/build/$preset
windows_path() { echo "Z:${1//\//\\}"; }
xvfb-run -a -s "-screen 0 1280x1024x24" \
  scripts/wine-run.sh "$build/bench/scan_bench.exe" "$(windows_path "$build/app/Tulvex.exe")" \
  "$(windows_path "$tree")" "$count"
