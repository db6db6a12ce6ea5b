#!/bin/sh
# Pictures of the editor (with a result file), the object file list, the help
# window and the about window, taken on a virtual X screen.
# Usage: scripts/screenshots-windows.sh [BUILD_DIR] [OUTPUT_DIR]
set -eu
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"
cmake --build "$build" -j2 --target kolvedir_window_screenshots
xvfb-run -a -s "-screen 0 1100x760x24" "$build/tools/kolvedir_window_screenshots" "$out"
