#!/usr/bin/env bash
# Fails when a C++ source differs from what .clang-format makes of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
[ ${#files[@]} -eq 0 ] && exit 0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! clang-format --dry-run --Werror "${files[@]}" 2>"$log"; then
  head -n 40 "$log"
  echo "clang-format: the files above need formatting (clang-format -i)"
  exit 1
fi
