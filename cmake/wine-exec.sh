#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix (CTest's emulator).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
exec "$FENLODAR_WINE" "$@"
