#!/usr/bin/env bash
# Times a whole folder converted at once: tulvex-convert --list with one job
# and with its default (one per processor) against other batch converters,
# all at quality 100, optimised Huffman tables and 4:2:0 chroma subsampling.
# The folder holds COUNT photo-like pictures of WIDTHxHEIGHT in PNG, TIFF
# (LZW), BMP, PCX and JPEG, in turn. Prints each command's median time as a
# ratio to the fastest peer, then the Windows 64-bit build under Wine when
# it has been built.
#   bench/run-batch-bench.sh [WIDTHxHEIGHT] [COUNT] [RUNS]
# A benchmark to run by hand, not a test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
size=${1:-3000x2000}
count=${2:-30}
runs=${3:-3}
magick=/usr/bin/convert

missing=()
for tool in hyperfine:hyperfine gm:graphicsmagick mogrify:imagemagick vips:libvips-tools; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
[ ${#missing[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
cmake --preset native-release >/dev/null && cmake --build --preset native-release --target tulvex-convert

corpus=$here/build/batch-bench-corpus/$size-$count
out=$here/build/batch-bench-out
mkdir -p "$corpus" "$out"
formats=(png tif bmp pcx jpg)
if [ ! -f "$corpus/.complete" ]; then
  echo "making $count photo-like pictures of $size"
  # Plasma fractals with blur (smooth gradients and fine noise, like a
  # photo) are slow to make: five are made, and every picture is one of them
  # rolled and tinted in a way of its own, so that no two are alike.
  for ((seed = 1; seed <= 5; seed++)); do
    [ -f "$corpus/base-$seed.png" ] ||
      $magick -size "$size" -seed $seed plasma:fractal -blur 0x1.5 -depth 8 "$corpus/base-$seed.png"
  done
  for ((i = 0; i < count; i++)); do
    format=${formats[i % ${#formats[@]}]}
    name=$(printf "photo-%02d.%s" "$i" "$format")
    case $format in
      tif) options=(-compress lzw) target=$corpus/$name ;;
      bmp) options=(-type TrueColor) target=BMP3:$corpus/$name ;;
      pcx) options=(-type TrueColor) target=$corpus/$name ;;
      jpg) options=(-quality 95) target=$corpus/$name ;;
      *)   options=() target=$corpus/$name ;;
    esac
    [ -f "$corpus/$name" ] ||
      $magick "$corpus/base-$((i / 5 % 5 + 1)).png" -roll "+$((i * 97))+$((i * 61))" \
        -modulate "100,$((90 + i)),$((100 + i * 3))" -depth 8 "${options[@]}" "$target"
  done
  touch "$corpus/.complete"
fi

# The list tulvex-convert reads, and a fresh copy of the folder for the
# converters that write beside their sources.
list=$out/list.txt
: > "$list"
for file in "$corpus"/photo-*; do
  printf '%s\t%s\n' "$file" "$out/tulvex/$(basename "${file%.*}").jpg" >> "$list"
done
mkdir -p "$out/tulvex" "$out/vips"
fresh_copy="rm -rf $out/copy && cp -r $corpus $out/copy"

native=$here/build/native-release/tools/tulvex-convert
vips_one='vips copy "$0" "$1/vips/$(basename "${0%.*}").jpg[Q=100,optimize_coding,subsample_mode=on]"'
# hyperfine takes one --prepare per command, in the commands' order: only
# the mogrify runs need a fresh copy of the folder.
hyperfine --style basic --runs "$runs" --export-json "$out/batch.json" \
  --prepare true --prepare true --prepare "$fresh_copy" --prepare "$fresh_copy" \
  --prepare true --prepare true \
  -n "tulvex -j 1" "$native -j 1 --list $list" \
  -n "tulvex default" "$native --list $list" \
  -n "gm mogrify" \
    "gm mogrify -format jpg -quality 100 -sampling-factor 2x2 -define jpeg:optimize-coding=true $out/copy/photo-*" \
  -n "im mogrify" \
    "mogrify -format jpg -quality 100 -sampling-factor 2x2 -define jpeg:optimize-coding=true $out/copy/photo-*" \
  -n "vips one at a time" "ls $corpus/photo-* | xargs -P1 -I{} sh -c '$vips_one' {} $out" \
  -n "vips two at a time" "ls $corpus/photo-* | xargs -P2 -I{} sh -c '$vips_one' {} $out" \
  >/dev/null

report=$out/report.txt
python3 - "$out/batch.json" > "$report" <<'PY'
import json, sys
results = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
peers = {k: v for k, v in results.items() if not k.startswith("tulvex")}
fastest_name = min(peers, key=peers.get)
fastest = peers[fastest_name]
print(f"{'command':20} {'median s':>9} {'/ fastest peer':>15}")
for name, seconds in results.items():
    print(f"{name:20} {seconds:9.2f} {seconds / fastest:15.2f}")
own = results["tulvex default"] / results["tulvex -j 1"]
print(f"fastest peer: {fastest_name}; tulvex default / tulvex -j 1: {own:.2f}")
PY
cat "$report"

# The 64-bit Windows build under Wine, when it has been built
# (cmake --preset windows64 && cmake --build --preset windows64).
windows=$here/build/windows64/tools/tulvex-convert.exe
if [ -f "$windows" ]; then
  winlist=$out/list-windows.txt
  mkdir -p "$out/tulvex-windows"
  : > "$winlist"
  for file in "$corpus"/photo-*; do
    destination=$out/tulvex-windows/$(basename "${file%.*}").jpg
    printf 'Z:%s\tZ:%s\r\n' "${file//\//\\}" "${destination//\//\\}" >> "$winlist"
  done
  winlist_path="Z:${winlist//\//\\}"
  scripts/wine-run.sh "$windows" >/dev/null 2>&1 || true   # create the Wine prefix first
  hyperfine --style basic --runs "$runs" --export-json "$out/batch-wine.json" \
    -n "wine64 tulvex -j 1" "scripts/wine-run.sh $windows -j 1 --list '$winlist_path'" \
    -n "wine64 tulvex default" "scripts/wine-run.sh $windows --list '$winlist_path'" \
    >/dev/null
  python3 - "$out/batch-wine.json" "$out/batch.json" >> "$report" <<'PY'
import json, sys
wine = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
native = {r["command"]: r["median"] for r in json.load(open(sys.argv[2]))["results"]}
fastest = min(v for k, v in native.items() if not k.startswith("tulvex"))
for name, seconds in wine.items():
    print(f"{name:20} {seconds:9.2f} {seconds / fastest:15.2f}")
print(f"wine64 default / wine64 -j 1: {wine['wine64 tulvex default'] / wine['wine64 tulvex -j 1']:.2f}")
PY
  tail -3 "$report"
fi
