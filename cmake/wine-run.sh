#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, headless.
# The 32-bit prefix (build/wineprefix beside the build folders, or
# $TMS_WINEPREFIX) is created on first use with the null graphics driver, so
# windows and dialogs work without an X display. With TMS_WINE_ARCH=win64
# (cmake/wine64-run.sh) the program runs in a separate 64-bit prefix,
# build/wineprefix64 or $TMS_WINEPREFIX64: one prefix has one architecture.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEARCH=${TMS_WINE_ARCH:-win32}
if [ "$WINEARCH" = win64 ]; then
  export WINEPREFIX=${TMS_WINEPREFIX64:-$here/../build/wineprefix64}
  # Straight to the 64-bit loader: Debian's wine wrapper tries the 32-bit one
  # first, which a kernel without 32-bit support cannot start.
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  export WINELOADER=$wine
else
  export WINEPREFIX=${TMS_WINEPREFIX:-$here/../build/wineprefix}
  wine=wine
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree=;mshtml='
unset DISPLAY WAYLAND_DISPLAY

if [ ! -f "$WINEPREFIX/.tms-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tms-ready" ]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.tms-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# --init only makes sure the prefix exists.
[ "${1:-}" = "--init" ] && exit 0
exec "$wine" "$@"
