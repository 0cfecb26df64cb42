#!/usr/bin/env bash
# Runs the showcase program, takes a screenshot of the screen while its
# window and menu are up, and checks what the program logged.
#   showcase_test.sh <wine runner> <showcase program> <work folder>
set -euo pipefail
runner=$1 program=$2 work=$3
mkdir -p "$work"
log=$work/showcase.log signal=$work/screenshot-taken shot=$work/showcase.png
rm -f "$log" "$signal" "$shot"

"$runner" "$program" "Z:$log" "Z:$signal" &
child=$!
for _ in $(seq 1 600); do
  grep -q '^ready' "$log" 2>/dev/null && break
  sleep 0.1
done
grep -q '^ready' "$log" || { echo "the showcase never became ready"; kill "$child"; exit 1; }
import -window root "$shot"
touch "$signal"
status=0
wait "$child" || status=$?

expected=$(printf '%s\n' \
  "library registered 5 types" \
  "worker started=1" \
  "rows 1:转换成功 | 2:转换成功 | 3:格式不支持 | 4:转换成功 | 5:正在转换; selected 2" \
  "ready" \
  "menu closed" \
  "loop returned")
have=$(iconv -f GBK -t UTF-8 "$log")
if [ "$have" != "$expected" ] || [ "$status" != 0 ] || [ ! -s "$shot" ]; then
  printf 'exit %s\nhave:\n%s\nwant:\n%s\n' "$status" "$have" "$expected"
  exit 1
fi
echo "screenshot: $shot"
