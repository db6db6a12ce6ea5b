#!/usr/bin/env bash
# Builds the Debian package kolvedir_<version>_amd64.deb in a build tree of its
# own, with Debian's compiler and linker flags (hardening included), and shows
# what lintian says of it; lintian errors fail the script.
# Usage: scripts/build-deb.sh [BUILD_DIR]   (default build-deb; the package is written there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-deb}
"$root/scripts/setup.sh"

# CMake reads CFLAGS, CXXFLAGS and LDFLAGS when it first configures a tree;
# the preprocessor's flags (_FORTIFY_SOURCE) go with the compiler's.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
"$root/scripts/build.sh" "$dir" RelWithDebInfo -DKOLVEDIR_TESTS=OFF -DKOLVEDIR_BENCH=OFF
(cd "$dir" && cpack -G DEB >/dev/null)

deb=$(ls -t "$dir"/kolvedir_*_*.deb | head -n 1)
echo "== $deb: $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
echo "== lintian"
lintian --fail-on error --display-info "$deb"
