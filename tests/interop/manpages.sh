#!/usr/bin/env bash
# The manual pages the build wrote are read by groff without a warning.
set -euo pipefail
pages=("$1"/*.1.gz)
[ ${#pages[@]} -eq 3 ] || { echo "expected 3 manual pages in $1, found ${#pages[@]}"; exit 1; }
for page in "${pages[@]}"; do
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
