#!/usr/bin/env bash
# Configures and builds one build tree. Usage: scripts/build.sh [BUILD_DIR] [CMAKE_BUILD_TYPE] [extra cmake args...]
# Environment: KOLVEDIR_TARGETS, the targets to build (default: all of them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
type=${2:-RelWithDebInfo}
shift $(( $# > 2 ? 2 : $# ))
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
# shellcheck disable=SC2086  # a list of names
cmake --build "$dir" ${KOLVEDIR_TARGETS:+--target $KOLVEDIR_TARGETS}
