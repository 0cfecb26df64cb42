#!/usr/bin/env bash
# Times a whole folder converted at once: tulvex-convert --list with one job
# and with its default (one per processor), natively and as the Windows
# builds under Wine, against other batch converters, all at quality 100,
# optimised Huffman tables and 4:2:0 chroma subsampling. The folder holds
# COUNT photo-like pictures of WIDTHxHEIGHT in PNG, TIFF (LZW), BMP, PCX and
# JPEG, in turn. The commands run side by side, in turns
# (bench/time_commands.py); the table gives medians as ratios to the
# fastest peer.
#   [BASELINE=COMMIT] bench/run-batch-bench.sh [WIDTHxHEIGHT] [COUNT] [RUNS]
# With BASELINE, tulvex-convert as it was at that commit runs too.
# A benchmark to run by hand, not a test.
set -euo pipefail
. "$(dirname "$0")/bench-common.sh"
cd "$bench_root"
size=${1:-3000x2000}
count=${2:-30}
runs=${3:-3}

bench_install_tools
bench_build
bench_keep_wine_running

corpus=$bench_root/build/batch-bench-corpus/$size-$count
out=$bench_root/build/batch-bench-out
mkdir -p "$corpus" "$out"
formats=(png tif bmp pcx jpg)
if [ ! -f "$corpus/.complete" ]; then
  echo "making $count photo-like pictures of $size"
  # Plasma fractals are slow to make: five are made, and every picture is
  # one of them rolled and tinted in a way of its own, so that no two are
  # alike.
  for ((seed = 1; seed <= 5; seed++)); do bench_make_photo "$size" $seed "$corpus/base-$seed.png"; done
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

# The lists tulvex-convert reads (Windows paths for the Windows builds), and
# a fresh copy of the folder for the converters that write beside their
# sources.
list=$out/list.txt
winlist=$out/list-windows.txt
: > "$list"
: > "$winlist"
mkdir -p "$out/tulvex" "$out/vips"
for file in "$corpus"/photo-*; do
  destination=$out/tulvex/$(basename "${file%.*}").jpg
  printf '%s\t%s\n' "$file" "$destination" >> "$list"
  printf 'Z:%s\tZ:%s\r\n' "${file//\//\\}" "${destination//\//\\}" >> "$winlist"
done
fresh_copy="rm -rf $out/copy && cp -r $corpus $out/copy"

commands=()
for i in "${!bench_programs[@]}"; do
  program=${bench_programs[i]}
  [[ $program == *.exe ]] && this_list=$winlist || this_list=$list
  for jobs in "-j 1" ""; do
    commands+=(-n "${bench_names[i]} ${jobs:-default}" "$(bench_command "$program" $jobs --list "$this_list")")
  done
done
# mogrify writes beside its sources: it gets a fresh copy of the folder.
vips_one='vips copy "$0" "$1/vips/$(basename "${0%.*}").jpg[Q=100,optimize_coding,subsample_mode=on]"'
python3 bench/time_commands.py --runs "$runs" --export-json "$out/batch.json" "${commands[@]}" \
  -n "gm mogrify" -p "$fresh_copy" \
    "gm mogrify -format jpg -quality 100 -sampling-factor 2x2 -define jpeg:optimize-coding=true $out/copy/photo-*" \
  -n "im mogrify" -p "$fresh_copy" \
    "mogrify -format jpg -quality 100 -sampling-factor 2x2 -define jpeg:optimize-coding=true $out/copy/photo-*" \
  -n "vips one at a time" "ls $corpus/photo-* | xargs -P1 -I{} sh -c '$vips_one' {} $out" \
  -n "vips two at a time" "ls $corpus/photo-* | xargs -P2 -I{} sh -c '$vips_one' {} $out" \
  >/dev/null

python3 - "$out/batch.json" > "$out/report.md" <<'PY'
import json, sys
results = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
peers = {k: v for k, v in results.items() if not k.startswith("tulvex")}
fastest_name = min(peers, key=peers.get)
fastest = peers[fastest_name]
print("| command | median s | / fastest peer |")
print("|---|---|---|")
for name, seconds in results.items():
    print(f"| {name} | {seconds:.2f} | {seconds / fastest:.2f} |")
print()
print(f"Fastest peer: {fastest_name}.")
PY
cat "$out/report.md"
