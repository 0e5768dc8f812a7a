#!/usr/bin/env bash
# Runs every benchmark under bench/ from an optimised build and prints the figures.
set -euo pipefail
build=${1:-build}
for bench in "$build"/bin/*Bench; do
  [ -x "$bench" ] || continue
  printf '\n== %s\n' "$(basename "$bench")"
  "$bench" --benchmark_counters_tabular=true
done

printf '\n== whole commands beside the sqlite3 shell (tools/bench-endtoend.py)\n'
python3 "$(dirname "$0")/bench-endtoend.py" "$build"
