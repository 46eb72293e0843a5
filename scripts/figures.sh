#!/usr/bin/env bash
# Figures of the Windows build (build/windows-figures): the exe's size, the
# DLLs it imports, and its start-up time under Wine against a window of
# the same size that does nothing else (15 launches each, interleaved, by
# default; FENLODAR_FIGURE_RUNS changes it). Exits 1 when a goal is missed:
# at most 300 KiB, start-up at most 1.2 times the baseline's (medians).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/windows-figures"
runs="${FENLODAR_FIGURE_RUNS:-15}"
max_kib=300
max_ratio=1.2
cd "$root"

cmake --preset windows -B "$build" -DFENLODAR_FIGURES=ON >/dev/null
cmake --build "$build" --target fenlodar startup_probe startup_baseline >/dev/null
exe="$build/app/fenlodar.exe"

echo "figures: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs," \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
status=0
bytes=$(stat -c %s "$exe")
kib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1024 }')
verdict=met
awk -v k="$kib" -v m="$max_kib" 'BEGIN { exit !(k > m) }' && { verdict=MISSED; status=1; }
echo "exe: app/fenlodar.exe $bytes bytes ($kib KiB; goal at most $max_kib KiB: $verdict)"
echo "imports: $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -f | tr '\n' ' ')"
echo "sections: $(x86_64-w64-mingw32-objdump -h "$exe" | awk '$1 ~ /^[0-9]+$/ { printf "%s ", $2 }')"

# Wine in a prefix of its own, on a display of its own unless one is given.
export FENLODAR_WINEPREFIX="${FENLODAR_WINEPREFIX:-$root/build/wine-prefix-figures}"
source "$root/scripts/wine-env.sh"
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${FENLODAR_FIGURES_DISPLAY:-}" ]; then
  export DISPLAY=:73
  if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb :73 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
else
  export DISPLAY="$FENLODAR_FIGURES_DISPLAY"
fi
fenlodar_wine_prefix
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1

log="$build/startup.log"
wine "$build/tools/startup-baseline/startup_probe.exe" "$runs" \
  "$(winepath -w "$exe")" \
  "$(winepath -w "$build/tools/startup-baseline/startup_baseline.exe")" \
  </dev/null 2>/dev/null | tr -d '\r' >"$log" || { cat "$log"; echo "figures: start-up probe failed" >&2; exit 1; }
ratio=$(sed -n 's/.*ratio \([0-9.]*\)$/\1/p' "$log")
[ -n "$ratio" ] || { cat "$log"; echo "figures: no start-up figures" >&2; exit 1; }
verdict=met
awk -v r="$ratio" -v m="$max_ratio" 'BEGIN { exit !(r > m) }' && { verdict=MISSED; status=1; }
echo "start-up under Wine, $runs launches each: $(tail -1 "$log") (goal at most $max_ratio: $verdict)"
echo "(each launch: $log)"
exit "$status"
