# Shared by the benchmark scripts (sourced): measure and ratio over the
# variables runs (number of runs) and work (a scratch folder).
# Median wall time (s) of `runs` runs with the processor time (user + system,
# s) of that run, and peak memory (MB) of the last. On a shared machine the
# processor time shows what the program itself costs.
measure() {  # label, command...
  local label=$1; shift
  local runsTimes=()
  for ((r = 0; r < runs; r++)); do
    /usr/bin/time -f "%e %M %U %S" -o "$work/time" "$@" > /dev/null 2> "$work/stderr" || {
      cat "$work/stderr" >&2; exit 1; }
    read -r seconds kb user system < "$work/time"
    runsTimes+=("$seconds $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')")
  done
  read -r median cpu < <(printf '%s\n' "${runsTimes[@]}" | sort -n | awk '{ a[NR] = $0 } END { print a[int((NR + 1) / 2)] }')
  printf '%-72s %6.2f s  cpu %5.2f s  peak %4d MB\n' "$label" "$median" "$cpu" $((kb / 1024))
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b / a }'; }
