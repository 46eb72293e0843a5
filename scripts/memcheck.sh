#!/usr/bin/env bash
# Runs the native core tests (build/native) under valgrind's memcheck.
# Exits non-zero on any memory error or leak.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/native"
cd "$root"
[ -f "$build/CMakeCache.txt" ] || cmake --preset native >/dev/null
cmake --build "$build" --target fenlodar_core_tests >/dev/null

log="$build/memcheck.log"
# The tests make their own temporary folders; valgrind only watches.
if valgrind --tool=memcheck --error-exitcode=3 --leak-check=full \
    --show-leak-kinds=definite,indirect,possible \
    --errors-for-leak-kinds=definite,indirect,possible \
    --track-origins=yes --log-file="$log" \
    "$build/tests/core/fenlodar_core_tests" --gtest_brief=1 </dev/null; then
  grep -E 'ERROR SUMMARY|definitely lost|in use at exit' "$log" | sed 's/^==[0-9]*== /memcheck: /'
else
  status=$?
  echo "memcheck: FAILED (exit $status), see $log" >&2
  grep -E 'ERROR SUMMARY|Invalid|uninitialised|lost' "$log" | head -20 >&2 || true
  exit 1
fi
