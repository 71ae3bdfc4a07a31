#!/usr/bin/env bash
# The reliability suite under Wine, in a prefix of its own (build/reliability-prefix): hostile
# registry data, faults during a fill, leaks, answers during long fills, and a session that must
# leave the prefix's registry and files as they were. One line per check with its figures, then
# a summary; exits non-zero when a check fails.
#   scripts/reliability.sh [--quick] [win64|win32]
# --quick: smaller bulk counts, a few minutes, for CI. win32: the release build, run under WoW64
# (a prefix of its own, build/reliability-prefix32); win64 by default.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
[ "${1:-}" = --quick ] && { quick=1; shift; }
kind=${1:-win64}
export ORV_ROOT=$PWD
export ORV_BUILD=${ORV_BUILD:-$PWD/build}

bash scripts/setup.sh reliability
cmake --preset "$kind" -B "$ORV_BUILD/$kind" >/dev/null
cmake --build "$ORV_BUILD/$kind" -j 2 --target reliability_checks >/dev/null
exe=$ORV_BUILD/$kind/tests/reliability/reliability_checks.exe

. scripts/wine-env.sh
orv_wine_use "$ORV_BUILD/reliability-prefix$([ "$kind" = win32 ] && echo 32)"
orv_wine_start
trap orv_wine_stop EXIT
work=$ORV_BUILD/reliability-$kind
rm -rf "$work" && mkdir -p "$work"

passed=0 failed=0
record() {  # record <check> <ok> <figures>
  if [ "$2" = 1 ]; then passed=$((passed + 1)); state=ok; else failed=$((failed + 1)); state=FAILED; fi
  echo "$1: $state - $3"
}

# The checks in the test program, one run each, so a crash in one still lets the others report.
for check in HostileRegistryData FaultsDuringAFill NoLeaks NeverHangs; do
  log=$work/$check.log
  ok=1
  ORV_RELIABILITY_QUICK=$quick "$WINELOADER" "$exe" --gtest_filter="Reliability.$check" \
    >"$log" 2>&1 || ok=0
  grep -q '^\[  PASSED  \] 1 test' "$log" || ok=0
  figures=$(sed -n 's/^RELIABILITY [^:]*: //p' "$log" | tail -n 1)
  [ "$ok" = 1 ] || figures="${figures:-no figures} (see $log)"
  record "$check" "$ok" "${figures:-no figures}"
done

# Writes nothing: both hives exported and the prefix's file tree listed before and after a session
# that shows every page and saves both reports. Ignored, because the program does not make them:
# the two report files; directory modification times (the harness's scratch folder in Temp and
# the reports folder change them); the keys below HKLM\System\CurrentControlSet\Control\Video
# that Wine's null display driver adds for every new process's desktop (the same key appears
# after a process that does nothing at all); and Wine's own hive files (system.reg, user.reg,
# userdef.reg), whose contents the exports compare: every Wine process touches key times in
# them, and the server writes them out on a timer, so their size and time change whenever a save
# falls inside the session.
snapshot() {
  local name=$1
  "$WINELOADER" reg export HKLM "Z:$(echo "$work/$name-hklm.reg" | tr / '\\')" /y >/dev/null 2>&1
  "$WINELOADER" reg export HKCU "Z:$(echo "$work/$name-hkcu.reg" | tr / '\\')" /y >/dev/null 2>&1
  for hive in hklm hkcu; do
    iconv -f UTF-16LE -t UTF-8 "$work/$name-$hive.reg" | tr -d '\r' |
      awk '/^\[/ { skip = ($0 ~ /^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video\\/) }
           !skip' >"$work/$name-$hive.txt"
  done
  (cd "$WINEPREFIX" && find . -path ./dosdevices -prune -o -printf '%y %P %s %T@\n') |
    awk '$1 == "d" { print $1, $2; next }
         $2 !~ /^drive_c\/OrvRelReports\/session\.(txt|html)$/ &&
         $2 !~ /^(system|user|userdef)\.reg$/ { print }' |
    sort >"$work/$name-files.txt"
}
mkdir -p "$WINEPREFIX/drive_c/OrvRelReports"
rm -f "$WINEPREFIX/drive_c/OrvRelReports/"session.*
snapshot before
ok=1
ORV_RELIABILITY_REPORTS='C:\OrvRelReports' "$WINELOADER" "$exe" --gtest_filter=Reliability.Session \
  >"$work/Session.log" 2>&1 || ok=0
grep -q '^\[  PASSED  \] 1 test' "$work/Session.log" || ok=0
snapshot after
changes=0
for part in hklm hkcu files; do
  if ! diff "$work/before-$part.txt" "$work/after-$part.txt" >"$work/$part.diff"; then
    changes=$((changes + $(grep -c '^[<>]' "$work/$part.diff")))
  fi
done
[ "$changes" -eq 0 ] || ok=0
reports=$(ls "$WINEPREFIX/drive_c/OrvRelReports/" | tr '\n' ' ')
figures="$(wc -l <"$work/before-hklm.txt") HKLM and $(wc -l <"$work/before-hkcu.txt") HKCU export lines, $(wc -l <"$work/before-files.txt") files and folders compared; $changes changed lines; reports saved: ${reports:-none}"
[ "$changes" -eq 0 ] || figures="$figures (see $work/*.diff)"
record WritesNothing "$ok" "$figures"
rm -rf "$WINEPREFIX/drive_c/OrvRelReports"

mode=full
[ "$quick" = 1 ] && mode=quick
echo "reliability ($mode, $kind): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
