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
cd build/win32
run ../../cmake/wine-run.sh tmsinfo.exe version
run ../../cmake/wine-run.sh tmsinfo.exe copy "Hello from Wine"
run ../../cmake/wine-run.sh tmsinfo.exe day 2100-03-01
run ../../cmake/wine-run.sh tmsinfo.exe flatten 'C:\Docs\page.htm'
run ../../cmake/wine-run.sh tmsinfo.exe os --break
run ../../cmake/wine-run.sh tmsinfo.exe os --short
# "tmsinfo.exe color" opens the real colour dialog, which this headless
# prefix cannot show to anyone; the Wine tests work it from a second thread.

# A stand-in Winamp in a Wine process of its own: it says "ready" once its
# window exists and ends when its input is closed.
coproc PLAYER {
  ../../cmake/wine-run.sh tms_fake_player.exe "Winamp v1.x" "7. Demo Artist - Café Song - Winamp" 1
}
read -r _ <&"${PLAYER[0]}"
run ../../cmake/wine-run.sh tmsinfo.exe music
run ../../cmake/wine-run.sh tmsinfo.exe music --html
run ../../cmake/wine-run.sh tmsinfo.exe video
exec {PLAYER[1]}>&-
wait "$PLAYER_PID"
run ../../cmake/wine-run.sh tmsinfo.exe all
run ../../cmake/wine-run.sh tmsinfo.exe all --json

echo "== 64-bit Windows under 64-bit Wine (build/win64/TolvaricModeSupport.DLL)"
cd ../win64
run ../../cmake/wine64-run.sh tmsinfo.exe all
