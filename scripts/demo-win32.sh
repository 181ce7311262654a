#!/usr/bin/env bash
# The demo's Windows part: tmsinfo.exe and the DLL under Wine. Without
# arguments, the 32-bit build with a stand-in player in a process of its own
# (scripts/demo.sh runs it directly, or inside the test VM where the kernel
# runs no 32-bit programs); with --win64, "tmsinfo.exe all" of the 64-bit
# build under 64-bit Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = --win64 ]; then
  cd "$here/../build/win64"
  runner=../../cmake/wine64-run.sh
else
  cd "$here/../build/win32"
  runner=../../cmake/wine-run.sh
fi

# Wine's ANSI code page follows the locale: C.UTF-8 gives 1252, and Wine
# reads command lines as UTF-8. tmsinfo.exe prints titles in that code page
# (as tmsCopyString wrote them), so its bytes are turned into UTF-8 for the
# terminal.
export LC_ALL=C.UTF-8
# Each answer within five minutes (Wine starts slowly in the VM).
run() {
  echo "\$ $runner $*"
  timeout 300 "$runner" "$@" | iconv -f CP1252 -t UTF-8 || echo "(exit code $?)"
}

if [ "${1:-}" = --win64 ]; then
  run tmsinfo.exe all
  exit 0
fi

run tmsinfo.exe version
run tmsinfo.exe copy "Hello from Wine"
run tmsinfo.exe day 2100-03-01
run tmsinfo.exe flatten 'C:\Docs\page.htm'
run tmsinfo.exe os --break
run tmsinfo.exe os --short
# "tmsinfo.exe color" opens the real colour dialog, which this headless
# prefix cannot show to anyone; the Wine tests work it from a second thread.

# A stand-in Winamp in a Wine process of its own: it says "ready" once its
# window exists and ends when its input is closed.
coproc PLAYER {
  timeout 600 "$runner" tms_fake_player.exe "Winamp v1.x" "7. Demo Artist - Café Song - Winamp" 1
}
read -r -t 300 _ <&"${PLAYER[0]}" || echo "(the stand-in player did not start within 300 s)"
run tmsinfo.exe music
run tmsinfo.exe music --html
run tmsinfo.exe video
exec {PLAYER[1]}>&-
wait "$PLAYER_PID"
run tmsinfo.exe all
run tmsinfo.exe all --json
