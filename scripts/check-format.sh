#!/usr/bin/env bash
# Fails listing the tracked C++ files that .clang-format would change.
#   scripts/check-format.sh            check every tracked *.cpp and *.h
#   clang-format -i FILE...            formats files in place
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" > /dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files -z '*.cpp' '*.h')
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check-format: ${#unformatted[@]} files are not formatted by .clang-format:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format: every file is formatted"
