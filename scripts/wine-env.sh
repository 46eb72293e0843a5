# Sourced: the environment every Wine process of this project runs in, and
# functions that make the private prefix ready. One locale for all of them,
# or lookups by GBK window titles fail between processes.
_fenlodar_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${FENLODAR_WINEPREFIX:-$_fenlodar_root/build/wine-prefix}"
# A 64-bit prefix with WoW64: both the x86-64 and the x86 exe run in it.
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8

# The loaders that start Wine programs, one for each kind. Debian's `wine`
# goes through the 32-bit loader whenever wine32 is installed, even for a
# 64-bit program; that costs a minute or more per start where 32-bit code
# runs only under emulation, and fails where it does not run at all. So a
# 64-bit program goes straight to the 64-bit loader, a 32-bit one to the
# 32-bit loader.
FENLODAR_WINE=wine
FENLODAR_WINE32=wine
[ -x /usr/lib/wine/wine64 ] && FENLODAR_WINE=/usr/lib/wine/wine64
[ -x /usr/lib/wine/wine ] && FENLODAR_WINE32=/usr/lib/wine/wine
export FENLODAR_WINE FENLODAR_WINE32

# The loader for the Windows program at the Unix path $1: the 32-bit one
# for an x86 image (PE machine 0x14c), the 64-bit one for anything else,
# the programs that Wine finds by name (cmd, reg) included.
fenlodar_wine_for() {
  local pe machine
  if [ -f "$1" ]; then
    pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    machine=$(od -An -tx2 -j$((${pe:-0} + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
    if [ "$machine" = 014c ]; then
      echo "$FENLODAR_WINE32"
      return
    fi
  fi
  echo "$FENLODAR_WINE"
}

# True where 32-bit programs run only through the kernel's user-mode
# emulator (see scripts/setup.sh), so that each start costs a minute.
fenlodar_wine32_emulated() {
  grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null
}

# Says why 32-bit Wine programs cannot start here, or nothing if they can.
_fenlodar_wine32_problem() {
  local loader=/usr/lib/wine/wine out
  [ -x /usr/lib/wine/wine64 ] || return 0 # not Debian's layout: nothing to tell
  if [ ! -x "$loader" ]; then
    echo "wine32:i386 is not installed (scripts/setup.sh installs it)"
  elif ! out="$(LC_ALL=C bash -c 'exec "$0" --version' "$loader" 2>&1)"; then
    echo "the 32-bit Wine loader does not start on this machine (${out%%$'\n'*});" \
      "a kernel without 32-bit x86 support answers 'Exec format error'"
  fi
}

# Creates the prefix once; later calls only top up its fonts. It is made
# after wine32 is in, so that it holds the 32-bit system folder. A prefix
# without that folder (made before wine32 was installed, or left half-made)
# is made again once 32-bit programs can run here.
fenlodar_wine_prefix() {
  local marker="$WINEPREFIX/.fenlodar-ready"
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  local wow64_kernel="$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll"
  local problem
  problem="$(_fenlodar_wine32_problem)"
  if [ -f "$marker" ] && { [ -f "$wow64_kernel" ] || [ -n "$problem" ]; }; then
    # Fonts installed after the prefix was made still reach it.
    cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
    return 0
  fi
  if [ -e "$WINEPREFIX" ]; then
    # Only a prefix of this project's making is ever removed.
    if [ ! -f "$marker" ] && [ "$WINEPREFIX" != "$_fenlodar_root/build/wine-prefix" ]; then
      echo "wine-env: $WINEPREFIX is not ready and was not made here;" \
        "remove it or choose another FENLODAR_WINEPREFIX" >&2
      return 1
    fi
    echo "wine-env: $WINEPREFIX is half-made or lacks the 32-bit system folder; making it again" >&2
    wineserver -k 2>/dev/null || true # this prefix's server, if one runs
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  "$FENLODAR_WINE" wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  if [ ! -f "$wow64_kernel" ]; then
    if [ -z "$problem" ]; then
      echo "wine-env: the new prefix $WINEPREFIX has no 32-bit system folder" >&2
      return 1
    fi
    echo "wine-env: 64-bit prefix only, the x86 exe cannot run in it: $problem" >&2
  fi
  # Without a window manager, unmanaged windows have no drawn caption and
  # every close stalls.
  "$FENLODAR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 ||
    { echo "wine-env: could not set Managed=N in $WINEPREFIX" >&2; return 1; }
  # A crash ends the process at once instead of waiting in the debugger.
  # 32-bit programs read the 32-bit view of the key, which is a copy.
  local view
  for view in 64 32; do
    [ "$view" = 32 ] && [ ! -f "$wow64_kernel" ] && continue
    "$FENLODAR_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
      /v Debugger /d '' /f "/reg:$view" >/dev/null 2>&1 ||
      { echo "wine-env: could not empty the debugger setting ($view-bit) in $WINEPREFIX" >&2
        return 1; }
  done
  cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  wineserver -w
  touch "$marker"
}

# Succeeds when the prefix can run the x86 exe; otherwise says why.
fenlodar_wine_check_32bit() {
  if [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then return 0; fi
  local problem
  problem="$(_fenlodar_wine32_problem)"
  echo "wine-env: $WINEPREFIX cannot run 32-bit programs:" \
    "${problem:-it has no 32-bit system folder}" >&2
  return 1
}
