#!/usr/bin/env bash
# Runs each fuzz target for SECONDS on a copy of its committed seed corpus, so that what the
# run discovers stays out of the tree; a crash, a leak or a failed check fails the script, and
# its input is kept under BUILD/findings.
set -euo pipefail
build=$1 seconds=$2
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$build/findings"
for target in "$@"; do
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  echo "fuzzing $target for ${seconds}s"
  status=0
  "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$target-" "$work" "$root/tests/fuzz/corpus/$target" \
    >"$build/findings/$target.log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::new_units_added|==[0-9]+==|SUMMARY)' "$build/findings/$target.log" || true
  rm -rf "$work"
  trap - EXIT
  if [ "$status" -ne 0 ]; then
    echo "$target failed (status $status); inputs under $build/findings" >&2
    exit 1
  fi
done
