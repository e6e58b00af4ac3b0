#!/usr/bin/env bash
# Checks that every tracked C++ source is laid out by the project's
# .clang-format; with --fix, lays them out. Generated tables are left as their
# generator writes them.
#
#   tools/check_format.sh          exit 1 and name the files that differ
#   tools/check_format.sh --fix    rewrite them in place
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v '\.generated\.h$')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files laid out as .clang-format says"
