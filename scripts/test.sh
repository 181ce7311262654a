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

# The build trees and the 64-bit Wine prefix take about 1 GB (2 GB with the
# 32-bit prefix); the VM's image checks its own space when it is made.
mkdir -p build
tms_need_free_space 2500 build "test: the build trees" || exit 1

# The VM's image (made once per machine, minutes) is made while the native
# builds and tests run; making it has a time limit (tms_vm_make_image).
tms_vm_make_image >/dev/null 2>build/vm-image.log &
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
  # Every test has a time limit (the presets' default or its own), and a run
  # that selects no test fails (--no-tests=error, in the presets too).
  if [ "$preset" = win32 ] && [ "$win32_in_vm" = 1 ]; then
    ctest --preset win32 -j"$jobs" --no-tests=error -L build
    wait_for_image
    bash scripts/vm/run.sh ctest --preset win32 -j2 --no-tests=error -LE build
  else
    ctest --preset "$preset" -j"$jobs" --no-tests=error
  fi
done

if [ "$win32_in_vm" = 0 ]; then
  echo "== vm smoke test (the VM path the 32-bit tests take where the kernel runs no 32-bit programs)"
  wait_for_image
  expected=$(cd build/win32 && timeout 300 ../../cmake/wine-run.sh tmsinfo.exe version)
  # One boot: a Windows program with its answer in a file (apart from what
  # the VM's console shows), one CTest test, and an exit status of 3, which
  # must come back as it is.
  guest='set -e
../../cmake/wine-run.sh tmsinfo.exe version >vm-smoke.txt
ctest --no-tests=error --timeout 300 -R "^c_host\$" >vm-smoke-ctest.txt 2>&1
exit 3'
  rm -f build/win32/vm-smoke.txt build/win32/vm-smoke-ctest.txt
  status=0
  (cd build/win32 && bash ../../scripts/vm/run.sh bash -c "$guest") || status=$?
  actual=$(cat build/win32/vm-smoke.txt 2>/dev/null || true)
  if [ "$actual" != "$expected" ] || [ "$status" != 3 ] ||
     ! grep -q '^100% tests passed' build/win32/vm-smoke-ctest.txt; then
    cat build/win32/vm-smoke-ctest.txt 2>/dev/null || true
    printf 'vm smoke test failed:\n  expected: %s, exit status 3, c_host passed\n  actual:   %s, exit status %s\n' \
      "$expected" "$actual" "$status"
    exit 1
  fi
  echo "vm: $actual; c_host passed; exit status 3 came back"
fi
