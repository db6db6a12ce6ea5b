#!/usr/bin/env bash
# The whole test suite once under AddressSanitizer and UndefinedBehaviorSanitizer
# (g++), then the fuzz targets (clang, libFuzzer): their seed corpora and a
# bounded fuzz run of about a minute. Any sanitizer report fails the run.
#
# Usage: scripts/test-sanitizers.sh [ASAN_DIR] [FUZZ_DIR]
#   build folders, relative to the repository root (default build-asan, build-fuzz)
# Environment: KOLVEDIR_FUZZ_SECONDS (default 12) seconds of fuzzing per target;
#   SKIP_FUZZ=1 runs the sanitizer suite only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
asan_dir=$root/${1:-build-asan}
fuzz_dir=$root/${2:-build-fuzz}
fuzz_seconds=${KOLVEDIR_FUZZ_SECONDS:-12}

# A report ends the process with status 23, which no test expects of a program
# it runs, so a report in a child process fails its test as well.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:exitcode=23:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=23
# Leaks inside third-party libraries only (Qt's platform plugins, fontconfig, GLib).
export LSAN_OPTIONS=suppressions=$root/tests/fault/lsan-third-party.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen

"$root/scripts/setup.sh"
start=$SECONDS

# The Python module stays out: an extension built with the sanitizer cannot be
# loaded into the plain interpreter.
echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer ($asan_dir)"
sanitize="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=gcc CXX=g++ cmake -S "$root" -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1" \
  "-DCMAKE_CXX_FLAGS=$sanitize" "-DCMAKE_C_FLAGS=$sanitize" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" \
  "-DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=address,undefined" \
  "-DCMAKE_MODULE_LINKER_FLAGS=-fsanitize=address,undefined" \
  -DKOLVEDIR_BENCH=OFF -DKOLVEDIR_FUZZ=OFF -DKOLVEDIR_PYTHON=OFF >/dev/null
cmake --build "$asan_dir" -j2
(cd "$asan_dir" && ctest --output-on-failure -j2 --timeout 900)
echo "== Sanitizer suite passed after $((SECONDS - start)) s"

[ "${SKIP_FUZZ:-0}" = 1 ] && exit 0

echo "== Fuzz targets: seed corpora and ${fuzz_seconds} s of fuzzing each ($fuzz_dir)"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOLVEDIR_FUZZ=ON -DKOLVEDIR_FUZZ_SECONDS="$fuzz_seconds" \
  -DKOLVEDIR_SHELL=OFF -DKOLVEDIR_BENCH=OFF -DKOLVEDIR_PYTHON=OFF >/dev/null
cmake --build "$fuzz_dir" -j2 --target fuzz_targets
# One target at a time: the machine's cores are shared.
(cd "$fuzz_dir" && ctest --output-on-failure -L fuzz -j1)
echo "== Sanitizers and fuzzing passed after $((SECONDS - start)) s"
