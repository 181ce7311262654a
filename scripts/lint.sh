#!/usr/bin/env bash
# Static analysis of the library's sources: clang-tidy (configuration in
# .clang-tidy, every finding an error) over the portable and POSIX sources,
# and cppcheck over all of src/, Win32 code included.
# Usage: scripts/lint.sh BUILD_DIR   (a native build with compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}

mapfile -t sources < <(git ls-files 'src/*.cpp' | grep -v '/win32/')
echo "clang-tidy: ${#sources[@]} files"
if ! report=$(printf '%s\n' "${sources[@]}" |
               xargs -P"$(nproc)" -n4 clang-tidy -p "$build" --quiet 2>&1); then
  echo "$report" | grep -v -E '^[0-9]+ warnings? generated\.$'
  exit 1
fi

echo "cppcheck: src/"
# Cppcheck 2.11 and later note where they limited the analysis of branches
# (normalCheckLevelMaxBranches); the note is no finding, yet it would set
# the exit code.
cppcheck --enable=warning,performance,portability --inline-suppr --error-exitcode=1 --quiet \
  --std=c++17 -I src -I include --suppress=missingIncludeSystem \
  --suppress=normalCheckLevelMaxBranches src
echo "static analysis clean"
