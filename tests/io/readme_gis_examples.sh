#!/usr/bin/env bash
# Runs the examples of README's "Dane GIS / GIS data" as they stand, with the
# build's kolvedir-batch first on PATH: the CSV example must print the lines
# the README shows after it; the GeoPackage example runs on parcels in
# EPSG:2177 (one of them outside the admissible area) made here first.
#   readme_gis_examples.sh README.md PROGRAM_FOLDER_BIN
set -euo pipefail
readme=$1
export PATH=$2:$PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The ```sh blocks of the section, each into its own file.
awk '/^## Dane GIS/ { in_section = 1; next } /^## / { in_section = 0 }
     in_section && /^```sh/ { n++; file = "example" n ".sh"; next }
     in_section && /^```/ { file = ""; next }
     file != "" { print > file }' "$readme"
[[ -f example1.sh && -f example2.sh ]] || { echo "README: the two examples are missing" >&2; exit 1; }

# The CSV example ends by printing what the README shows under it (before
# that come the runner's monitor lines).
bash example1.sh 2>/dev/null > printed
sed -n 's/^# //p' example1.sh > shown
tail -n "$(wc -l < shown)" printed | diff shown -

# Parcels of PL-2000 zone 18 near Wrocław, then once more with one in the sea
# north of Poland: that one refuses the first command (which writes nothing)
# and is left out by the second.
parcels() {  # the parcels' WKT, one a line, into dzialki.gpkg (layer dzialki, EPSG:2177)
  { printf 'WKT,nr\n'; local n=0; for p in "$@"; do n=$((n + 1)); printf '"POLYGON ((%s))",%d\n' "$p" "$n"; done; } > dzialki.csv
  rm -f dzialki.gpkg dzialki-92.gpkg dzialki-65.*
  ogr2ogr -q -f GPKG dzialki.gpkg dzialki.csv -a_srs EPSG:2177 -nln dzialki -nlt POLYGON \
    -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO
}
count() { ogrinfo -so -al "$1" | sed -n 's/^Feature Count: //p'; }
fail() { echo "$1" >&2; exit 1; }
near1="6429808 5652126,6429908 5652126,6429908 5652226,6429808 5652126"
near2="6430808 5653126,6430908 5653126,6430908 5653226,6430808 5653126"
sea="6400000 6160000,6400100 6160000,6400100 6160100,6400000 6160000"

parcels "$near1" "$near2"
bash example2.sh > /dev/null 2>&1 || fail "the GeoPackage example failed"
[[ $(count dzialki-92.gpkg) == 2 && $(count dzialki-65.shp) == 2 ]] || fail "not every parcel written"
ogrinfo -so -al dzialki-92.gpkg | grep -q 'ID\["EPSG",2180\]\]$' || fail "dzialki-92.gpkg: not EPSG:2180"

parcels "$near1" "$sea" "$near2"
bash example2.sh > /dev/null 2>&1 || true  # the last command's status: the first one fails
[[ ! -e dzialki-92.gpkg ]] || fail "a parcel outside the area did not refuse the first command"
[[ $(count dzialki-65.shp) == 2 ]] || fail "--skip-failures did not leave out the parcel outside the area"
echo "README GIS examples: ok"
