#!/usr/bin/env bash
# Builds the 32- and 64-bit Windows DLLs and packs the release ZIP from both
# install trees: build/win64/package/TolvaricModeSupport-<version>-windows.zip
# (bin/, bin64/, include/, lib/, lib64/, examples/, API.md, LICENSE.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done
cpack --config build/win64/CPackConfig.cmake -B build/win64/package
