#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Idempotent: packages already present are not touched. Works as root or with sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config help2man lintian
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  libcli11-dev
  libproj-dev proj-bin proj-data
  libgdal-dev gdal-bin
  python3-dev pybind11-dev python3-pybind11 python3-numpy python3-pytest
  python3-dask python3-distributed python3-pandas python3-pyproj
  python3-qgis qgis-providers
  clang libclang-rt-14-dev
  xvfb xauth x11-apps x11-utils imagemagick openbox xdotool
  qt6-translations-l10n
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
