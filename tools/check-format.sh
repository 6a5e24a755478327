#!/usr/bin/env bash
# Fails, naming each file and line, when a C++ file of the repository differs from the layout
# .clang-format gives it. Exit 77 (a skip for CTest) without clang-format or outside a git checkout.
# Usage: tools/check-format.sh [--fix]   (--fix rewrites the files in place instead)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 77; }
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "not a git checkout"; exit 77; }
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
if [[ "${1:-}" == --fix ]]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
fi
