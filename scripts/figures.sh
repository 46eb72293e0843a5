#!/usr/bin/env bash
# Figures of both Windows exes, the ones the tests run (build/windows/app/
# and build/windows-x86/app/fenlodar.exe): size, imported DLLs, and start-up
# time under Wine against a window of the same size that does nothing else,
# built for the same processor (15 interleaved launches each by default;
# FENLODAR_FIGURE_RUNS changes it).
#
# Goals, checked on the x64 exe: at most 200 KiB, start-up at most 1.2
# times the baseline's (medians); neither exe imports comdlg32 or shell32,
# which are loaded when first needed. Exits 1 when a goal is missed. The
# x86 figures are printed beside them. Start-up under Wine is noisy on a
# busy machine, so the load average is printed with each measurement.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${FENLODAR_FIGURE_RUNS:-15}"
max_kib=200
max_ratio=1.2
cd "$root"
status=0

load() { cut -d' ' -f1-3 /proc/loadavg; }
over() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Builds the preset's exe and, in a tree of its own, the probe and the
# baseline window.
build() {
  local preset=$1 figures="build/$1-figures"
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target fenlodar >/dev/null
  cmake --preset "$preset" -B "$figures" -DFENLODAR_FIGURES=ON -DFENLODAR_TESTS=OFF >/dev/null
  cmake --build "$figures" --target startup_probe startup_baseline >/dev/null
}

# Size and imports of one exe; the goals apply to the x64 one only.
file_figures() {
  local arch=$1 exe=$2 triple=$3 goals=$4
  local bytes kib verdict="no goal" imports
  bytes=$(stat -c %s "$exe")
  kib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1024 }')
  if [ "$goals" = yes ]; then
    verdict="goal at most $max_kib KiB: met"
    over "$kib" "$max_kib" && { verdict="goal at most $max_kib KiB: MISSED"; status=1; }
  fi
  echo "$arch exe: $exe $bytes bytes ($kib KiB; $verdict)"
  imports=$(LC_ALL=C "$triple-objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -f | tr '\n' ' ')
  verdict="none loaded at start: met"
  if echo "$imports" | grep -qiE '(^| )(comdlg32|shell32)\.dll'; then
    verdict="comdlg32 or shell32 imported: MISSED"
    status=1
  fi
  echo "$arch imports: $imports($verdict)"
}

# Start-up of one exe against its baseline; the goal applies to x64 only.
startup_figures() {
  local arch=$1 preset=$2 goals=$3
  local tools="build/$preset-figures/tools/startup-baseline" log="build/$preset-figures/startup.log"
  local before ratio verdict="no goal"
  before=$(load)
  if ! wine "$tools/startup_probe.exe" "$runs" \
    "$(winepath -w "build/$preset/app/fenlodar.exe")" \
    "$(winepath -w "$tools/startup_baseline.exe")" </dev/null 2>"$log.err" |
    tr -d '\r' >"$log"; then
    # Wine's own messages come in the ANSI code page, GBK here.
    cat "$log" >&2
    iconv -f GBK -t UTF-8 "$log.err" >&2 2>/dev/null || cat "$log.err" >&2
    echo "$arch start-up: NOT MEASURED, the probe failed (above)"
    [ "$goals" = yes ] && status=1
    return 0
  fi
  ratio=$(sed -n 's/.*ratio \([0-9.]*\)$/\1/p' "$log")
  if [ -z "$ratio" ]; then
    cat "$log" >&2
    echo "$arch start-up: NOT MEASURED, the probe printed no figures"
    [ "$goals" = yes ] && status=1
    return 0
  fi
  if [ "$goals" = yes ]; then
    verdict="goal at most $max_ratio: met"
    over "$ratio" "$max_ratio" && { verdict="goal at most $max_ratio: MISSED"; status=1; }
  fi
  echo "$arch start-up under Wine, $runs launches each: $(tail -1 "$log") ($verdict)"
  echo "$arch   load average before $before, after $(load); each launch in $log"
}

build windows
build windows-x86

echo "figures: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs," \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
file_figures x64 build/windows/app/fenlodar.exe x86_64-w64-mingw32 yes
file_figures x86 build/windows-x86/app/fenlodar.exe i686-w64-mingw32 no

# Wine in a prefix of its own, on a display of its own unless one is given.
export FENLODAR_WINEPREFIX="${FENLODAR_WINEPREFIX:-$root/build/wine-prefix-figures}"
source "$root/scripts/wine-env.sh"
FENLODAR_XVFB_PID=
if [ -z "${FENLODAR_FIGURES_DISPLAY:-}" ]; then
  source "$root/scripts/xvfb.sh"
  fenlodar_start_xvfb
else
  export DISPLAY="$FENLODAR_FIGURES_DISPLAY"
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -z "$FENLODAR_XVFB_PID" ] || kill "$FENLODAR_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
fenlodar_wine_prefix
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

startup_figures x64 windows yes
startup_figures x86 windows-x86 no
exit "$status"
