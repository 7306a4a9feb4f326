#!/usr/bin/env bash
# The figures a user meets once, each taken as the first round of a fresh process:
# starts the cold program RUNS times (default 9) per scene and the first-frame program
# as many times, and prints each figure's median and minimum.
#   bench/cold.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-9}
cold=$build/bench/zuzided-cold
first=$build/bench/zuzided-first-frame
for p in "$cold" "$first"; do
  [ -x "$p" ] || { echo "cold.sh: no program at $p" >&2; exit 1; }
done
# Each program prints "name value name value ..."; the samples go to one list of
# "scene name value" lines, the scenes interleaved so that a slow minute of the shared
# machine spreads over all of them.
samples=$(
  for ((i = 0; i < runs; ++i)); do
    "$cold" s2 100 | sed 's/^/S2-10x100 /'
    "$cold" s2 1000 | sed 's/^/S2-10x1000 /'
    "$cold" s2 100 text-ready | sed 's/^/S2-10x100-text-ready /'
    "$cold" s1 | sed 's/^/S1 /'
    ZZ_LAUNCH_TIME=$EPOCHREALTIME "$first" | sed 's/^/first /'
  done
)
awk -v runs="$runs" '
  { for (i = 2; i < NF; i += 2) { key = $1 " " $i; v[key, ++n[key]] = $(i + 1); if (!(key in seen)) { seen[key] = 1; order[++k] = key } } }
  END {
    printf "Cold figures, first round of a fresh process, %d runs each (process CPU time; first frame: wall clock from launch)\n", runs
    printf "%-36s %12s %12s\n", "figure", "median", "min"
    for (j = 1; j <= k; ++j) {
      key = order[j]; m = n[key]
      for (a = 1; a <= m; ++a) s[a] = v[key, a] + 0
      for (a = 2; a <= m; ++a) { x = s[a]; b = a - 1; while (b >= 1 && s[b] > x) { s[b + 1] = s[b]; --b } s[b + 1] = x }
      med = (m % 2) ? s[(m + 1) / 2] : (s[m / 2] + s[m / 2 + 1]) / 2
      printf "%-36s %12.2f %12.2f\n", key, med, s[1]
    }
  }' <<<"$samples"
