#!/bin/sh
# Pictures of the QGIS plugin: each algorithm's dialog and the log of a
# finished run, taken in Debian's QGIS on a virtual X screen of a laptop's
# size with the openbox window manager; where the QGIS desktop program is
# installed (package qgis), also its main window with the plugin turned on in
# a fresh profile (the Processing Toolbox showing the provider) and QGIS's
# log panel as text (qgis-dziennik.txt).
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

command -v qgis >/dev/null || exit 0
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
mkdir -p "$profile/profiles/default/QGIS" "$profile/profiles/default/python/plugins"
ln -s "$(cd "$build/qgis-plugins/kolvedir_processing" && pwd)" "$profile/profiles/default/python/plugins/"
printf '[PythonPlugins]\nkolvedir_processing=true\nprocessing=true\n' \
  > "$profile/profiles/default/QGIS/QGIS3.ini"
KOLVEDIR_SCREENSHOTS=$(cd "$out" && pwd) PYTHONPATH="$build/Kolvedir/bin/python" \
  xvfb-run -a -s "-screen 0 1366x768x24" sh -c '
  openbox >/dev/null 2>&1 &
  manager=$!
  sleep 1
  qgis --nologo --noversioncheck --profiles-path "$0" --code "$1" >/dev/null 2>&1
  status=$?
  kill "$manager"
  exit "$status"' "$profile" "$root/tools/qgis_desktop.py"
echo "$out/qgis-przybornik.png"
grep -A3 "== Plugins" "$out/qgis-dziennik.txt"
