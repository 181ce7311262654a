#!/usr/bin/env bash
# Builds and runs every test: native (the measurement programs in bench/ are
# built too, so that they keep compiling, but not run), native under
# AddressSanitizer and UndefinedBehaviorSanitizer, native under
# ThreadSanitizer, the 32-bit Windows build under Wine (stress tests
# included), the 64-bit one under 64-bit Wine (with the release ZIP made from
# both, so win64 comes after win32), and a short fixed-time run of every fuzz
# target. Every tool the tests use must be there (TMS_REQUIRE_ALL_TOOLS).
#
# Where the kernel runs no 32-bit programs, the 32-bit Windows tests run in a
# VM (scripts/vm/): built here as everywhere, run there by CTest. Elsewhere
# the VM only gets a short smoke test, so that the path cannot rot.
# TMS_FORCE_VM=1 takes the VM path on any machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/vm/common.sh
jobs=$(nproc)

if reason=$(tms_win32_needs_vm); then
  win32_in_vm=1
  echo "test: $reason: the 32-bit Windows tests run in the VM"
else
  win32_in_vm=0
fi
# The release check in win64 runs its 32-bit hosts the same way.
export TMS_WIN32_IN_VM=$win32_in_vm

# The VM's image (made once per machine, minutes) is made while the native
# builds and tests run.
mkdir -p build
bash scripts/vm/make-image.sh >/dev/null 2>build/vm-image.log &
image_job=$!
wait_for_image() {
  [ -n "$image_job" ] || return 0
  if ! wait "$image_job"; then
    cat build/vm-image.log
    echo "test: the VM's image could not be made"
    exit 1
  fi
  image_job=""
  cat build/vm-image.log
}

for preset in native asan tsan win32 win64 fuzz; do
  echo "== $preset"
  options=(-DTMS_REQUIRE_ALL_TOOLS=ON)
  case $preset in native|win32) options+=(-DTMS_BENCHMARKS=ON) ;; esac
  cmake --preset "$preset" "${options[@]}" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  if [ "$preset" = win32 ] && [ "$win32_in_vm" = 1 ]; then
    ctest --preset win32 -j"$jobs" -L build
    wait_for_image
    bash scripts/vm/run.sh ctest --preset win32 -j2 -LE build
  else
    ctest --preset "$preset" -j"$jobs"
  fi
done

if [ "$win32_in_vm" = 0 ]; then
  echo "== vm smoke test (the VM path the 32-bit tests take where the kernel runs no 32-bit programs)"
  wait_for_image
  expected=$(cd build/win32 && ../../cmake/wine-run.sh tmsinfo.exe version)
  # The answer goes to a file, apart from whatever the VM's console shows.
  rm -f build/win32/vm-smoke.txt
  (cd build/win32 &&
     bash ../../scripts/vm/run.sh bash -c '../../cmake/wine-run.sh tmsinfo.exe version >vm-smoke.txt')
  actual=$(cat build/win32/vm-smoke.txt)
  if [ "$actual" != "$expected" ]; then
    printf 'vm smoke test failed:\n  expected: %s\n  actual:   %s\n' "$expected" "$actual"
    exit 1
  fi
  echo "vm: $actual"
fi
