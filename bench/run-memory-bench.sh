#!/usr/bin/env bash
# Peak memory of one conversion (the whole process's largest resident set,
# from /usr/bin/time) for a 12-megapixel and a 100-megapixel PNG and TIFF:
# tulvex-convert (native, and the Windows builds under Wine, whose figure
# includes Wine's own libraries) beside libvips and ImageMagick, at quality
# 100, optimised Huffman tables and 4:2:0 chroma subsampling. Each cell
# gives MiB and, in brackets, bytes a pixel beyond the first 8 MiB; a
# conversion that fails says so.
#   [BASELINE=COMMIT] bench/run-memory-bench.sh
# With BASELINE, tulvex-convert as it was at that commit runs too.
# A benchmark to run by hand, not a test.
set -euo pipefail
. "$(dirname "$0")/bench-common.sh"
cd "$bench_root"

bench_install_tools
bench_build
bench_keep_wine_running

corpus=$bench_root/build/bench-corpus
out=$bench_root/build/memory-bench-out
mkdir -p "$corpus" "$out"
bench_make_photo 4000x3000 11 "$corpus/photo-4000x3000.png"
# The 12-megapixel photo, and the same enlarged to 100 megapixels (by
# libvips: ImageMagick's resource policy refuses pictures that large).
[ -f "$corpus/memory-4000x3000.png" ] || cp "$corpus/photo-4000x3000.png" "$corpus/memory-4000x3000.png"
[ -f "$corpus/memory-10000x10000.png" ] ||
  vips resize "$corpus/photo-4000x3000.png" "$corpus/memory-10000x10000.png" 2.5 --vscale 3.3333334
pictures=()
for size in 4000x3000 10000x10000; do
  png=$corpus/memory-$size.png
  [ -f "${png%.png}.tif" ] || $magick "$png" -compress lzw "${png%.png}.tif"
  pictures+=("$png" "${png%.png}.tif")
done

names=("${bench_names[@]}" vips imagemagick)
report=$out/measurements.tsv
: > "$report"
for picture in "${pictures[@]}"; do
  commands=()
  for i in "${!bench_programs[@]}"; do
    commands+=("$(bench_command "${bench_programs[i]}" "$picture" "$out/tulvex-$i.jpg")")
  done
  commands+=("vips copy $picture $out/vips.jpg[Q=100,optimize_coding,subsample_mode=on]"
             "$magick $picture -quality 100 -sampling-factor 2x2 $out/im.jpg")
  for i in "${!commands[@]}"; do
    if /usr/bin/time -o "$out/time.txt" -f %M sh -c "${commands[i]}" >/dev/null 2>&1; then status=ok; else status=failed; fi
    printf '%s\t%s\t%s\t%s\n' "$(basename "$picture")" "${names[i]}" "$(tail -1 "$out/time.txt")" "$status" >> "$report"
  done
done

python3 - "$report" > "$out/report.md" <<'PY'
import sys
rows, names = {}, []
for line in open(sys.argv[1]):
    picture, name, kib, status = line.rstrip("\n").split("\t")
    rows.setdefault(picture, {})[name] = (int(kib), status)
    if name not in names:
        names.append(name)
print("| picture | " + " | ".join(names) + " |")
print("|---" * (len(names) + 1) + "|")
for picture, cells in rows.items():
    width, height = (int(v) for v in picture.split("-")[1].split(".")[0].split("x"))
    out = []
    for name in names:
        kib, status = cells[name]
        mib = kib / 1024
        per_pixel = max(0, kib * 1024 - 8 * 2**20) / (width * height)
        out.append(f"{mib:.0f} MiB ({per_pixel:.1f})" + ("" if status == "ok" else " failed"))
    print(f"| {picture} | " + " | ".join(out) + " |")
PY
cat "$out/report.md"
