#!/usr/bin/env bash
# Builds the downloads in build/dist: Fenlodar-<version>-windows-x86.zip and
# Fenlodar-<version>-windows-x64.zip, each holding fenlodar.exe and the
# Chinese instructions 使用说明.txt, and SHA256SUMS beside them.
#
# Each zip takes the exe that the tests ran (build/windows-x86/app/ and
# build/windows/app/fenlodar.exe). An exe that is missing or older than its
# sources is built first, and the script says it has not been tested yet.
# Exits non-zero when an exe imports a DLL that is not Windows' own, or
# when a zip read back does not hold that exe byte for byte, the right
# names and readable instructions.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
dist=build/dist

# DLLs that come with every Windows from 7 on; anything else (a compiler
# runtime, the universal C runtime of later systems) would be missing on
# some user's machine.
own_dlls=" advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi user32 version "

fail() {
  echo "package: $*" >&2
  exit 1
}

# Builds the preset's exe when it is missing or out of date.
ensure_built() {
  local preset=$1 exe="build/$1/app/fenlodar.exe"
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  if [ ! -f "$exe" ] ||
    ! cmake --build --preset "$preset" --target fenlodar -- -n | grep -q 'no work to do'; then
    echo "package: building $exe; it has not been tested yet (bash scripts/test.sh)"
    cmake --build --preset "$preset" --target fenlodar >/dev/null
  fi
}

# The exe must be of the expected kind and import Windows' own DLLs only.
# objdump is read in the C locale: under zh_CN its words are translated.
check_imports() {
  local exe=$1 triple=$2 format=$3
  local objdump="$triple-objdump"
  local found
  found=$(LC_ALL=C "$objdump" -f "$exe" | sed -n 's/.*file format //p')
  [ "$found" = "$format" ] || fail "$exe is $found, expected $format"
  local dll
  for dll in $(LC_ALL=C "$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    dll=$(echo "$dll" | tr '[:upper:]' '[:lower:]')
    case "$own_dlls" in
      *" ${dll%.dll} "*) ;;
      *) fail "$exe imports $dll, which is not one of Windows' own DLLs" ;;
    esac
  done
}

ensure_built windows-x86
ensure_built windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
version_x86=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-x86/CMakeCache.txt)
[ -n "$version" ] || fail "no project version in build/windows/CMakeCache.txt"
[ "$version" = "$version_x86" ] ||
  fail "the two builds have different versions ($version_x86, $version): configure both again"

# One time stamp for every entry: the same exes give the same zips.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
work=$(mktemp -d "$root/build/package.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$dist"
rm -f "$dist"/Fenlodar-*.zip "$dist/SHA256SUMS"

zips=()
for build in "windows-x86 x86 i686-w64-mingw32 pei-i386" \
  "windows x64 x86_64-w64-mingw32 pei-x86-64"; do
  read -r preset arch triple format <<<"$build"
  exe="build/$preset/app/fenlodar.exe"
  check_imports "$exe" "$triple" "$format"
  zip="Fenlodar-$version-windows-$arch.zip"
  # Notepad on Windows 7 reads UTF-8 only with its byte-order mark, and
  # breaks lines only at CR LF.
  text="$work/$arch.txt"
  {
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/g" -e "s/@PACKAGE@/$zip/g" -e 's/$/\r/' docs/usage-zh.txt
  } >"$text"
  python3 scripts/make_zip.py "$dist/$zip" "$stamp" "fenlodar.exe=$exe" "使用说明.txt=$text"
  python3 scripts/check_zip.py "$dist/$zip" "$exe" "$version" ||
    fail "$dist/$zip is not what it must be"
  zips+=("$zip")
done

# CR LF, so that Notepad on Windows 7 shows one line per file.
(cd "$dist" && sha256sum "${zips[@]}" | sed 's/$/\r/' >SHA256SUMS && sha256sum -c --quiet SHA256SUMS) ||
  fail "SHA256SUMS does not match the zips"
for zip in "${zips[@]}"; do
  echo "package: $dist/$zip ($(stat -c %s "$dist/$zip") bytes)"
done
echo "package: $dist/SHA256SUMS"
