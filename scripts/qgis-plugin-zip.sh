#!/usr/bin/env bash
# Builds the QGIS plugin's zip, kolvedir_processing-<version>.zip, for QGIS's
# "Zainstaluj z pliku ZIP", and prints its path. The plugin needs the Python
# module kolvedir (the Debian package, or a program folder's bin/python on
# PYTHONPATH). Usage: scripts/qgis-plugin-zip.sh [BUILD_DIR]   (default build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
"$root/scripts/setup.sh"
KOLVEDIR_TARGETS=kolvedir_qgis_plugin_zip "$root/scripts/build.sh" "$dir" RelWithDebInfo
ls "$dir"/kolvedir_processing-*.zip
