#!/usr/bin/env bash
# Builds tulvex-convert as it was at an earlier commit, beside the current
# sources, so that a benchmark can time "before" and "after" in one run.
#   bench/build-baseline.sh COMMIT PRESET...
# Prints the folder of that commit's sources; each preset's program is then
# at FOLDER/build/PRESET/tools/tulvex-convert[.exe]. Sources are exported
# once per commit (git archive) and builds are incremental.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$here" rev-parse --short "$1")
shift
source_folder=$here/build/baseline/$commit
if [ ! -f "$source_folder/CMakeLists.txt" ]; then
  mkdir -p "$source_folder"
  git -C "$here" archive "$commit" | tar -x -C "$source_folder"
fi
for preset in "$@"; do
  (cd "$source_folder" && cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" --target tulvex-convert >/dev/null)
done
echo "$source_folder"
