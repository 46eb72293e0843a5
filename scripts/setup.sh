#!/usr/bin/env bash
# Installs whatever the builds and the tests need and is not there yet, on
# Debian 12: the native tools, MinGW-w64 for x86-64 and x86, Wine with its
# 32-bit half (from the i386 architecture) and the zh_CN.UTF-8 locale.
# Safe to run again: every step checks before it acts.
set -euo pipefail

need_root() {
  if [ "$(id -u)" != 0 ]; then
    echo "setup: installing packages needs root (run as root or with sudo)" >&2
    exit 1
  fi
}

# Runs a command with its output kept aside; shows the output only when the
# command fails, and then stops.
quietly() {
  local log status=0
  log="$(mktemp)"
  "$@" >"$log" 2>&1 || status=$?
  if [ "$status" != 0 ]; then
    echo "setup: failed (exit $status): $*" >&2
    tail -n 60 "$log" >&2
    rm -f "$log"
    exit "$status"
  fi
  rm -f "$log"
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

packages=(
  cmake ninja-build g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-tidy clang-format cppcheck libclang-rt-14-dev valgrind
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
  locales python3
  # The x86 exe runs under Wine's 32-bit half, which only the i386
  # architecture has.
  wine32:i386
)

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture"
    dpkg --add-architecture i386
  fi
  echo "setup: installing ${missing[*]}"
  quietly apt-get update
  # The i386 packages go in after the others: in one transaction dpkg can
  # refuse a library of both architectures whose shared files it compares
  # against a copy of the other architecture left half-made.
  native=() foreign=()
  for p in "${missing[@]}"; do
    if [[ "$p" == *:i386 ]]; then foreign+=("$p"); else native+=("$p"); fi
  done
  [ ${#native[@]} -eq 0 ] || quietly apt-get install -y --no-install-recommends "${native[@]}"
  [ ${#foreign[@]} -eq 0 ] || quietly apt-get install -y --no-install-recommends "${foreign[@]}"
fi

# Wine takes its ANSI code page from the Unix locale; GBK texts need 936.
# Installing packages (those of i386 above all) rebuilds the locale archive
# from /etc/locale.gen and drops a locale made any other way, so it is
# registered there, and made only now that every package is in.
locale_line='zh_CN.UTF-8 UTF-8'
if ! grep -qx "$locale_line" /etc/locale.gen 2>/dev/null; then
  need_root
  echo "setup: registering zh_CN.UTF-8 in /etc/locale.gen"
  if grep -qx "# $locale_line" /etc/locale.gen 2>/dev/null; then
    sed -i "s/^# $locale_line\$/$locale_line/" /etc/locale.gen
  else
    echo "$locale_line" >>/etc/locale.gen
  fi
fi
has_locale() { locale -a 2>/dev/null | grep -qiE '^zh_CN\.utf-?8$'; }
if ! has_locale; then
  need_root
  echo "setup: generating the zh_CN.UTF-8 locale"
  quietly locale-gen
  if ! has_locale; then
    echo "setup: zh_CN.UTF-8 is still missing after locale-gen" >&2
    exit 1
  fi
fi

# Some kernels (those of some virtual machines) run no 32-bit x86 code at
# all, and the 32-bit half of Wine is such code. There the kernel is told
# to run 32-bit programs through qemu's user-mode emulator: each start
# then costs about a minute, but the x86 exe is really run and tested.
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
if [ -x /usr/lib/wine/wine ] && ! runs_32bit; then
  need_root
  if ! installed qemu-user-static; then
    echo "setup: installing qemu-user-static (this machine runs no 32-bit code)"
    quietly apt-get update
    quietly apt-get install -y --no-install-recommends qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || quietly mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ -e "$binfmt/qemu-i386" ]; then
    echo 1 >"$binfmt/qemu-i386"
  else
    echo "setup: running 32-bit programs through qemu-i386-static"
    # ELF, 32-bit, little-endian, executable, machine i386; F opens the
    # emulator now, so it also serves programs started in other roots.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register"
  fi
  if ! runs_32bit; then
    echo "setup: 32-bit programs still do not run; the x86 exe cannot be tested" >&2
    exit 1
  fi
fi
