#!/usr/bin/env bash
# Fresh-machine entry for the tests: installs what is needed, builds, runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" RelWithDebInfo
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
