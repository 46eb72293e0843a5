#!/usr/bin/env bash
# Static analysis: clang-tidy (checks in .clang-tidy) and cppcheck over
# core/, app/, fuzz/, bench/ and tools/. The portable code is analysed as
# the native build compiles it (build/analyze-clang); the Windows code
# (app/, core/file_io_win32.cpp, tools/) as the MinGW build compiles it
# (build/analyze-windows), with clang told the target and MinGW's C++
# headers. Exits non-zero on any finding.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

cmake --preset native -B build/analyze-clang -DCMAKE_CXX_COMPILER=clang++ \
  -DFENLODAR_FUZZ=ON -DFENLODAR_BENCH=ON >/dev/null
cmake --preset windows -B build/analyze-windows -DFENLODAR_FIGURES=ON >/dev/null

gcc_dir="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
windows_args=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++
  "--extra-arg=-isystem$gcc_dir/include/c++"
  "--extra-arg=-isystem$gcc_dir/include/c++/x86_64-w64-mingw32"
  "--extra-arg=-isystem$gcc_dir/include/c++/backward")

native_files=$(ls core/*.cpp fuzz/*.cpp bench/*.cpp | grep -v '_win32\.cpp$')
windows_files=$(ls app/*.cpp core/*_win32.cpp tools/*/*.cpp 2>/dev/null || true)

status=0
tidy() {  # build dir, extra args..., then files on stdin
  local dir="$1"; shift
  xargs -P "$jobs" -n 2 clang-tidy -p "$dir" --quiet "$@" 2>&1 |
    grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Error while processing' || true
}

echo "analyze: clang-tidy, native ($(echo $native_files | wc -w) files)"
out=$(echo $native_files | tidy build/analyze-clang)
[ -z "$out" ] || { echo "$out"; status=1; }

echo "analyze: clang-tidy, Windows ($(echo $windows_files | wc -w) files)"
out=$(echo $windows_files | tidy build/analyze-windows "${windows_args[@]}")
[ -z "$out" ] || { echo "$out"; status=1; }

# useStlAlgorithm is taste: a one-line loop reads as well as the algorithm.
# umaskCalled: with the Windows library loaded, cppcheck takes the POSIX
# backend's umask for the obsolete Windows one.
echo "analyze: cppcheck"
if ! cppcheck --quiet --enable=warning,performance,portability,style --std=c++20 \
    --language=c++ --library=windows --inline-suppr --error-exitcode=1 \
    --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
    --suppress=umaskCalled:core/file_io_posix.cpp \
    -I core -I tests/core -j "$jobs" core app fuzz bench tools; then
  status=1
fi

if [ "$status" = 0 ]; then echo "analyze: clean"; else echo "analyze: FINDINGS" >&2; fi
exit "$status"
