#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz) and runs each in turn.
#   scripts/fuzz.sh short           about 20 s per target; part of the tests
#   scripts/fuzz.sh long [seconds]  longer runs, 600 s per target by default
# Exits non-zero when a target finds a crash or a broken promise; the input
# is left in build/fuzz/artifacts. The corpora grow in build/fuzz/corpus.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"

usage() { echo "usage: scripts/fuzz.sh short | long [seconds]" >&2; exit 2; }
case "${1:-}" in
  short) seconds=20 ;;
  long) seconds="${2:-600}" ;;
  *) usage ;;
esac
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build "$build" >/dev/null

corpus="$build/corpus"
artifacts="$build/artifacts"
mkdir -p "$corpus"/{reading,text_ops,rewrite} "$artifacts"
"$build/fuzz/fuzz_seeds" "$corpus"

# Task files go up to 100 KiB, but the paths that matter show at a few KiB;
# longer inputs only slow each run down.
declare -A max_len=([reading]=16384 [text_ops]=4096 [rewrite]=8192)

status=0
for target in reading text_ops rewrite; do
  log="$build/fuzz_$target.log"
  printf 'fuzz: %-9s %4ss ... ' "$target" "$seconds"
  if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$target-" "$corpus/$target" </dev/null >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "ok, $runs runs, corpus of $(find "$corpus/$target" -type f | wc -l) inputs"
  else
    status=1
    echo "FAILED (log: $log)"
    grep -E 'broken promise|ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 >&2 || true
  fi
done
exit "$status"
