#!/bin/bash
# Checks every C++ file of the tree against .clang-format and lists the ones
# that differ; `scripts/check-format.sh --fix` formats them in place.
# The test data (original sources of the DEFLATE corpus) keep their bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed; run scripts/install-deps.sh" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' ':!tests/data')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format says (scripts/check-format.sh --fix mends them):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
