#!/usr/bin/env bash
# Builds the load-cost measurement by hand: load_cost.exe and the yardstick
# DLL minimal.dll, for 32-bit (build/bench/win32) and 64-bit Windows
# (build/bench/win64). See PERFORMANCE.md for how they are run.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for arch in win32 win64; do
  if [ $arch = win32 ]; then triple=i686-w64-mingw32 entry=_DllMain@12; else triple=x86_64-w64-mingw32 entry=DllMain; fi
  out=$here/../build/bench/$arch
  mkdir -p "$out"
  $triple-g++-posix -O2 -Wall -Wextra -static -o "$out/load_cost.exe" "$here/load_cost.cpp"
  $triple-gcc-posix -Os -Wall -Wextra -shared -nostdlib -nostartfiles -s -o "$out/minimal.dll" \
    "$here/minimal_dll.c" -Wl,-e,$entry -Wl,--subsystem,windows -Wl,--dynamicbase -Wl,--nxcompat \
    -lkernel32 -luser32 -ladvapi32 -lshlwapi -loleaut32
done
