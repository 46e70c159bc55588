#!/usr/bin/env bash
# Counts non-blank lines of test code (tests/**/*.cpp and *.h, fixture data
# not counted) against the product code and prints the ratio. Tools, fuzz
# targets and benchmarks are not product. A folder as argument prints its
# own ratio too (for example: scripts/test-ratio.sh dynamics/components).
set -euo pipefail
cd "$(dirname "$0")/.."

product_folders=(core platform graphics dynamics gui sim config_ui designer legacy)

# Non-blank lines of the C++ sources under the given paths, data folders left out.
count() {
  local paths=()
  for p in "$@"; do [ -e "$p" ] && paths+=("$p"); done
  if [ ${#paths[@]} -eq 0 ]; then echo 0; return; fi
  find "${paths[@]}" -path '*/data' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

ratio() { awk -v t="$1" -v p="$2" 'BEGIN { if (p > 0) printf "%.2f", t / p; else print "-" }'; }

product=$(count "${product_folders[@]}")
tests=$(count tests)
printf 'product %d lines, tests %d lines, ratio %s\n' "$product" "$tests" "$(ratio "$tests" "$product")"

for folder in "$@"; do
  # A folder counts with its subfolders.
  p=$(count "$folder"); t=$(count "tests/$folder")
  printf '%s: product %d lines, tests %d lines, ratio %s\n' "$folder" "$p" "$t" "$(ratio "$t" "$p")"
done
