#!/usr/bin/env bash
# Tulvex's main job on this machine: builds the Windows program and converts
# a folder of sample pictures with it under Wine, printing the result code of
# each file (1 converted, -1 missing, -3 not supported, -4 encoding failed,
# -7 bad arguments).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/install-packages.sh
bash scripts/build-windows-deps.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target tulvex-convert

samples=$here/build/samples
out=$here/build/samples-out
bash scripts/make-samples.sh "$samples" >/dev/null
rm -rf "$out" && mkdir -p "$out"

# One conversion a line, as Windows paths (drive Z: is the Unix root).
list=$here/build/samples.list
: > "$list"
i=0
for source in "$samples"/* "$samples/missing.png"; do
  i=$((i + 1))
  name=$(basename "$source")
  printf 'Z:%s\tZ:%s\n' "${source//\//\\}" "${out//\//\\}\\${i}_${name%%.*}.jpg" >> "$list"
done

echo "converting $(wc -l < "$list") files from $samples into $out"
status=0
TULVEX_BUILD_DIR=$here/build/windows scripts/wine-run.sh \
  build/windows/tools/tulvex-convert.exe --list "Z:${list//\//\\}" || status=$?
echo "written:"
ls -l "$out"
# Exit status 1 only says that some samples were refused, as they should be.
[ "$status" -le 1 ]
