#!/usr/bin/env bash
# Builds everything and runs every test: native, native with sanitizers,
# the x86-64 and the x86 Windows builds under Wine (core, window and
# end-to-end tests each), the downloads, then the static analysis and short
# fuzz runs. Installs what is missing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
started=$SECONDS

step() { printf '\n=== %s\n' "$*"; }

step "Setup"
bash scripts/setup.sh

step "Native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "Native tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ctest --preset native-asan

step "Windows x86-64 build and tests under Wine"
source scripts/wine-env.sh
source scripts/xvfb.sh
fenlodar_wine_prefix
# Always a private screen of a known size, so window tests see the same
# geometry everywhere and never open windows on the user's desktop.
fenlodar_start_xvfb
# A running server makes each Wine start fast; warming it with its output
# redirected keeps ctest's pipes from being held open by Wine's services.
wineserver -p
"$FENLODAR_WINE" cmd /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true; kill "$FENLODAR_XVFB_PID" 2>/dev/null || true' EXIT
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows

step "Windows x86 build and tests under 32-bit Wine"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86
fenlodar_wine_check_32bit
# The first 32-bit program of the session, started with its output
# redirected for the same reason as above.
"$FENLODAR_WINE32" 'C:\windows\syswow64\cmd.exe' /c exit </dev/null >/dev/null 2>&1
if ! fenlodar_wine32_emulated; then
  ctest --preset windows-x86
else
  # Emulated, every 32-bit start costs about a minute, and ctest makes one
  # per test and one more per test program to list its tests: hours. So the
  # x86 core tests run in one process. The x86 window tests, the same code
  # as the x86-64 ones, are left out; so is, unless FENLODAR_X86_E2E=1 asks
  # for it, the end-to-end suite against the x86 exe: it takes half an hour
  # there, and the tool has been seen to die of a segmentation fault inside
  # the emulator, which nothing here can yet tell from a fault of its own.
  echo "32-bit programs run here only under emulation: the x86 core tests run in one" \
    "process; FENLODAR_X86_E2E=1 adds the end-to-end suite against the x86 exe"
  x86="$PWD/build/windows-x86"
  timeout 1800 "$FENLODAR_WINE32" "$x86/tests/core/fenlodar_core_tests.exe" </dev/null
  if [ "${FENLODAR_X86_E2E:-0}" = 1 ]; then
    FENLODAR_E2E_TOOL="$x86/app/fenlodar.exe" FENLODAR_TEST_TIME_SCALE=5 \
      timeout 3600 "$FENLODAR_WINE" build/windows/tests/e2e/fenlodar_e2e_tests.exe </dev/null
  fi
fi

if [ -f scripts/package.sh ]; then
  step "Downloads"
  bash scripts/package.sh
fi

for extra in analyze.sh memcheck.sh; do
  if [ -f "scripts/$extra" ]; then
    step "scripts/$extra"
    bash "scripts/$extra"
  fi
done
if [ -f scripts/fuzz.sh ]; then
  step "Short fuzz runs"
  bash scripts/fuzz.sh short
fi

step "All tests passed in $((SECONDS - started)) s"
