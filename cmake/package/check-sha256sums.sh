#!/usr/bin/env bash
# Checks the SHA256SUMS of an unpacked release folder: it names exactly the
# files of cmake/release-files.txt other than itself, and each file's
# SHA-256 matches. Used by scripts/package.sh and the release_package test.
# Usage: check-sha256sums.sh RELEASE_FOLDER
set -euo pipefail
root=$1
files=$(cd "$(dirname "$0")/../.." && pwd)/cmake/release-files.txt
[ -f "$root/SHA256SUMS" ] || { echo "SHA256SUMS: missing from $root"; exit 1; }
listed=$(sed 's/^[0-9a-f]\{64\}  //' "$root/SHA256SUMS" | LC_ALL=C sort)
expected=$(grep -vx SHA256SUMS "$files" | LC_ALL=C sort)
if [ "$listed" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$listed") || true
  echo "SHA256SUMS: lists other files than the release holds"
  exit 1
fi
(cd "$root" && sha256sum --quiet --strict -c SHA256SUMS) || {
  echo "SHA256SUMS: a file does not match its SHA-256"
  exit 1
}
