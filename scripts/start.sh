#!/usr/bin/env bash
# Builds fenlodar.exe for x86-64 and x86 and starts the x86-64 one under
# Wine. Installs what is missing. Without a display, the window opens on a
# private virtual screen.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
for preset in windows windows-x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target fenlodar
done
exe="$PWD/build/windows/app/fenlodar.exe"
cat <<TEXT
Built for Windows, each a single file to copy anywhere and run:
  build/windows/app/fenlodar.exe      64-bit Windows
  build/windows-x86/app/fenlodar.exe  32- and 64-bit Windows
The zips to hand out, with their checksums: bash scripts/package.sh
TEXT

source scripts/wine-env.sh
source scripts/xvfb.sh
fenlodar_wine_prefix
if [ -z "${DISPLAY:-}" ]; then
  fenlodar_start_xvfb
  echo "No display: the window runs on the virtual screen $DISPLAY"
  echo "(see it with: DISPLAY=$DISPLAY import -window root shot.png)."
fi
echo "Starting Fenlodar; close its window (or press Esc in it) to end."
"$FENLODAR_WINE" "$exe"
