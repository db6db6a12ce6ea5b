#!/bin/sh
# Pictures of the QGIS plugin: each algorithm's dialog and the log of a
# finished run, taken in Debian's QGIS on a virtual X screen of a laptop's
# size with the openbox window manager.
# Usage: scripts/screenshots-qgis.sh [BUILD_DIR] [OUTPUT_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"
cmake --build "$build" -j2 --target kolvedir_qgis_plugin kolvedir_python kolvedir_python_package \
  kolvedir-batch
PYTHONPATH="$build/Kolvedir/bin/python" xvfb-run -a -s "-screen 0 1366x768x24" sh -c '
  openbox >/dev/null 2>&1 &
  manager=$!
  sleep 1
  /usr/bin/python3 "$0" "$1" "$2" "$3"
  status=$?
  kill "$manager"
  exit "$status"' "$root/tools/qgis_screenshots.py" "$build/qgis-plugins" \
  "$root/data/OBIEKTY/PRZYKLAD" "$out"
