#!/usr/bin/env bash
# Runs a 64-bit Windows program under 64-bit Wine, in the project's 64-bit
# prefix (see wine-run.sh).
TMS_WINE_ARCH=win64 exec "$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" "$@"
