#!/usr/bin/env bash
# Longer fuzz runs for people. Builds the fuzz targets (clang, libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and fuzzes one target or all
# of them in turn, one job at a time.
#
# Usage: scripts/fuzz.sh [TARGET|all] [SECONDS] [extra libFuzzer options...]
#   TARGET: point_record_fuzz, grid_loader_fuzz, trans_job_fuzz,
#           height_job_fuzz, quasigeoid_job_fuzz (default all); SECONDS per
#           target (default 600).
# Environment: FUZZ_DIR build folder (default build-fuzz, relative to the
#   repository root); MERGE=1 afterwards merges the inputs that add coverage
#   into the seed corpus in tests/fuzz/corpus (review before committing).
# The corpus a run grows is kept in FUZZ_DIR/fuzz/TARGET-corpus and reused by
# the next run; a crash, leak or hang is written to FUZZ_DIR/fuzz/TARGET-*
# and replays with: FUZZ_DIR/fuzz/TARGET FILE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/${FUZZ_DIR:-build-fuzz}
which=${1:-all}
seconds=${2:-600}
shift $(( $# > 2 ? 2 : $# ))

declare -A seeds=([point_record_fuzz]=lines [grid_loader_fuzz]=grid [trans_job_fuzz]=points
                  [height_job_fuzz]=points [quasigeoid_job_fuzz]=points)
if [ "$which" = all ]; then
  targets=(point_record_fuzz grid_loader_fuzz trans_job_fuzz height_job_fuzz quasigeoid_job_fuzz)
elif [ -n "${seeds[$which]:-}" ]; then
  targets=("$which")
else
  echo "unknown target: $which (one of: ${!seeds[*]} or all)" >&2
  exit 2
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOLVEDIR_FUZZ=ON -DKOLVEDIR_SHELL=OFF -DKOLVEDIR_BENCH=OFF -DKOLVEDIR_PYTHON=OFF >/dev/null
cmake --build "$dir" -j2 --target fuzz_targets

for t in "${targets[@]}"; do
  corpus=$dir/fuzz/$t-corpus
  seed=$root/tests/fuzz/corpus/${seeds[$t]}
  mkdir -p "$corpus"
  echo "== $t: $seconds s"
  "$dir/fuzz/$t" "$corpus" "$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/fuzz/$t-" "$@" 2>&1 |
    grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE)'
  if [ "${MERGE:-0}" = 1 ]; then
    "$dir/fuzz/$t" -merge=1 "$seed" "$corpus" 2>&1 | tail -1
  fi
done
