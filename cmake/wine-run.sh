#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, headless.
# The 32-bit prefix (build/wineprefix beside the build folders, or
# $TMS_WINEPREFIX) is created on first use with the null graphics driver, so
# windows and dialogs work without an X display. With TMS_WINE_ARCH=win64
# (cmake/wine64-run.sh) the program runs in a separate 64-bit prefix,
# build/wineprefix64 or $TMS_WINEPREFIX64: one prefix has one architecture.
# $TMS_WINEPREFIX_SUFFIX, added to either path, gives a test a prefix of its
# own beside the shared one.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEARCH=${TMS_WINE_ARCH:-win32}
if [ "$WINEARCH" = win64 ]; then
  export WINEPREFIX=${TMS_WINEPREFIX64:-$here/../build/wineprefix64}${TMS_WINEPREFIX_SUFFIX:-}
  # Straight to the 64-bit loader: Debian's wine wrapper tries the 32-bit one
  # first, which a kernel without 32-bit support cannot start.
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  export WINELOADER=$wine
else
  export WINEPREFIX=${TMS_WINEPREFIX:-$here/../build/wineprefix}${TMS_WINEPREFIX_SUFFIX:-}
  wine=wine
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No crash debugger: with it, a crashing program waits for someone to close
# winedbg's crash dialog, which nobody sees here. Without it the program ends
# at once, non-zero, after Wine's "Unhandled page fault ... at address" line.
export WINEDLLOVERRIDES='mscoree=;mshtml=;winedbg.exe='
unset DISPLAY WAYLAND_DISPLAY

# Each step of making a prefix has a time limit (wineboot takes a minute or
# more under software emulation); a failed or timed-out step stops Wine's
# processes in the prefix and ends the run with a message naming the step.
setup_limit=${TMS_WINE_SETUP_TIMEOUT:-600}
setup_log=$WINEPREFIX.setup.log
setup_step() {
  local name=$1 status=0
  shift
  timeout -k 10 "$setup_limit" "$@" >>"$setup_log" 2>&1 || status=$?
  [ "$status" -eq 0 ] && return 0
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "wine-run.sh: $name timed out after ${setup_limit}s (TMS_WINE_SETUP_TIMEOUT)" >&2
  else
    echo "wine-run.sh: $name failed with status $status" >&2
  fi
  tail -n 20 "$setup_log" >&2
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  exit 1
}

# The prefix is marked ready only when every step succeeded and it holds its
# registry and system DLLs. One found without the mark (a set-up that failed
# or was cut short) is removed and made afresh, if it was made here: the
# .tms-prefix mark keeps a prefix of someone else's, named by mistake, safe.
make_prefix() {
  if [ -n "$(ls -A "$WINEPREFIX" 2>/dev/null)" ] && [ ! -f "$WINEPREFIX/.tms-prefix" ]; then
    echo "wine-run.sh: $WINEPREFIX was not made here and is not ready; remove it or choose another prefix" >&2
    exit 1
  fi
  # Its dosdevices hold a link to /, which rm does not follow.
  rm -rf --one-file-system "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  touch "$WINEPREFIX/.tms-prefix"
  : >"$setup_log"
  setup_step "wineboot -i" "$wine" wineboot -i
  setup_step "setting the null graphics driver (reg add)" \
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
  setup_step "waiting for the wineserver to end (wineserver -w)" wineserver -w
  local file
  for file in system.reg user.reg drive_c/windows/system32/kernel32.dll; do
    if [ ! -f "$WINEPREFIX/$file" ]; then
      echo "wine-run.sh: the new prefix $WINEPREFIX has no $file" >&2
      exit 1
    fi
  done
  touch "$WINEPREFIX/.tms-ready"
}

if [ ! -f "$WINEPREFIX/.tms-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    # Another run making this prefix has its own time limits on every step.
    flock -w $((3 * setup_limit + 60)) 9 || {
      echo "wine-run.sh: gave up waiting for another run to make $WINEPREFIX" >&2
      exit 1
    }
    [ -f "$WINEPREFIX/.tms-ready" ] || make_prefix
  ) 9>"$WINEPREFIX.lock"
fi

# --init only makes sure the prefix exists.
[ "${1:-}" = "--init" ] && exit 0
exec "$wine" "$@"
