#!/usr/bin/env bash
# Screenshots of the main window under Xvfb: after start, with each module
# chosen and after a job; prints the time from start to the shown window.
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]   (after scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$(mkdir -p "${2:-$build/screenshots}" && cd "${2:-$build/screenshots}" && pwd)
title='KOLVEDIR w.2.06 (2013)'

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own with one object holding an xy2000 file.
mkdir -p "$work/Kolvedir/bin" "$work/Kolvedir/OBIEKTY/PRZYKŁAD"
cp "$build/Kolvedir/bin/kolvedir" "$build/Kolvedir/bin/libkopy.so" "$work/Kolvedir/bin/"
for f in "$build"/Kolvedir/bin/PL_grid_001.*; do [ -e "$f" ] && ln -s "$f" "$work/Kolvedir/bin/"; done
printf '1001 5800000.000 7500000.000\r\n1002 5790000.123 7510000.456\r\n' \
  > "$work/Kolvedir/OBIEKTY/PRZYKŁAD/xy2000"

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1100x820x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done

shown() { xwininfo -root -tree 2>/dev/null | grep -F "$title" | awk '{print $1}' | while read -r id; do
  xwininfo -id "$id" | grep -q IsViewable && echo yes; done | grep -q yes; }
start=$(date +%s%N)
"$work/Kolvedir/bin/kolvedir" >/dev/null 2>&1 &
program_pid=$!
until shown; do sleep 0.01; done
end=$(date +%s%N)
echo "start-up to shown window: $(( (end - start) / 1000000 )) ms"
sleep 0.5
import -window root "$out/01-start.png"
kill "$program_pid"; wait "$program_pid" 2>/dev/null || true; program_pid=""

"$build/tools/kolvedir-screenshot-tour" "$work/Kolvedir/bin" "$out"
ls "$out"
