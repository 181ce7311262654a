#!/usr/bin/env bash
# Builds and runs every test: native (with one pass of each benchmark),
# native under AddressSanitizer and UndefinedBehaviorSanitizer, native under
# ThreadSanitizer, the 32-bit Windows build under Wine (stress tests
# included), the 64-bit one under 64-bit Wine (with the release ZIP made from
# both, so win64 comes after win32), and a short fixed-time run of every fuzz
# target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

for preset in native asan tsan win32 win64 fuzz; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done
