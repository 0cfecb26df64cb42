#!/usr/bin/env bash
# Tulvex's main job on this machine: builds the Windows program and converts
# a folder of sample pictures with it under Wine, printing the result code of
# each file (1 converted, -1 missing, -3 not supported, -4 encoding failed,
# -7 bad arguments). The 32-bit product is used where this machine runs
# 32-bit programs, else the 64-bit one.
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
cmake --build --preset "$preset" --target tulvex-convert

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

echo "converting $(wc -l < "$list") files from $samples into $out with the $kind program"
status=0
scripts/wine-run.sh "build/$preset/tools/tulvex-convert.exe" --list "Z:${list//\//\\}" || status=$?
# Exit status 1 only says that some samples were refused, as they should be;
# anything else means the program did not run or could not work.
if [ "$status" -gt 1 ]; then
  echo "tulvex-convert.exe ($kind) failed with exit status $status" >&2
  exit "$status"
fi
echo "written:"
ls -l "$out"
