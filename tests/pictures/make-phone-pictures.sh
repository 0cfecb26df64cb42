#!/usr/bin/env bash
# Remakes the small HEIC and AVIF files the phone and web reader test reads
# (the Windows build of libheif decodes only, so they are kept here). Each
# is made from a pattern the test computes again: for x, y in a W x H
# picture, red x*255/(W-1), green y*255/(H-1), blue 255-(x+y)*255/(W+H-2),
# alpha 255-x*200/(W-1); the deeper files hold, at depth D with M = 2^D-1,
# x*M/(W-1), y*M/(H-1) and (37x+91y) mod 2^D. Needs heif-enc, avifenc and
# icc-profiles-free.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import struct, sys, zlib
out = sys.argv[1]
def png(name, w, h, channels, depth, pixel):
    rows = b''.join(b'\0' + b''.join(struct.pack('>H' if depth == 16 else 'B', v)
                                     for x in range(w) for v in pixel(x, y)[:channels]) for y in range(h))
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    header = struct.pack('>IIBBBBB', w, h, depth, {3: 2, 4: 6}[channels], 0, 0, 0)
    open(f'{out}/{name}', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
                                      chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
def pattern(w, h):
    return lambda x, y: (x * 255 // (w - 1), y * 255 // (h - 1), 255 - (x + y) * 255 // (w + h - 2),
                         255 - x * 200 // (w - 1))
def deep(w, h, depth):
    m = (1 << depth) - 1
    return lambda x, y: tuple((v * 65535 + m // 2) // m for v in (x * m // (w - 1), y * m // (h - 1),
                                                                   (37 * x + 91 * y) % (m + 1)))
png('rgb.png', 24, 16, 3, 8, pattern(24, 16))
png('rgba.png', 24, 16, 4, 8, pattern(24, 16))
png('grid.png', 128, 128, 3, 8, pattern(128, 128))
png('deep10.png', 24, 16, 3, 16, deep(24, 16, 10))
png('deep12.png', 24, 16, 3, 16, deep(24, 16, 12))
# EXIF, little-endian: Orientation 6 and the date and time.
date = b'2024:05:06 07:08:09\0'
exif = b'II*\0' + struct.pack('<IH', 8, 2) + struct.pack('<HHIHH', 0x0112, 3, 1, 6, 0) + \
       struct.pack('<HHII', 0x0132, 2, len(date), 38) + struct.pack('<I', 0) + date
open(f'{out}/exif.bin', 'wb').write(exif)
open(f'{out}/xmp.xml', 'wb').write(b'<x:xmpmeta xmlns:x="adobe:ns:meta/"/>')
PY

lossless=(-L -p chroma=444 --matrix_coefficients=0)
heif-enc "${lossless[@]}" -o heic-8bit.heic "$work/rgb.png" >/dev/null
heif-enc "${lossless[@]}" -b 10 -o heic-10bit.heic "$work/deep10.png" >/dev/null
heif-enc "${lossless[@]}" -o heic-alpha.heic "$work/rgba.png" >/dev/null
avifenc -l "$work/rgb.png" avif-8bit.avif >/dev/null
avifenc -l -d 10 "$work/deep10.png" avif-10bit.avif >/dev/null
avifenc -l -d 12 "$work/deep12.png" avif-12bit.avif >/dev/null
avifenc -l "$work/rgba.png" avif-alpha.avif >/dev/null
avifenc -l -g 2x2 "$work/grid.png" avif-grid.avif >/dev/null
# Turned a quarter clockwise, as a phone held upright stores its picture.
avifenc -l --irot 3 --exif "$work/exif.bin" --xmp "$work/xmp.xml" \
  --icc /usr/share/color/icc/compatibleWithAdobeRGB1998.icc "$work/rgb.png" avif-turned-metadata.avif >/dev/null
# The same values described as BT.2020 primaries with the sRGB curve.
avifenc -l --cicp 9/13/0 "$work/rgb.png" avif-bt2020.avif >/dev/null
ls -l ./*.heic ./*.avif
