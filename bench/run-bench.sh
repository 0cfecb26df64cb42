#!/usr/bin/env bash
# Times tulvex-convert (native, and the Windows build under Wine) against
# other converters at the same settings: quality 100, optimised Huffman
# tables, 4:2:0 chroma subsampling. Prints, per input format, each command's
# mean time as a ratio to the fastest, and the codec floor: the decode alone
# and cjpeg from already decoded pixels.
#   bench/run-bench.sh [WIDTHxHEIGHT] [RUNS]
# A benchmark to run by hand, not a test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
size=${1:-4000x3000}
runs=${2:-5}
magick=/usr/bin/convert

apt-get install -y -qq --no-install-recommends hyperfine imagemagick graphicsmagick \
  libvips-tools libjpeg-turbo-progs netpbm python3 >/dev/null
bash scripts/build-windows-deps.sh >/dev/null
cmake --preset native-release >/dev/null && cmake --build --preset native-release --target tulvex-convert
cmake --preset windows >/dev/null && cmake --build --preset windows --target tulvex-convert

corpus=$here/build/bench-corpus
out=$here/build/bench-out
mkdir -p "$corpus" "$out"
if [ ! -f "$corpus/photo-$size.png" ]; then
  echo "making a $size photo-like corpus"
  # Plasma fractal with blur: smooth gradients and fine noise, like a photo.
  $magick -size "$size" -seed 11 plasma:fractal -blur 0x1.5 -depth 8 "$corpus/photo-$size.png"
  $magick "$corpus/photo-$size.png" -compress lzw "$corpus/photo-$size.tif"
  $magick "$corpus/photo-$size.png" -type TrueColor "BMP3:$corpus/photo-$size.bmp"
  $magick "$corpus/photo-$size.png" -quality 95 "$corpus/photo-$size.jpg"
  $magick "$corpus/photo-$size.png" -type TrueColor "$corpus/photo-$size.pcx"
  $magick "$corpus/photo-$size.png" "$corpus/photo-$size.ppm"
fi

native=$here/build/native-release/tools/tulvex-convert
windows=$here/build/windows/tools/tulvex-convert.exe
# A Windows path, quoted for the shell that hyperfine runs commands in.
winpath() { printf "'Z:%s'" "${1//\//\\}"; }
export TULVEX_BUILD_DIR=$here/build/windows
scripts/wine-run.sh "$windows" >/dev/null 2>&1 || true   # create the Wine prefix first

report=$out/report.txt
: > "$report"
for format in png tif bmp jpg pcx; do
  in=$corpus/photo-$size.$format
  case $format in
    jpg) decode="djpeg -outfile /dev/null $in" ;;
    *)   decode="$magick $in ppm:/dev/null" ;;
  esac
  hyperfine --style basic --runs "$runs" --warmup 1 --export-json "$out/$format.json" \
    -n tulvex-native "$native $in $out/native.jpg" \
    -n tulvex-wine "scripts/wine-run.sh $windows $(winpath "$in") $(winpath "$out/wine.jpg")" \
    -n imagemagick "$magick $in -quality 100 -sampling-factor 2x2 $out/im.jpg" \
    -n graphicsmagick "gm convert $in -quality 100 -sampling-factor 2x2 $out/gm.jpg" \
    -n vips "vips copy $in $out/vips.jpg[Q=100,optimize_coding,subsample_mode=on]" \
    -n floor-decode "$decode" \
    -n floor-cjpeg "cjpeg -quality 100 -optimize -sample 2x2 -outfile $out/cjpeg.jpg $corpus/photo-$size.ppm" \
    >/dev/null
  python3 - "$format" "$out/$format.json" >> "$report" <<'PY'
import json, sys
fmt, path = sys.argv[1], sys.argv[2]
results = {r["command"]: r["mean"] for r in json.load(open(path))["results"]}
peers = {k: v for k, v in results.items() if not k.startswith("floor")}
fastest = min(peers.values())
row = "  ".join(f"{k} {v:.3f}s x{v / fastest:.2f}" for k, v in peers.items())
floor = results["floor-decode"] + results["floor-cjpeg"]
print(f"{fmt:4} {row}  | floor {floor:.3f}s (decode {results['floor-decode']:.3f}s + cjpeg {results['floor-cjpeg']:.3f}s)")
PY
done
cat "$report"
