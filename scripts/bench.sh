#!/usr/bin/env bash
# Builds the benchmark (build/bench, optimised) and runs it: loading and
# rewriting task files of 1, 10 and 100 KiB in several shapes, beside a
# plain read of the same bytes. Ends with a summary table; exits 1 when a
# goal is missed. Extra arguments go to Google Benchmark, e.g.
#   scripts/bench.sh --benchmark_filter='load|baseline'
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
cmake --preset bench >/dev/null
cmake --build build/bench >/dev/null
echo "bench: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs," \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
exec build/bench/bench/fenlodar_bench "$@"
