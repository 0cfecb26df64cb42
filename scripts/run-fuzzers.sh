#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz), gives each a seed corpus (small
# BMP, PCX, image pac and WebP inputs made here, the HEIC and AVIF files of
# tests/pictures, plus every file in tests/crashers)
# and runs every fuzz/*_fuzzer for FUZZ_SECONDS seconds (default 30; e.g.
# FUZZ_SECONDS=3600 for a long run). Fails when any target reports a crash,
# a leak or a timeout. FUZZ_BUILD_DIR picks the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

seconds=${FUZZ_SECONDS:-30}
build=${FUZZ_BUILD_DIR:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2

seeds=$build/fuzz-seeds
rm -rf "$seeds"
mkdir -p "$seeds/bmp" "$seeds/pcx" "$seeds/pcd" "$seeds/crashers"
cp tests/crashers/* "$seeds/crashers/" 2>/dev/null || true

# 3 x 2 pixels, 24 bits, bottom-up: rows of 9 bytes padded to 12.
row='\x10\x20\x30\x40\x50\x60\x70\x80\x90\x00\x00\x00'
printf 'BM\x4e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x18\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'"$row$row" >"$seeds/bmp/bottom-up.bmp"
# The same picture top-down (height -2), and in the OS/2 form.
printf 'BM\x4e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x03\x00\x00\x00\xfe\xff\xff\xff\x01\x00\x18\x00\x00\x00\x00\x00\x18\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'"$row$row" >"$seeds/bmp/top-down.bmp"
printf 'BM\x32\x00\x00\x00\x00\x00\x00\x00\x1a\x00\x00\x00\x0c\x00\x00\x00\x03\x00\x02\x00\x01\x00\x18\x00'"$row$row" >"$seeds/bmp/os2.bmp"

# PCX headers: 0x0A, version 5, RLE, 8 bits, xmin ymin xmax ymax, then
# planes at 65 and bytes per line at 66, zero-filled to 128 bytes.
pcx_header() {  # xmax ymax planes bytes_per_line (each one byte)
  printf '\x0a\x05\x01\x08\x00\x00\x00\x00'"\\x$1\\x00\\x$2\\x00"
  head -c 53 /dev/zero
  printf "\\x$3\\x$4\\x00"
  head -c 60 /dev/zero
}
{ pcx_header 03 02 01 04; printf '\xc4\x05\x01\x02\xc1\xc9\x07\xc3\x09\x0b'; printf '\x0c'; head -c 768 /dev/urandom; } >"$seeds/pcx/paletted.pcx"
{ pcx_header 02 01 03 04; printf '\xc4\x11\x01\x02\x03\x04\xc4\x33\xc4\x44\xc2\x55\x06\x07\xc4\x66'; } >"$seeds/pcx/planes.pcx"

# Image pac seeds for pcd_reader_fuzzer: a resolution byte, then rows.
for resolution in 0 1 2; do
  { printf "\\x0$resolution"; head -c 3000 /dev/urandom; } >"$seeds/pcd/rows-$resolution.bin"
done

# HEIC and AVIF: the reader test's small files. WebP: lossy with alpha,
# lossless, with metadata chunks, and an animation. EXIF: a block with an
# Orientation, bare and after its identifier.
mkdir -p "$seeds/heif" "$seeds/webp" "$seeds/exif"
cp tests/pictures/*.heic tests/pictures/*.avif "$seeds/heif/"
webp=$seeds/webp
/usr/bin/convert -size 12x8 gradient:red-blue -alpha set -channel A -fx 'i/w' +channel "$webp/source.png"
/usr/bin/convert -size 12x8 gradient:green-yellow "$webp/other.png"
cwebp -quiet -q 80 "$webp/source.png" -o "$webp/lossy.webp"
cwebp -quiet -lossless "$webp/source.png" -o "$webp/lossless.webp"
img2webp -loop 0 "$webp/source.png" -lossy "$webp/other.png" -o "$webp/animated.webp" >/dev/null
exif='II*\x00\x08\x00\x00\x00\x01\x00\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00'
printf "$exif" >"$seeds/exif/bare.bin"
printf 'Exif\x00\x00'"$exif" >"$seeds/exif/identified.bin"
printf '<x:xmpmeta xmlns:x="adobe:ns:meta/"/>' >"$webp/xmp.xml"
webpmux -set exif "$seeds/exif/identified.bin" "$webp/lossy.webp" -o "$webp/exif.webp" >/dev/null
webpmux -set xmp "$webp/xmp.xml" "$webp/exif.webp" -o "$webp/metadata.webp" >/dev/null
rm "$webp"/*.png "$webp/xmp.xml" "$webp/exif.webp"

# The fuzzers' input files and the engine's backing files go to a folder of
# the build's own: a fuzzer stopped by its time limit skips its exit
# handlers and would leave its input file behind in /tmp.
export TMPDIR=$build/fuzz-tmp
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"

status=0
found=0
for fuzzer in "$build"/fuzz/*_fuzzer; do
  [ -x "$fuzzer" ] || continue
  found=1
  name=$(basename "$fuzzer")
  case $name in
    bmp_*) own=$seeds/bmp ;;
    pcx_*) own=$seeds/pcx ;;
    pcd_*) own=$seeds/pcd ;;
    heif_*) own=$seeds/heif ;;
    webp_*) own=$seeds/webp ;;
    exif_*) own=$seeds/exif ;;
    *) own=$seeds ;;
  esac
  corpus=$build/fuzz-corpus/$name
  artifacts=$build/fuzz-artifacts/$name
  mkdir -p "$corpus" "$artifacts"
  # Seeds are read recursively for the loader's fuzzer.
  inputs=("$own" "$seeds/crashers")
  [ "$own" = "$seeds" ] && inputs=("$seeds"/*)
  echo "== $name for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -detect_leaks=1 -timeout=25 -rss_limit_mb=2560 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" "${inputs[@]}" \
      >"$build/fuzz-$name.log" 2>&1; then
    echo "$name FAILED, see $build/fuzz-$name.log and $artifacts/"
    tail -n 40 "$build/fuzz-$name.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$build/fuzz-$name.log" || true
  fi
  if compgen -G "$artifacts/*" >/dev/null; then
    echo "$name left reports in $artifacts/"
    status=1
  fi
done
[ "$found" = 1 ] || { echo "no fuzz targets in $build/fuzz"; exit 1; }
exit $status
