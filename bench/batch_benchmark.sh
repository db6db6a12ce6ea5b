#!/usr/bin/env bash
# Times whole kolvedir-batch runs against PROJ's cs2cs on the same points and
# prints the figures side by side (no pass/fail): the median wall time of
# RUNS runs (default 5) of each command, 1,000,000 pseudo-random PL-2000
# zone 18 points; then peak memory and time of 1,000,000 and 10,000,000 records.
#   bench/batch_benchmark.sh [BUILD_DIR]     (default build-release, a Release build)
# The grid is the program folder's PL_grid_001.bin (the model grid as built).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
runs=${RUNS:-5}
batch=$build/Kolvedir/bin/kolvedir-batch
[[ -x $batch ]] || { echo "no $batch: build first (scripts/build.sh $build Release)" >&2; exit 1; }
command -v cs2cs > /dev/null || { echo "cs2cs missing (Debian proj-bin)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
points() {  # count, file: a regular pseudo-random spread over zone 18 (x northing, y easting)
  awk -v n="$1" 'BEGIN { srand(2000); for (i = 1; i <= n; i++)
    printf "%d %.3f %.3f\r\n", i, 5450000 + 600000 * rand(), 6330000 + 340000 * rand() }' > "$2"
}
mkdir "$work/OBJ" "$work/BIG"
points 1000000 "$work/OBJ/xy2000"
tr -d '\r' < "$work/OBJ/xy2000" | cut -d' ' -f2,3 > "$work/cs2cs.in"
echo "machine: $(nproc) cores; points: 1000000 xy2000 records, $(du -h "$work/OBJ/xy2000" | cut -f1)"

source "$root/bench/measure.sh"

xy92=(--from xy2000 --from-zone 18 --from-frame PL-ETRF89 --to xy92 --to-frame PL-ETRF89 --method theoretical)
kra=(--from xy2000 --from-zone 18 --from-frame PL-ETRF2000 --to BLH_KRA --to-frame PULKOWO --method empirical)

measure "cs2cs EPSG:2177 EPSG:2180" sh -c "cs2cs EPSG:2177 EPSG:2180 -f %.4f < '$work/cs2cs.in'"
proj92=$median
measure "cs2cs EPSG:2177 EPSG:4179" sh -c "cs2cs EPSG:2177 EPSG:4179 -f %.9f < '$work/cs2cs.in'"
proj4179=$median
# Each job twice: into the object folder (a durable result file replacing the
# previous one) and, as cs2cs runs, onto standard output thrown away.
for threads in 1 0; do
  name=$([ "$threads" = 0 ] && echo "all $(nproc) threads" || echo "1 thread")
  for job in xy92 kra; do
    if [ "$job" = xy92 ]; then args=("${xy92[@]}") proj=$proj92 title="xy2000 -> xy92 theoretical"
    else args=("${kra[@]}") proj=$proj4179 title="xy2000 -> BLH_KRA empirical"; fi
    measure "kolvedir-batch $title, $name" "$batch" --object "$work/OBJ" --threads "$threads" "${args[@]}"
    echo "    cs2cs / kolvedir: $(ratio "$median" "$proj")x"
    measure "kolvedir-batch $title, $name, --output -" "$batch" --input "$work/OBJ/xy2000" --output - --threads "$threads" "${args[@]}"
    echo "    cs2cs / kolvedir: $(ratio "$median" "$proj")x"
  done
done

runs=1
points 10000000 "$work/BIG/xy2000"
measure "10,000,000 records xy2000 -> xy92 theoretical, all threads" "$batch" --object "$work/BIG" --threads 0 "${xy92[@]}"
echo "    time per 1,000,000 records: $(awk -v t="$median" 'BEGIN { printf "%.2f", t / 10 }') s"
