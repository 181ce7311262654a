#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine (as root):
# the native tool chain, GoogleTest, Google Benchmark, the MinGW-w64 cross
# compilers for 32- and 64-bit Windows, llvm-dlltool (Visual C++ import
# libraries), Free Pascal, Wine with its 32- and 64-bit parts, and QEMU with
# debootstrap for the VM that runs the 32-bit Windows tests where the kernel
# runs no 32-bit programs. Packages already present are not fetched again.
set -euo pipefail

packages=(cmake g++ make libgtest-dev googletest g++-mingw-w64-i686-posix
          binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 llvm fp-compiler clang libclang-rt-14-dev
          clang-tidy cppcheck libbenchmark-dev
          qemu-system-x86 debootstrap e2fsprogs)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
