#!/usr/bin/env bash
# Times kolvedir-batch on 1,000,000 xy2000 points (zone 18) against PROJ's
# cs2cs on the same points, and prints the figures (no pass/fail).
#   bench/batch_benchmark.sh [BUILD_DIR]     (default build-release, a Release build)
# The grid is the program folder's PL_grid_001.bin (the model grid as built).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
batch=$build/Kolvedir/bin/kolvedir-batch
[[ -x $batch ]] || { echo "no $batch: build first (scripts/build.sh $build Release)" >&2; exit 1; }
command -v cs2cs > /dev/null || { echo "cs2cs missing (Debian proj-bin)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/OBJ"
# A regular pseudo-random spread over zone 18 of PL-2000 (x northing, y easting).
awk 'BEGIN { srand(2000); for (i = 1; i <= 1000000; i++)
  printf "%d %.3f %.3f\r\n", i, 5450000 + 600000 * rand(), 6330000 + 340000 * rand() }' \
  > "$work/OBJ/xy2000"
tr -d '\r' < "$work/OBJ/xy2000" | cut -d' ' -f2,3 > "$work/cs2cs.in"
echo "points: 1000000 xy2000 records, $(du -h "$work/OBJ/xy2000" | cut -f1)"

# Wall time, processor time (user + system; steadier on a shared machine) and
# peak memory of one command.
measure() {  # label, command...
  local label=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" > /dev/null 2> "$work/stderr" || {
    cat "$work/stderr" >&2; exit 1; }
  read -r seconds user system kb < "$work/time"
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
  printf '%-58s %6.2f s wall %6.2f s cpu  peak %3d MB\n' "$label" "$seconds" "$cpu" $((kb / 1024))
  last=$seconds lastcpu=$cpu
}

measure "kolvedir-batch xy2000 (PL-ETRF89) -> xy92, theoretical" \
  "$batch" --object "$work/OBJ" --from xy2000 --from-zone 18 --from-frame PL-ETRF89 \
  --to xy92 --to-frame PL-ETRF89 --method theoretical
first=$last firstcpu=$lastcpu
measure "kolvedir-batch xy2000 (PL-ETRF2000) -> BLH_KRA, empirical" \
  "$batch" --object "$work/OBJ" --from xy2000 --from-zone 18 --from-frame PL-ETRF2000 --to BLH_KRA
measure "cs2cs EPSG:2177 -> EPSG:2180" sh -c "cs2cs EPSG:2177 EPSG:2180 -f %.4f < '$work/cs2cs.in'"
awk -v a="$first" -v b="$last" -v ac="$firstcpu" -v bc="$lastcpu" 'BEGIN {
  printf "cs2cs / first job: %.2f wall, %.2f cpu (target at least 3)\n", b / a, bc / ac }'
