#!/usr/bin/env bash
# Fresh-machine entry for the main job: installs what is needed, builds the
# program folder and runs the core's self-check on its reference points.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" RelWithDebInfo
"$root/build/Kolvedir/bin/kolvedir-selfcheck"
