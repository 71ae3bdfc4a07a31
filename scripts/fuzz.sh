#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each one from its committed seed
# corpus: for the given seconds (default 15), or for a given number of executions.
#   scripts/fuzz.sh [seconds-per-target] [executions-per-target]
# FUZZ_TARGETS="path_resolve reg_text" picks targets; FUZZ_ARGS adds libFuzzer options
# (FUZZ_ARGS=-max_len=512). Prints one line per target and exits non-zero
# when a target finds a crash, a leak or a broken rule; the input is kept in the build folder so it
# can be added to the target's corpus once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
runs=${2:-}
build=${ORV_BUILD:-$PWD/build}/fuzz

bash scripts/setup.sh fuzz
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2 >/dev/null

targets=${FUZZ_TARGETS:-$(ls fuzz/corpus)}
status=0
for target in $targets; do
  # The run grows a scratch copy; the committed corpus only changes by hand.
  work=$build/run/$target
  rm -rf "$work" && mkdir -p "$work/corpus" "$work/findings"
  cp fuzz/corpus/"$target"/* "$work/corpus/"
  limit=(-max_total_time="$seconds")
  [ -n "$runs" ] && limit=(-runs="$runs")
  rc=0
  # shellcheck disable=SC2086
  "$build/fuzz_$target" "${limit[@]}" ${FUZZ_ARGS:-} -print_final_stats=1 -artifact_prefix="$work/findings/" \
    "$work/corpus" >"$work/log" 2>&1 || rc=$?
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$work/log" | tail -n 1)
  speed=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+)/\1/p' "$work/log" | tail -n 1)
  corpus=$(ls "$work/corpus" | wc -l)
  finding=$(ls "$work/findings" | head -n 1)
  if [ "$rc" -ne 0 ] || [ -n "$finding" ]; then
    status=1
    reason=$(grep -m 1 -E 'violated:|ERROR:|runtime error' "$work/log" || echo "exit $rc")
    echo "fuzz $target: FAILED after ${execs:-?} executions: $reason; input $work/findings/$finding"
  else
    echo "fuzz $target: ${execs:-0} executions, ${speed:-0} exec/s, corpus $corpus inputs, no crash"
  fi
done
[ "$status" -eq 0 ] && echo "fuzz: all targets clean" || echo "fuzz: FAILED"
exit $status
