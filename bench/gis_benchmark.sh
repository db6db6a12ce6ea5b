#!/usr/bin/env bash
# GIS data side by side with the reference tools on the same points (no
# pass/fail): the median wall time of RUNS runs (default 3) of each command.
#   1,000,000 rows of CSV (id, x, y) PL-2000 zone 18 → PL-1992: kolvedir-batch
#     against cs2cs EPSG:2177 EPSG:2180 on the same numbers, both onto
#     standard output thrown away, and kolvedir-batch into a durable file;
#   1,000,000 points in a GeoPackage, the same transformation: kolvedir-batch
#     against ogr2ogr -t_srs EPSG:2180, both writing a new GeoPackage with its
#     spatial index (as both do by default).
#   bench/gis_benchmark.sh [BUILD_DIR]     (default build-release, a Release build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
runs=${RUNS:-3}
batch=$build/Kolvedir/bin/kolvedir-batch
[[ -x $batch ]] || { echo "no $batch: build first (scripts/build.sh $build Release)" >&2; exit 1; }
for tool in cs2cs ogr2ogr; do
  command -v $tool > /dev/null || { echo "$tool missing (Debian proj-bin, gdal-bin)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/bench/measure.sh"

# A regular pseudo-random spread over zone 18: x northing, y easting.
awk 'BEGIN { srand(2000); print "id,x,y"; for (i = 1; i <= 1000000; i++)
  printf "%d,%.3f,%.3f\n", i, 5450000 + 600000 * rand(), 6330000 + 340000 * rand() }' > "$work/pts.csv"
tail -n +2 "$work/pts.csv" | awk -F, '{ print $2, $3 }' > "$work/cs2cs.in"
# A GIS layer holds easting, northing.
ogr2ogr -f GPKG "$work/pts.gpkg" "$work/pts.csv" -oo X_POSSIBLE_NAMES=y -oo Y_POSSIBLE_NAMES=x \
  -oo KEEP_GEOM_COLUMNS=NO -a_srs EPSG:2177 -nln punkty
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); 1,000,000 points," \
     "CSV $(du -h "$work/pts.csv" | cut -f1), GeoPackage $(du -h "$work/pts.gpkg" | cut -f1)"

measure "cs2cs EPSG:2177 EPSG:2180, standard output" \
  sh -c "cs2cs EPSG:2177 EPSG:2180 -f %.4f < '$work/cs2cs.in'"
reference=$median
measure "kolvedir-batch CSV, standard output" \
  "$batch" --input "$work/pts.csv" --output - --from EPSG:2177 --to EPSG:2180 --quiet
echo "    cs2cs / kolvedir: $(ratio "$median" "$reference")x"
measure "kolvedir-batch CSV, into a file" \
  "$batch" --input "$work/pts.csv" --output "$work/out.csv" --from EPSG:2177 --to EPSG:2180 --quiet
echo "    cs2cs / kolvedir: $(ratio "$median" "$reference")x"

measure "ogr2ogr -t_srs EPSG:2180, GeoPackage" \
  sh -c "rm -f '$work/ogr.gpkg' && ogr2ogr -f GPKG '$work/ogr.gpkg' '$work/pts.gpkg' -t_srs EPSG:2180"
reference=$median
measure "kolvedir-batch --to EPSG:2180, GeoPackage" \
  "$batch" --input "$work/pts.gpkg" --output "$work/out.gpkg" --to EPSG:2180 --quiet
echo "    ogr2ogr / kolvedir: $(ratio "$median" "$reference")x"
