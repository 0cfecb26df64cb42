#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz), gives each a seed corpus (small
# BMP, GIF, PCX, image pac and WebP inputs made here, the HEIC and AVIF files
# of tests/pictures, plus every file in tests/crashers)
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
mkdir -p "$seeds/bmp" "$seeds/gif" "$seeds/pcx" "$seeds/pcd" "$seeds/tiff" "$seeds/crashers"
cp tests/crashers/* "$seeds/crashers/" 2>/dev/null || true

# 3 x 2 pixels, 24 bits, bottom-up: rows of 9 bytes padded to 12.
row='\x10\x20\x30\x40\x50\x60\x70\x80\x90\x00\x00\x00'
printf 'BM\x4e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x18\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'"$row$row" >"$seeds/bmp/bottom-up.bmp"
# The same picture top-down (height -2), and in the OS/2 form.
printf 'BM\x4e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x03\x00\x00\x00\xfe\xff\xff\xff\x01\x00\x18\x00\x00\x00\x00\x00\x18\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'"$row$row" >"$seeds/bmp/top-down.bmp"
printf 'BM\x32\x00\x00\x00\x00\x00\x00\x00\x1a\x00\x00\x00\x0c\x00\x00\x00\x03\x00\x02\x00\x01\x00\x18\x00'"$row$row" >"$seeds/bmp/os2.bmp"

# A 40-byte info header: width, height, bit count, compression (one byte
# each), then the rest of the fields zero.
bmp_info() {
  printf "\\x28\\x00\\x00\\x00\\x$1\\x00\\x00\\x00\\x$2\\x00\\x00\\x00\\x01\\x00\\x$3\\x00\\x$4\\x00\\x00\\x00"
  head -c 20 /dev/zero
}
palette4='\x00\x00\x00\x00\xff\x00\x00\x00\x00\xff\x00\x00\x00\x00\xff\x00'
# 8 bits, 3 x 2, four colours; RLE8 and RLE4 with runs, literals, row ends.
{ printf 'BM\x4e\x00\x00\x00\x00\x00\x00\x00\x46\x00\x00\x00'; bmp_info 03 02 08 00; printf "$palette4"'\x00\x01\x02\x00\x03\x02\x01\x00'; } >"$seeds/bmp/eight.bmp"
{ printf 'BM\x56\x00\x00\x00\x00\x00\x00\x00\x46\x00\x00\x00'; bmp_info 03 02 08 01; printf "$palette4"'\x03\x01\x00\x00\x00\x03\x01\x02\x03\x00\x00\x02\x01\x00\x00\x01'; } >"$seeds/bmp/rle8.bmp"
{ printf 'BM\x52\x00\x00\x00\x00\x00\x00\x00\x46\x00\x00\x00'; bmp_info 05 02 04 02; printf "$palette4"'\x00\x05\x12\x31\x20\x00\x00\x00\x05\x23\x00\x01'; } >"$seeds/bmp/rle4.bmp"
# 16 bits, 5-6-5 masks after the header.
{ printf 'BM\x4a\x00\x00\x00\x00\x00\x00\x00\x42\x00\x00\x00'; bmp_info 02 02 10 03; printf '\x00\xf8\x00\x00\xe0\x07\x00\x00\x1f\x00\x00\x00\x00\xf8\xe0\x07\x1f\x00\xff\xff'; } >"$seeds/bmp/fields.bmp"
# A 124-byte header, 32 bits with alpha, top-down, and an embedded profile
# of 132 bytes after the pixels.
{ printf 'BM\x1e\x01\x00\x00\x00\x00\x00\x00\x8a\x00\x00\x00\x7c\x00\x00\x00\x02\x00\x00\x00\xfe\xff\xff\xff\x01\x00\x20\x00\x03\x00\x00\x00'
  head -c 20 /dev/zero
  printf '\x00\x00\xff\x00\x00\xff\x00\x00\xff\x00\x00\x00\x00\x00\x00\xff\x44\x45\x42\x4d'; head -c 48 /dev/zero
  printf '\x04\x00\x00\x00\x8c\x00\x00\x00\x84\x00\x00\x00\x00\x00\x00\x00'
  printf '\x00\x00\xff\x80\x00\xff\x00\xff\xff\x00\x00\x40\x00\x00\x00\x00'
  printf '\x00\x00\x00\x84'; head -c 32 /dev/zero; printf 'acsp'; head -c 92 /dev/zero; } >"$seeds/bmp/v5.bmp"

# GIF: 3 x 2 on its screen with a global table and a graphic control
# extension; an interlaced 3 x 9 frame with its own table at (1, 1) of a
# 5 x 11 screen.
printf 'GIF89a\x03\x00\x02\x00\x81\x00\x00\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff\x21\xf9\x04\x01\x00\x00\x02\x00\x2c\x00\x00\x00\x00\x03\x00\x02\x00\x00\x02\x04\x44\x34\x13\x05\x00\x3b' >"$seeds/gif/plain.gif"
printf 'GIF87a\x05\x00\x0b\x00\x81\x02\x00\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff\x2c\x01\x00\x01\x00\x03\x00\x09\x00\xc1\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff\x02\x0a\x44\x64\x78\x32\xc0\x39\x5a\x38\xd1\x14\x00\x3b' >"$seeds/gif/interlaced.gif"

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

# A little-endian TIFF directory with Make and a pointer to an EXIF directory
# holding DateTimeOriginal, for the EXIF block maker.
printf 'II*\x00\x08\x00\x00\x00\x02\x00\x0f\x01\x02\x00\x04\x00\x00\x00Cam\x00\x69\x87\x04\x00\x01\x00\x00\x00\x26\x00\x00\x00\x00\x00\x00\x00\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x38\x00\x00\x00\x00\x00\x00\x002021:02:03 04:05:06\x00' >"$seeds/tiff/exif.tif"

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

# Leaks inside a library that our code cannot free are listed there.
export LSAN_OPTIONS=suppressions=$here/fuzz/leak-suppressions.txt

status=0
found=0
for fuzzer in "$build"/fuzz/*_fuzzer; do
  [ -x "$fuzzer" ] || continue
  found=1
  name=$(basename "$fuzzer")
  case $name in
    bmp_*) own=$seeds/bmp ;;
    gif_*) own=$seeds/gif ;;
    pcx_*) own=$seeds/pcx ;;
    pcd_*) own=$seeds/pcd ;;
    tiff_*) own=$seeds/tiff ;;
    heif_*) own=$seeds/heif ;;
    webp_*) own=$seeds/webp ;;
    exif_*) own=$seeds/exif ;;
    *) own=$seeds ;;
  esac
  corpus=$build/fuzz-corpus/$name
  artifacts=$build/fuzz-artifacts/$name
  # Reports of an earlier run would fail this one: each run starts with an
  # empty artifacts folder (the corpus it grew is kept).
  rm -rf "$artifacts"
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
