#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz) and runs each of them.
#   scripts/fuzz.sh short           about 10 s per target; part of the tests
#   scripts/fuzz.sh long [seconds]  longer runs, 600 s per target by default
# FENLODAR_FUZZ_JOBS=N runs N targets at a time (default 1, one after the
# other); the machine's cores are shared out among the targets running.
# Exits non-zero when a target finds a crash or a broken promise; the input
# is left in build/fuzz/artifacts. The corpora grow in build/fuzz/corpus.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"

usage() { echo "usage: scripts/fuzz.sh short | long [seconds]" >&2; exit 2; }
case "${1:-}" in
  short) seconds=10 ;;
  long) seconds="${2:-600}" ;;
  *) usage ;;
esac
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build "$build" >/dev/null

corpus="$build/corpus"
artifacts="$build/artifacts"
targets=(reading text_ops rewrite task_files)
mkdir -p "$corpus"/{reading,text_ops,rewrite,task_files} "$artifacts"
"$build/fuzz/fuzz_seeds" "$corpus"

# Task files go up to 100 KiB, but what the reading rules act on is local:
# a field separator is three bytes, an address piece a few dozen, and a
# typical file's header with both addresses fits in 300. Longer inputs only
# slow each run down. Rewrite and restore inputs carry two addresses and a
# backup besides the task file, so they get more.
declare -A max_len=([reading]=512 [text_ops]=1024 [rewrite]=4096 [task_files]=4096)
jobs="${FENLODAR_FUZZ_JOBS:-1}"
# Throughput: no fill of fresh allocations, a smaller quarantine and no
# allocation stacks (use-after-free is still caught within 16 MiB of later
# allocations, far more than one input makes; rerun a saved input by hand
# for the stacks). ASAN_OPTIONS given by the caller come after, so they win.
export ASAN_OPTIONS="max_malloc_fill_size=0:quarantine_size_mb=16:malloc_context_size=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || usage
# Each target runs in libFuzzer's fork mode with one worker process per core
# it gets, so a target alone uses the whole machine. Fork mode would pass
# over a hang or a memory blow-up and go on; both must stop the run here.
workers=$(( $(nproc) / jobs ))
(( workers >= 1 )) || workers=1

# libFuzzer counts a feature as rare until it has been hit 255 times, and
# looks every feature of every run up in its list of rare ones; with the
# hundreds of hit-count features these targets keep, that lookup took a
# third of each run. At 16 the list stays short and the schedule still
# favours inputs that reach what few others do.
run_target() {
  local target=$1 log="$build/fuzz_$1.log" code=0
  "$build/fuzz/fuzz_$target" -fork="$workers" -ignore_timeouts=0 -ignore_ooms=0 \
    -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 \
    -entropic_feature_frequency_threshold=16 \
    -artifact_prefix="$artifacts/$target-" "$corpus/$target" </dev/null >"$log" 2>&1 || code=$?
  echo "$code" >"$build/fuzz_$target.status"
}

report() {
  local target=$1 log="$build/fuzz_$1.log"
  printf 'fuzz: %-10s %4ss ... ' "$target" "$seconds"
  if [ "$(cat "$build/fuzz_$target.status")" = 0 ]; then
    # Fork mode prints "#runs: ... time: Ns ..." each time a worker's job
    # is merged in; the last line is the total. A job still running when
    # time is up is stopped and its runs are not counted, and the last merge
    # can come a little after the time, so the count within it is given too.
    awk -v limit="$seconds" -v workers="$workers" '
      /^#[0-9]+: .* time: [0-9]+s/ {
        runs = substr($1, 2) + 0
        for (i = 1; i < NF; i++) if ($i == "time:") t = $(i + 1) + 0
        if (t <= limit) within = runs
      }
      END {
        if (runs == "") { print "FAILED (no run count in the log)"; exit 1 }
        printf "ok, %d runs in %d s (%d within %d s), %d worker(s)", runs, t, within, limit, workers
      }' "$log" || { status=1; return; }
    echo ", corpus of $(find "$corpus/$target" -type f | wc -l) inputs"
  else
    status=1
    echo "FAILED (log: $log)"
    grep -E 'broken promise|ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 >&2 || true
  fi
}

status=0
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  batch=("${targets[@]:i:jobs}")
  for target in "${batch[@]}"; do run_target "$target" & done
  wait
  for target in "${batch[@]}"; do report "$target"; done
done
exit "$status"
