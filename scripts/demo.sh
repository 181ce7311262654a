#!/usr/bin/env bash
# Builds the library and the demo host for Linux and for 32- and 64-bit
# Windows, then runs tmsinfo natively and under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native --target tmsinfo TolvaricModeSupport -j"$(nproc)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target tmsinfo TolvaricModeSupport tms_fake_player -j"$(nproc)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tmsinfo TolvaricModeSupport -j"$(nproc)"

run() {
  echo "\$ $*"
  "$@" || echo "(exit code $?)"
}

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

echo "== Windows under Wine (build/win32/TolvaricModeSupport.DLL)"
source scripts/vm/common.sh
if reason=$(tms_win32_needs_vm); then
  echo "(the 32-bit DLL answers from inside a VM, scripts/vm/run.sh: $reason)"
  bash scripts/vm/run.sh bash scripts/demo-win32.sh || echo "(exit code $?)"
else
  bash scripts/demo-win32.sh
fi

echo "== 64-bit Windows under 64-bit Wine (build/win64/TolvaricModeSupport.DLL)"
cd build/win64
run ../../cmake/wine64-run.sh tmsinfo.exe all
