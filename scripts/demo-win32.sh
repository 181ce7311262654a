#!/usr/bin/env bash
# The demo's 32-bit Windows part: tmsinfo.exe and the 32-bit DLL under Wine,
# with a stand-in player in a process of its own. scripts/demo.sh runs it
# directly, or inside the test VM where the kernel runs no 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/../build/win32"

run() {
  echo "\$ $*"
  "$@" || echo "(exit code $?)"
}

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

