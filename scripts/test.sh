#!/usr/bin/env bash
# Fresh-machine entry for the tests: installs what is needed, builds, runs every
# test; then the whole suite once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz targets for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" RelWithDebInfo
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
"$root/scripts/test-sanitizers.sh"
