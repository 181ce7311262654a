#!/usr/bin/env bash
# Builds the library and the demo host for Linux and for 32- and 64-bit
# Windows, then runs tmsinfo natively and under Wine. The set-up and build
# steps print one line each; their full output is in build/logs/demo.log.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/steps.sh
bash scripts/setup.sh
source scripts/vm/common.sh
jobs=$(nproc)

build() {
  local preset=$1
  shift
  cmake --preset "$preset" && cmake --build --preset "$preset" --target "$@" -j"$jobs"
}
tms_step "build: native library and tmsinfo" build native tmsinfo TolvaricModeSupport
tms_step "build: 32-bit Windows DLL, tmsinfo.exe and a stand-in player" \
  build win32 tmsinfo TolvaricModeSupport tms_fake_player
tms_step "build: 64-bit Windows DLL and tmsinfo.exe" build win64 tmsinfo TolvaricModeSupport
if reason=$(tms_win32_needs_vm); then
  win32_in_vm=1
else
  win32_in_vm=0
  tms_step "wine: the 32-bit prefix (made once, in build/wineprefix)" cmake/wine-run.sh --init
fi
tms_step "wine: the 64-bit prefix (made once, in build/wineprefix64)" cmake/wine64-run.sh --init

# Each answer within a minute: a program that hangs ends the demo's line.
run() {
  echo "\$ $*"
  timeout 60 "$@" || echo "(exit code $?)"
}

echo
echo "== native (build/native/libTolvaricModeSupport.so)"
run build/native/tmsinfo --help
run build/native/tmsinfo version
run build/native/tmsinfo copy "Grüße, café"
run build/native/tmsinfo day
run build/native/tmsinfo day 2004-07-27
run build/native/tmsinfo backup 'D:\Backup' 'C:\Docs\page.htm'
run build/native/tmsinfo os
# No colour dialog on Linux: the stand-in cancels; the custom colours land in
# build/native/TolvaricMode.INI.
run build/native/tmsinfo color
run build/native/tmsinfo music
run build/native/tmsinfo all

echo
echo "== Windows under Wine (build/win32/TolvaricModeSupport.DLL)"
if [ "$win32_in_vm" = 1 ]; then
  echo "(the 32-bit DLL answers from inside a VM, scripts/vm/run.sh: $reason)"
  bash scripts/vm/run.sh bash scripts/demo-win32.sh || echo "(exit code $?)"
else
  bash scripts/demo-win32.sh
fi

echo
echo "== 64-bit Windows under 64-bit Wine (build/win64/TolvaricModeSupport.DLL)"
bash scripts/demo-win32.sh --win64
