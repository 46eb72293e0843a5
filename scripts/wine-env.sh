# Sourced: the environment every Wine process of this project runs in, and
# a function that makes the private prefix ready. One locale for all of
# them, or lookups by GBK window titles fail between processes.
_fenlodar_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${FENLODAR_WINEPREFIX:-$_fenlodar_root/build/wine-prefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8

# Creates the prefix once; later calls only top up its fonts.
fenlodar_wine_prefix() {
  local marker="$WINEPREFIX/.fenlodar-ready"
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  # Fonts installed after the prefix was made still reach it.
  if [ -f "$marker" ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
    return 0
  fi
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
  # Without a window manager, unmanaged windows have no drawn caption and
  # every close stalls.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # A crash ends the process at once instead of waiting in the debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /d '' /f >/dev/null 2>&1
  cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  wineserver -w
  touch "$marker"
}
