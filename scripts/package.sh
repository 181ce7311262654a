#!/usr/bin/env bash
# Builds the 32- and 64-bit Windows DLLs and packs the release ZIP from both
# install trees: build/win64/package/TolvaricModeSupport-<version>-windows.zip
# with exactly the files cmake/release-files.txt names (bin/, bin64/,
# include/, lib/ with the CMake package configuration, lib64/, examples/,
# API.md, LICENSE.txt, and SHA256SUMS, which must hold the SHA-256 of every
# other file). Every tool the
# package needs must be there (llvm-dlltool for the Visual C++ import
# libraries among them), and a ZIP that lacks a file is an error, not a
# release.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
for preset in win32 win64; do
  cmake --preset "$preset" -DTMS_REQUIRE_ALL_TOOLS=ON >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done
out=build/win64/package
rm -f "$out"/*.zip
cpack --config build/win64/CPackConfig.cmake -B "$out"
zips=("$out"/*.zip)
[ -f "${zips[0]}" ] || { echo "package: cpack made no ZIP in $out"; exit 1; }

# What the ZIP holds, below its one top folder, beside what it must hold.
actual=$(cmake -E tar tf "${zips[0]}" | grep -v '/$' | cut -d/ -f2- | LC_ALL=C sort)
expected=$(LC_ALL=C sort cmake/release-files.txt)
missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
extra=$(comm -13 <(echo "$expected") <(echo "$actual"))
if [ -n "$missing$extra" ]; then
  rm -f "${zips[0]}"
  [ -z "$missing" ] || printf 'package: missing from the ZIP:\n%s\n' "$(echo "$missing" | sed 's/^/  /')"
  [ -z "$extra" ] || printf 'package: not meant for the ZIP:\n%s\n' "$(echo "$extra" | sed 's/^/  /')"
  echo "package: no ZIP made"
  exit 1
fi

# SHA256SUMS names every other file and matches its contents.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
zip=$(realpath "${zips[0]}")
(cd "$check" && cmake -E tar xf "$zip")
if ! bash cmake/package/check-sha256sums.sh "$(echo "$check"/*)"; then
  rm -f "$zip"
  echo "package: no ZIP made"
  exit 1
fi
echo "package: ${zips[0]} ($(wc -l <<<"$expected") files)"
