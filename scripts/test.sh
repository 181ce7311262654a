#!/usr/bin/env bash
# Builds and runs every test: native (with one pass of each benchmark),
# native under AddressSanitizer and UndefinedBehaviorSanitizer, native under
# ThreadSanitizer, the 32-bit Windows build under Wine (stress tests
# included), and a short fixed-time run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

for preset in native asan tsan win32 fuzz; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done
