#!/usr/bin/env bash
# Builds fenlodar.exe and starts it under Wine. Installs what is missing.
# Without a display, the window opens on a private virtual screen.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target fenlodar
exe="$PWD/build/windows/app/fenlodar.exe"
echo "Built $exe (a single file; copy it anywhere on Windows and run it)."

source scripts/wine-env.sh
source scripts/xvfb.sh
fenlodar_wine_prefix
if [ -z "${DISPLAY:-}" ]; then
  fenlodar_start_xvfb
  echo "No display: the window runs on the virtual screen $DISPLAY"
  echo "(see it with: DISPLAY=$DISPLAY import -window root shot.png)."
fi
echo "Starting Fenlodar; close its window (or press Esc in it) to end."
wine "$exe"
