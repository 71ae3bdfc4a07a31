#!/usr/bin/env bash
# Sets everything up and runs every test: the host build (ASan/UBSan), the win64 build under Wine,
# the win32 release build under Wine's WoW64 where the machine runs 32-bit code (else only compiled,
# and said so), the fuzz targets, the quick reliability checks, the download as users unpack it
# and the quick benchmark. Exits non-zero when any build or test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
export ORV_ROOT=$PWD
export ORV_BUILD=${ORV_BUILD:-$PWD/build}

bash scripts/setup.sh test

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

jobs=$(nproc)
for preset in host win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" -B "$ORV_BUILD/$preset" >/dev/null
  cmake --build "$ORV_BUILD/$preset" -j "$jobs"
done

. scripts/wine-env.sh
trap orv_wine_stop EXIT

status=0
echo "== test host"
ctest --test-dir "$ORV_BUILD/host" --output-on-failure -j "$jobs" 2>&1 | tee "$ORV_BUILD/host-ctest.log" || status=1

# The Windows builds under Wine, each in its prefix, one test at a time: window-level tests share
# one Wine desktop and registry. The release build (win32) runs as on 64-bit Windows, where the
# machine runs 32-bit code.
kinds=(win64)
if orv_wine_runs_32bit; then
  kinds+=(win32)
else
  rm -f "$ORV_BUILD/win32-ctest.log"
  echo "== test win32: not run, $orv_wine_no32 (only compiled)"
fi
for kind in "${kinds[@]}"; do
  echo "== test $kind (Wine)"
  export ORV_WINE_KIND=$kind
  . scripts/wine-env.sh
  orv_wine_start
  ctest --test-dir "$ORV_BUILD/$kind" --output-on-failure 2>&1 | tee "$ORV_BUILD/$kind-ctest.log" || status=1
  orv_wine_stop
done

# Reasons of skipped tests (cases that cannot hold under Wine) are printed, never hidden.
for preset in host "${kinds[@]}"; do
  awk -v build="$preset" '/^\[ RUN      \]/ { name = $4 } /: Skipped$/ { getline reason; print "skipped (" build ") " name ": " reason }' \
    "$ORV_BUILD/$preset/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u
done

# The fuzz targets briefly, and the quick part of the reliability suite under Wine.
echo "== fuzz"
bash scripts/fuzz.sh 15 || status=1
for kind in "${kinds[@]}"; do
  echo "== reliability (quick, $kind)"
  bash scripts/reliability.sh --quick "$kind" || status=1
done
echo "== package"
bash scripts/check-package.sh || status=1

# The benchmark suite in its quick mode, so that it cannot rot: its figures are not judged here,
# only a suite that no longer runs fails the run.
echo "== bench (quick)"
bash scripts/bench.sh --quick || status=1

summary() { grep -E '^[0-9]+% tests passed' "$1" | tail -n 1; }
total_passed=0 total_failed=0
for preset in host "${kinds[@]}"; do
  log=$ORV_BUILD/$preset-ctest.log
  line=$(summary "$log")
  if [ -z "$line" ]; then status=1; continue; fi
  failed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  all=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  total_passed=$((total_passed + all - failed))
  total_failed=$((total_failed + failed))
done
[ "$total_failed" -eq 0 ] || status=1
[[ " ${kinds[*]} " == *" win32 "* ]] || echo "release build (win32): compiled only, its tests were not run here"
echo "all builds: $total_passed passed, $total_failed failed"
exit $status
