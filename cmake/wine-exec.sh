#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix (CTest's emulator),
# with the Wine loader of the program's own kind.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
exec "$(fenlodar_wine_for "$1")" "$@"
