#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (preset `fuzz`) and runs each
# for the given number of seconds (default 600), starting from its seed corpus.
# Prints each target's executions and coverage; fails when any input crashes.
set -euo pipefail
seconds=${1:-600}
cd "$(dirname "$0")/../.."
if ! command -v clang++ >/dev/null; then
  echo "clang++ is not installed: no fuzzing run" >&2
  exit 77
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_load fuzz_command
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in load command; do
  binary=build-fuzz/tests/fuzz/fuzz_$target
  [ -x "$binary" ] || continue
  mkdir -p "$work/$target"
  cp tests/fuzz/corpus/$target/* "$work/$target/" 2>/dev/null || true
  echo "== fuzz_$target for ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" \
      "$work/$target" >"$work/$target.log" 2>&1; then
    status=1
    tail -n 40 "$work/$target.log"
    cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* . 2>/dev/null || true
  fi
  grep -E '^#[0-9]+.*(DONE|pulse)|stat::number_of_executed_units|cov:' "$work/$target.log" | tail -n 3
done
exit $status
