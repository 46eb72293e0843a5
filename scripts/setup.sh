#!/usr/bin/env bash
# Installs whatever the build and the tests need and is not there yet.
# Safe to run again: every step checks before it acts.
set -euo pipefail

need_root() {
  if [ "$(id -u)" != 0 ]; then
    echo "setup: installing packages needs root (run as root or with sudo)" >&2
    exit 1
  fi
}

packages=(
  cmake ninja-build g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-tidy clang-format cppcheck libclang-rt-14-dev valgrind
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
  locales python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  need_root
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the Unix locale; GBK texts need 936.
if ! locale -a 2>/dev/null | grep -qiE '^zh_CN\.utf-?8$'; then
  need_root
  echo "setup: generating the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
