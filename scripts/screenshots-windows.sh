#!/bin/sh
# Pictures of the editor (with a result file), the object file list, the help
# window, the about window, an editor after a click on the main window, the
# import's question before it replaces a file, and a file too big to edit (the
# question, then the file opened read-only), taken on a virtual X screen of a
# laptop's size with the openbox window manager.
# Usage: scripts/screenshots-windows.sh [BUILD_DIR] [OUTPUT_DIR]
set -eu
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"
cmake --build "$build" -j2 --target kolvedir_window_screenshots
xvfb-run -a -s "-screen 0 1366x768x24" sh -c '
  openbox >/dev/null 2>&1 &
  manager=$!
  sleep 1
  "$0" "$1"
  status=$?
  kill "$manager"
  exit "$status"' "$build/tools/kolvedir_window_screenshots" "$out"
