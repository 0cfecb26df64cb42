#!/usr/bin/env bash
# Times one picture of each format, and one of each variant (palette and
# RLE BMP, GIF, CMYK, progressive and EXIF-with-profile JPEG, palette PNG,
# CMYK and 16-bit TIFF, and HEIC, AVIF and WebP as heif-enc, avifenc and
# cwebp make them), converted by tulvex-convert (native, and the Windows
# builds under Wine) and by other converters at the same settings: quality
# 100, optimised Huffman tables, 4:2:0 chroma subsampling. A kind
# tulvex-convert refuses is reported as refused, untimed. The commands of a
# format run side by side, in turns (bench/time_commands.py); the table
# gives medians and each one's ratio to the fastest peer.
# The codec floor (decoding alone, and cjpeg from decoded pixels) and
# Wine's cost of starting a program (a 1x1 picture) are shown beside it.
#   [BASELINE=COMMIT] [FORMATS="heic avif ..."] bench/run-bench.sh [WIDTHxHEIGHT] [RUNS]
# With BASELINE, tulvex-convert as it was at that commit runs too; FORMATS
# times only the kinds it names.
# A benchmark to run by hand, not a test.
set -euo pipefail
. "$(dirname "$0")/bench-common.sh"
cd "$bench_root"
size=${1:-4000x3000}
runs=${2:-5}

bench_install_tools
# The variants' metadata and profile.
command -v exiftool >/dev/null || apt-get install -y -qq --no-install-recommends libimage-exiftool-perl >/dev/null
[ -f /usr/share/color/icc/sRGB.icc ] || apt-get install -y -qq --no-install-recommends icc-profiles-free >/dev/null
# The phone and web pictures' encoders.
command -v heif-enc >/dev/null && command -v avifenc >/dev/null && command -v cwebp >/dev/null ||
  apt-get install -y -qq --no-install-recommends libheif-examples libavif-bin webp >/dev/null
bench_build
bench_keep_wine_running

corpus=$bench_root/build/bench-corpus
out=$bench_root/build/bench-out
mkdir -p "$corpus" "$out"
photo=$corpus/photo-$size
if [ ! -f "$photo.pcx" ]; then
  echo "making a $size photo-like corpus"
  bench_make_photo "$size" 11 "$photo.png"
  $magick "$photo.png" -compress lzw "$photo.tif"
  $magick "$photo.png" -type TrueColor "BMP3:$photo.bmp"
  $magick "$photo.png" -quality 95 "$photo.jpg"
  $magick "$photo.png" "$photo.ppm"
  $magick "$photo.png" -type TrueColor "$photo.pcx"
fi
# The variants, each named photo-SIZE-KIND.EXTENSION.
if [ ! -f "$photo-tif16.tif" ]; then
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
  $magick "$photo.png" -depth 16 -compress zip "$photo-tif16.tif"
fi
# Phone and web pictures at the encoders' usual settings (avifenc at a
# faster speed than its default, which changes the time to make the file,
# hardly the time to decode it).
[ -f "$photo.heic" ] || heif-enc -q 85 -o "$photo.heic" "$photo.png" >/dev/null
[ -f "$photo.avif" ] || avifenc -s 8 -j all "$photo.png" "$photo.avif" >/dev/null
[ -f "$photo.webp" ] || cwebp -quiet -q 85 "$photo.png" -o "$photo.webp"
[ -f "$corpus/dot.png" ] || $magick -size 1x1 xc:gray "$corpus/dot.png"

read -ra formats <<<"${FORMATS:-png tif bmp jpg pcx bmp8 bmprle8 gif jpgcmyk jpgprogressive jpgexificc pngpalette tifcmyk tif16 heic avif webp}"
refused=()
for format in "${formats[@]}"; do
  in=$photo.$format
  [ -f "$in" ] || in=$(ls "$photo-$format".*)
  case $format in
    jpg*) decode="djpeg -outfile /dev/null $in" ;;
    *)    decode="$magick $in ppm:/dev/null" ;;
  esac
  if ! "${bench_programs[0]}" "$in" "$out/check.jpg" >/dev/null; then
    refused+=("$format")
    continue
  fi
  commands=()
  for i in "${!bench_programs[@]}"; do
    commands+=(-n "${bench_names[i]}" "$(bench_command "${bench_programs[i]}" "$in" "$out/tulvex-$i.jpg")")
  done
  python3 bench/time_commands.py --runs "$runs" --warmup 1 --export-json "$out/$format.json" "${commands[@]}" \
    -n "imagemagick" "$magick $in -quality 100 -sampling-factor 2x2 $out/im.jpg" \
    -n "graphicsmagick" "gm convert $in -quality 100 -sampling-factor 2x2 $out/gm.jpg" \
    -n "vips" "vips copy $in $out/vips.jpg[Q=100,optimize_coding,subsample_mode=on]" \
    -n "floor decode" "$decode" \
    -n "floor cjpeg" "cjpeg -quality 100 -optimize -sample 2x2 -outfile $out/cjpeg.jpg $photo.ppm" \
    >/dev/null
done
# Wine's start: converting a 1x1 picture.
commands=()
for i in "${!bench_programs[@]}"; do
  [[ ${bench_programs[i]} == *.exe ]] || continue
  commands+=(-n "${bench_names[i]}" "$(bench_command "${bench_programs[i]}" "$corpus/dot.png" "$out/dot-$i.jpg")")
done
[ ${#commands[@]} -eq 0 ] ||
  python3 bench/time_commands.py --runs "$runs" --export-json "$out/start.json" "${commands[@]}" >/dev/null

python3 - "$out" "${formats[@]}" -- "${refused[@]}" > "$out/report.md" <<'PY'
import json, os, sys
out, rest = sys.argv[1], sys.argv[2:]
formats, refused = rest[:rest.index("--")], rest[rest.index("--") + 1:]
def medians(name):
    return {r["command"]: r["median"] for r in json.load(open(os.path.join(out, name)))["results"]}
tables = {f: medians(f + ".json") for f in formats if f not in refused}
names = [n for n in tables[formats[0]] if not n.startswith("floor")]
print("| format | " + " | ".join(names) + " | floor (decode + cjpeg) |")
print("|---" * (len(names) + 2) + "|")
for f in formats:
    if f in refused:
        print(f"| {f} | refused by tulvex-convert |" + " |" * len(names))
        continue
    t = tables[f]
    fastest = min(v for k, v in t.items() if not k.startswith(("tulvex", "floor")))
    cells = [f"{t[n]:.2f} s ({t[n] / fastest:.2f})" for n in names]
    print(f"| {f} | " + " | ".join(cells) + f" | {t['floor decode'] + t['floor cjpeg']:.2f} s |")
print()
print("Seconds, median; in brackets the ratio to the fastest of imagemagick, graphicsmagick and vips.")
if os.path.exists(os.path.join(out, "start.json")):
    start = medians("start.json")
    print("Wine's start (converting a 1x1 picture): " + ", ".join(f"{k} {v:.2f} s" for k, v in start.items()) + ".")
PY
cat "$out/report.md"
