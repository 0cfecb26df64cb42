#!/usr/bin/env bash
# Times tulvex-convert (native, and the Windows build under Wine) against
# other converters at the same settings: quality 100, optimised Huffman
# tables, 4:2:0 chroma subsampling. Prints, per input kind (each format, and
# one file of each variant: palette and RLE BMP, GIF, CMYK, progressive and
# EXIF-with-profile JPEG, palette PNG, CMYK and 16-bit TIFF), each command's
# mean time as a ratio to the fastest, and the codec floor: the decode alone
# and cjpeg from already decoded pixels. A kind tulvex-convert refuses is
# reported as such, untimed.
#   bench/run-bench.sh [WIDTHxHEIGHT] [RUNS]
# A benchmark to run by hand, not a test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
size=${1:-4000x3000}
runs=${2:-5}
magick=/usr/bin/convert

apt-get install -y -qq --no-install-recommends hyperfine imagemagick graphicsmagick \
  libvips-tools libjpeg-turbo-progs netpbm python3 libimage-exiftool-perl icc-profiles-free >/dev/null
bash scripts/build-windows-deps.sh >/dev/null
cmake --preset native-release >/dev/null && cmake --build --preset native-release --target tulvex-convert
cmake --preset windows >/dev/null && cmake --build --preset windows --target tulvex-convert

corpus=$here/build/bench-corpus
out=$here/build/bench-out
mkdir -p "$corpus" "$out"
photo=$corpus/photo-$size
if [ ! -f "$photo.png" ]; then
  echo "making a $size photo-like corpus"
  # Plasma fractal with blur: smooth gradients and fine noise, like a photo.
  $magick -size "$size" -seed 11 plasma:fractal -blur 0x1.5 -depth 8 "$photo.png"
  $magick "$photo.png" -compress lzw "$photo.tif"
  $magick "$photo.png" -type TrueColor "BMP3:$photo.bmp"
  $magick "$photo.png" -quality 95 "$photo.jpg"
  $magick "$photo.png" -type TrueColor "$photo.pcx"
  $magick "$photo.png" "$photo.ppm"
fi
# One file of each variant, named KIND.EXTENSION after the photo.
if [ ! -f "$photo-tiff16.tif" ]; then
  echo "making the variants of the corpus"
  $magick "$photo.png" -type Palette "BMP3:$photo-bmp8.bmp"
  $magick "$photo.png" -type Palette -compress RLE "BMP3:$photo-bmprle8.bmp"
  $magick "$photo.png" "$photo-gif.gif"
  $magick "$photo.png" -colorspace CMYK -quality 95 "$photo-jpgcmyk.jpg"
  $magick "$photo.png" -interlace Plane -quality 95 "$photo-jpgprogressive.jpg"
  $magick "$photo.png" -profile /usr/share/color/icc/sRGB.icc -quality 95 "$photo-jpgexificc.jpg"
  exiftool -q -overwrite_original -Orientation#=6 -DateTimeOriginal='2024:05:01 10:30:00' "$photo-jpgexificc.jpg"
  $magick "$photo.png" -colors 256 "PNG8:$photo-pngpalette.png"
  $magick "$photo.png" -colorspace CMYK -compress lzw "$photo-tifcmyk.tif"
  $magick "$photo.png" -depth 16 -compress zip "$photo-tiff16.tif"
fi

native=$here/build/native-release/tools/tulvex-convert
windows=$here/build/windows/tools/tulvex-convert.exe
# A Windows path, quoted for the shell that hyperfine runs commands in.
winpath() { printf "'Z:%s'" "${1//\//\\}"; }
export TULVEX_BUILD_DIR=$here/build/windows
scripts/wine-run.sh "$windows" >/dev/null 2>&1 || true   # create the Wine prefix first

report=$out/report.txt
: > "$report"
for in in "$photo".{png,tif,bmp,jpg,pcx} "$photo"-*.*; do
  format=${in#"$photo"}
  format=${format#[.-]}
  case $format in
    jpg|jpgprogressive.jpg|jpgexificc.jpg) decode="djpeg -outfile /dev/null $in" ;;
    *)   decode="$magick $in ppm:/dev/null" ;;
  esac
  if ! "$native" "$in" "$out/native.jpg" >/dev/null; then
    printf '%-26s refused by tulvex-convert\n' "$format" >> "$report"
    continue
  fi
  hyperfine --style basic --runs "$runs" --warmup 1 --export-json "$out/$format.json" \
    -n tulvex-native "$native $in $out/native.jpg" \
    -n tulvex-wine "scripts/wine-run.sh $windows $(winpath "$in") $(winpath "$out/wine.jpg")" \
    -n imagemagick "$magick $in -quality 100 -sampling-factor 2x2 $out/im.jpg" \
    -n graphicsmagick "gm convert $in -quality 100 -sampling-factor 2x2 $out/gm.jpg" \
    -n vips "vips copy $in $out/vips.jpg[Q=100,optimize_coding,subsample_mode=on]" \
    -n floor-decode "$decode" \
    -n floor-cjpeg "cjpeg -quality 100 -optimize -sample 2x2 -outfile $out/cjpeg.jpg $photo.ppm" \
    >/dev/null
  python3 - "$format" "$out/$format.json" >> "$report" <<'PY'
import json, sys
fmt, path = sys.argv[1], sys.argv[2]
results = {r["command"]: r["mean"] for r in json.load(open(path))["results"]}
peers = {k: v for k, v in results.items() if not k.startswith("floor")}
fastest = min(peers.values())
row = "  ".join(f"{k} {v:.3f}s x{v / fastest:.2f}" for k, v in peers.items())
floor = results["floor-decode"] + results["floor-cjpeg"]
print(f"{fmt:26} {row}  | floor {floor:.3f}s (decode {results['floor-decode']:.3f}s + cjpeg {results['floor-cjpeg']:.3f}s)")
PY
done
cat "$report"
