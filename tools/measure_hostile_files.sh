#!/usr/bin/env bash
# The peak heap of every reader meeting every hostile file: runs each BM_Hostile benchmark once
# in a process of its own under heaptrack and prints its peak above that of a process that runs
# no benchmark. The times are those of `zifferon-bench --benchmark_filter=BM_Hostile`.
#   tools/measure_hostile_files.sh [path of zifferon-bench]
set -euo pipefail
bench=${1:-build/bench/zifferon-bench}
command -v heaptrack >/dev/null || { echo "heaptrack is missing (apt-get install heaptrack)."; exit 1; }
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

peak_bytes() { # the peak heap of the benchmarks matching $1, in bytes
  heaptrack -o "$work/trace" "$bench" --benchmark_filter="$1" --benchmark_min_time=0 \
    >/dev/null 2>&1
  heaptrack_print -f "$work/trace.zst" 2>/dev/null |
    sed -n 's/^peak heap memory consumption: \(.*\)$/\1/p' | numfmt --from=iec
  rm -f "$work/trace.zst"
}

baseline=$(peak_bytes '^none$')
printf '%-45s %12s\n' benchmark 'peak KiB'
"$bench" --benchmark_list_tests --benchmark_filter='^BM_Hostile/' 2>/dev/null |
  while read -r name; do
    peak=$(peak_bytes "^${name}\$")
    printf '%-45s %12d\n' "$name" $(((peak - baseline) / 1024))
  done
