#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 or 13 machine (as
# root): the native tool chain, GoogleTest, Google Benchmark, the MinGW-w64
# cross compilers for 32- and 64-bit Windows, llvm-dlltool (Visual C++ import
# libraries), Free Pascal with its sources (scripts/fpc-windows.sh builds the
# Windows tool chain from them), Wine with its 32- and 64-bit parts, and QEMU with
# debootstrap for the VM that runs the 32-bit Windows tests where the kernel
# runs no 32-bit programs. Packages already present are not fetched again.
# Every name is one that both releases carry; none names a compiler version.
# One line per step on screen, apt's own output in the log (scripts/steps.sh).
set -euo pipefail
source "$(dirname "$0")/steps.sh"

packages=(cmake g++ make libgtest-dev googletest g++-mingw-w64-i686-posix
          binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 llvm fp-compiler fpc-source clang libclang-rt-dev
          clang-tidy cppcheck libbenchmark-dev
          qemu-system-x86 debootstrap e2fsprogs)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages are installed"
  exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  tms_step "setup: adding the i386 architecture (for 32-bit Wine)" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# Time limits for a mirror that stops answering (about 3 minutes are usual).
tms_step "setup: apt-get update" timeout 900 apt-get update -q
tms_step "setup: installing ${#missing[@]} packages (${missing[*]})" \
  timeout 2700 apt-get install -y -q --no-install-recommends "${missing[@]}"
