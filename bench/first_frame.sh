#!/usr/bin/env bash
# Runs the first-frame program RUNS times (default 9) and prints each run's time from
# process start to the frame in the surface, then the median and the minimum.
#   bench/first_frame.sh [program] [runs]
set -euo pipefail
program=${1:-build/bench/zuzided-first-frame}
runs=${2:-9}
[ -x "$program" ] || { echo "first_frame.sh: no program at $program" >&2; exit 1; }
times=()
for ((i = 0; i < runs; ++i)); do
  line=$(ZZ_LAUNCH_TIME=$EPOCHREALTIME "$program")
  echo "  run $((i + 1)): $line"
  times+=("$(awk '{print $2}' <<<"$line")")
done
printf '%s\n' "${times[@]}" | sort -g | awk '
  { t[NR] = $1 }
  END {
    median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "first frame over %d runs: median %.1f ms, min %.1f ms\n", NR, median, t[1]
  }'
