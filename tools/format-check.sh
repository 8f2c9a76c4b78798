#!/usr/bin/env bash
# Checks that every C and C++ source of the tree is as .clang-format writes it;
# lists the files that are not. `tools/format-check.sh --fix` formats them.
set -u
cd "$(dirname "$0")/.." || exit 2
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# One process for the whole tree; its complaints name file, line and column.
if ! out=$(clang-format --dry-run -Werror "${files[@]}" 2>&1); then
  printf '%s\n' "$out" | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u |
    sed 's/^/pas au format de .clang-format : /'
  echo "(tools/format-check.sh --fix les formate)"
  exit 1
fi
