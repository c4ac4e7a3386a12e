#!/usr/bin/env bash
# Runs one libFuzzer program: replays its committed regression inputs, then fuzzes for the
# given seconds from its committed seeds. New inputs go to a temporary folder, never into
# the repository; an input that finds a fault is kept as fuzz-artifacts/NAME-* in the
# current folder.   Usage: run_target.sh PROGRAM NAME SECONDS [CORPUS_DIR]
# With CORPUS_DIR, the run grows that folder instead (scripts/fuzz.sh keeps one per target).
set -euo pipefail
program=$1 name=$2 seconds=$3 corpus=${4:-}
here="$(cd "$(dirname "$0")" && pwd)"
seeds="$here/corpus/$name" regressions="$here/regressions/$name"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p fuzz-artifacts
options=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="fuzz-artifacts/$name-")

# A fault found once stays found: every committed regression input must pass.
shopt -s nullglob
inputs=("$regressions"/*)
if [ ${#inputs[@]} -gt 0 ]; then
  "$program" "${options[@]}" "${inputs[@]}" >"$work/replay.log" 2>&1 || { cat "$work/replay.log"; exit 1; }
fi

if [ -z "$corpus" ]; then corpus="$work/corpus"; fi
mkdir -p "$corpus"
if ! "$program" "${options[@]}" -max_total_time="$seconds" "$corpus" "$seeds" >"$work/fuzz.log" 2>&1; then
  tail -n 60 "$work/fuzz.log"
  echo "fuzz target $name found a fault; the input is in $(pwd)/fuzz-artifacts/" >&2
  exit 1
fi
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")
units=$(find "$corpus" -type f | wc -l)
echo "fuzz target $name: $executions executions in $seconds s, no finding; $units inputs in its working corpus"
