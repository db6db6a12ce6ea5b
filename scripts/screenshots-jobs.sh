#!/usr/bin/env bash
# Screenshots of a long job on a 1366 × 768 screen under a window manager
# (openbox): the window as it opens, the job in progress with its progress bar,
# the Polish question on closing during the job, the stopped job, and the
# question left open until the job has ended, whose "Tak" closes at once.
# Usage: scripts/screenshots-jobs.sh [BUILD_DIR] [OUTPUT_DIR] [POINTS]   (after scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$(mkdir -p "${2:-$build/screenshots}" && cd "${2:-$build/screenshots}" && pwd)
points=${3:-10000000}

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A program folder of its own with one object holding a long xy2000 file.
mkdir -p "$work/Kolvedir/bin" "$work/Kolvedir/OBIEKTY/PRZYKLAD"
for f in "$build"/Kolvedir/bin/PL_grid_001.*; do [ -e "$f" ] && ln -s "$f" "$work/Kolvedir/bin/"; done
LC_ALL=C awk -v n="$points" 'BEGIN { for (i = 1; i <= n; i++)
  printf "p%d %.3f %.3f\r\n", i, 5780000 + i % 90000, 7480000 + i % 40000 }' \
  > "$work/Kolvedir/OBIEKTY/PRZYKLAD/xy2000"

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

LANG=pl_PL.UTF-8 "$build/tools/kolvedir-screenshot-tour" "$work/Kolvedir/bin" "$out" long-job
ls "$out"
