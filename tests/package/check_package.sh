#!/usr/bin/env bash
# Makes the release ZIP with CPack, unpacks it into an empty folder, checks
# its SHA256SUMS and, from its files alone, builds the example host for 32-
# and 64-bit Windows, with the MinGW and the Visual C++ import library each
# and as a CMake project that finds the package, and the Pascal host with
# Free Pascal, and runs every build and the packaged tmsinfo under Wine.
# Usage: check_package.sh CPACK_CONFIG WORK_DIR
set -euo pipefail
config=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
wine32=$here/../../cmake/wine-run.sh
wine64=$here/../../cmake/wine64-run.sh

rm -rf "$work"
mkdir -p "$work/cpack" "$work/unpacked"
cpack --config "$config" -B "$work/cpack" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  echo "cpack failed"
  exit 1
}
zips=("$work"/cpack/*.zip)
[ -f "${zips[0]}" ] || { echo "cpack made no ZIP"; exit 1; }
echo "package: ${zips[0]##*/} ($(stat -c %s "${zips[0]}") bytes)"
(cd "$work/unpacked" && cmake -E tar xf "${zips[0]}")
root=$(echo "$work"/unpacked/*)

# Exactly the files cmake/release-files.txt names, no more.
expected=$(LC_ALL=C sort "$here/../../cmake/release-files.txt")
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$actual") || true
  echo "the package holds other files than expected"
  exit 1
fi
# SHA256SUMS names every other file, with the SHA-256 each has.
bash "$here/../../cmake/package/check-sha256sums.sh" "$root"
grep -q '^  tmsCopyString@8 @2$' "$root/lib/TolvaricModeSupport.def"
grep -q '^  tmsCopyString @2$' "$root/lib64/TolvaricModeSupport.def"

failures=0
# Where the kernel runs no 32-bit programs (TMS_WIN32_IN_VM=1, set by the
# test command), the 32-bit programs are collected and run together in one
# boot of the test VM, which shares this folder at the same path.
in_vm=""
run_program() {  # NAME DIR RUNNER PROGRAM ARGUMENTS...
  local name=$1 dir=$2 runner=$3
  shift 3
  if [ "$runner" = "$wine32" ] && [ "${TMS_WIN32_IN_VM:-0}" = 1 ]; then
    in_vm+="if (cd $(printf %q "$dir") && $(printf '%q ' "$runner" "$@")); then echo $(printf %q "$name: ok");"
    in_vm+=" else echo $(printf %q "$name: failed"); failures=\$((failures + 1)); fi"$'\n'
  elif (cd "$dir" && "$runner" "$@"); then
    echo "$name: ok"
  else
    echo "$name: failed"
    failures=$((failures + 1))
  fi
}
build_and_run() {  # NAME COMPILER LIBDIR BINDIR RUNNER LINK...
  local name=$1 compiler=$2 libdir=$3 bindir=$4 runner=$5
  shift 5
  local dir=$work/run/$name
  mkdir -p "$dir"
  cp "$root/$bindir/TolvaricModeSupport.DLL" "$dir/"
  if ! "$compiler" -std=c11 -Wall -Wextra -pedantic -Werror -I"$root/include" \
       "$root/examples/host.c" -L"$root/$libdir" "$@" -o "$dir/host.exe"; then
    echo "$name: build failed"
    failures=$((failures + 1))
    return
  fi
  run_program "$name" "$dir" "$runner" host.exe
}
build_and_run x86-mingw i686-w64-mingw32-gcc-posix lib bin "$wine32" -lTolvaricModeSupport
build_and_run x86-msvc-lib i686-w64-mingw32-gcc-posix lib bin "$wine32" "$root/lib/TolvaricModeSupport.lib"
build_and_run x64-mingw x86_64-w64-mingw32-gcc-posix lib64 bin64 "$wine64" -lTolvaricModeSupport
build_and_run x64-msvc-lib x86_64-w64-mingw32-gcc-posix lib64 bin64 "$wine64" "$root/lib64/TolvaricModeSupport.lib"
# The Pascal host, from the ZIP's unit, for both architectures.
source "$here/pascal_hosts.sh"

# CMake hosts: find_package from the unpacked ZIP (cmake_host/).
# shellcheck source=SCRIPTDIR/cmake_host/check_cmake_host.sh
source "$here/cmake_host/check_cmake_host.sh"
check_cmake_hosts

# The packaged demo host finds the DLL beside it.
run_program "packaged tmsinfo (x86)" "$root/bin" "$wine32" tmsinfo.exe all
run_program "packaged tmsinfo (x64)" "$root/bin64" "$wine64" tmsinfo.exe all
if [ -n "$in_vm" ]; then
  (cd "$here/../.." && bash scripts/vm/run.sh bash -c "failures=0"$'\n'"$in_vm"'exit $failures') ||
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "release package: every host built from the ZIP alone and ran"
