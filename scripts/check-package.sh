#!/usr/bin/env bash
# Checks the archive users download as they get it: makes it (scripts/package.sh), checks it
# against its .sha256, unpacks it with unzip into a new folder outside the build tree, checks the
# file list, and has tests/package/package_check read the program's version block and manifest.
# Then it starts the unpacked program under Wine (the 32-bit release build under WoW64 where this
# machine runs 32-bit code, else the 64-bit build packed the same way) until its window shows the
# General rows, clicks "Help" and waits for the help viewer, in a prefix of its own
# (build/package-check/wineprefix). One line per check with its figures, then a summary; exits
# non-zero when a check fails.
set -euo pipefail
cd "$(dirname "$0")/.."
export ORV_ROOT=$PWD
export ORV_BUILD=${ORV_BUILD:-$PWD/build}

passed=0 failed=0
record() {  # record <check> <ok> <figures>
  if [ "$2" = 1 ]; then passed=$((passed + 1)); state=ok; else failed=$((failed + 1)); state=FAILED; fi
  echo "$1: $state - $3"
}
summary() {
  echo "package check: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
bash scripts/setup.sh check-package
logs=$ORV_BUILD/package-check
mkdir -p "$logs"

. scripts/wine-env.sh
run=win64
if orv_wine_runs_32bit; then
  run=win32
else
  echo "the release program is not started here ($orv_wine_no32): the 64-bit archive's is"
fi
wanted=(win32)
[ "$run" = win32 ] || wanted+=(win64)
kinds=()
for kind in "${wanted[@]}"; do
  if bash scripts/package.sh "$kind" >"$logs/package-$kind.log" 2>&1; then
    kinds+=("$kind")
  else
    record "archive $kind" 0 "scripts/package.sh $kind failed (see $logs/package-$kind.log)"
  fi
done
cmake --preset win64 -B "$ORV_BUILD/win64" >/dev/null
if ! cmake --build "$ORV_BUILD/win64" -j 2 --target package_check >"$logs/checker.log" 2>&1; then
  record checker 0 "package_check did not build (see $logs/checker.log)"
  summary
fi
[ ${#kinds[@]} -gt 0 ] || summary
checker=$ORV_BUILD/win64/tests/package/package_check.exe

orv_wine_use "$logs/wineprefix"
orv_wine_start
download=$(mktemp -d /tmp/orvendel-download.XXXXXX)
trap 'orv_wine_stop' EXIT

for kind in "${kinds[@]}"; do
  name=$(ls "$ORV_BUILD/$kind/package/stage")
  zip=$ORV_BUILD/$kind/package/$name.zip
  version=${name#Orvendel-}
  version=${version%-"$kind"}

  ok=1
  (cd "$(dirname "$zip")" && sha256sum --quiet -c "$name.zip.sha256") >/dev/null 2>&1 || ok=0
  mkdir "$download/$kind"
  unzip -q "$zip" -d "$download/$kind" || ok=0
  record "archive $kind" "$ok" "$name.zip, $(stat -c %s "$zip") bytes, sha256 $(cut -d' ' -f1 "$zip.sha256")"

  expected="$name/
$name/Czech.ini
$name/English.ini
$name/French.ini
$name/German.ini
$name/Italian.ini
$name/Orvendex.chm
$name/Orvendex.exe
$name/ReadMe.txt
$name/Spanish.ini"
  found=$(cd "$download/$kind" && find . -mindepth 1 \( -type d -printf '%P/\n' -o -printf '%P\n' \) | sort)
  ok=1
  [ "$found" = "$expected" ] || ok=0
  figures="$(echo "$found" | wc -l) entries: one folder $name with $(echo "$found" | tail -n +2 | sed "s|^$name/||" | paste -sd ' ')"
  [ "$ok" = 1 ] || figures="$figures; expected: $(echo "$expected" | tr '\n' ' ')"
  # The ReadMe is read with Notepad, which before Windows 10 breaks lines at CR LF only.
  readme=$download/$kind/$name/ReadMe.txt
  if [ -f "$readme" ] && [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ]; then
    figures="$figures; ReadMe.txt with CR LF ends"
  else
    ok=0
    figures="$figures; ReadMe.txt missing or not with CR LF ends"
  fi
  record "files $kind" "$ok" "$figures"

  args=()
  [ "$kind" = "$run" ] && args+=(--run)
  log=$logs/$kind.log
  "$WINELOADER" "$checker" "Z:$(echo "$download/$kind/$name" | tr / '\\')" "$version" "$kind" \
    "${args[@]}" </dev/null >"$log" 2>&1 || true
  lines=$(tr -d '\r' <"$log" | grep -E '^[a-z]+: (ok|FAILED) - ' || true)
  [ -n "$lines" ] || record "check $kind" 0 "package_check printed nothing (see $log)"
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    check=${line%%:*}
    rest=${line#*: }
    state=${rest%% - *}
    record "$check $kind" "$([ "$state" = ok ] && echo 1 || echo 0)" "${rest#* - }"
  done <<<"$lines"
done

# The same commit gives the same bytes: the unpacked files, given other file times, pack again
# into the same archive, and the help file compiled twice, seconds apart, is the same file.
kind=${kinds[0]}
name=$(ls "$ORV_BUILD/$kind/package/stage")
again=$download/again
mkdir -p "$again" "$download/help1" "$download/help2"
cp -r "$download/$kind/$name" "$again/"
touch "$again/$name"/*
ok=1
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)} python3 package/zip_folder.py "$again/$name" \
  "$again/$name.zip" . || ok=0
cmp -s "$again/$name.zip" "$ORV_BUILD/$kind/package/$name.zip" || ok=0
figures="packed again with other file times: sha256 $(cut -d' ' -f1 "$again/$name.zip.sha256")"
for copy in help1 help2; do
  cp help/html/* "$download/$copy/"
  (cd "$download/$copy" && python3 "$ORV_ROOT/help/reproducible.py" 946684800 chmcmd Orvendex.hhp) \
    >"$download/$copy.log" 2>&1 || ok=0
  sleep 2
done
if cmp -s "$download/help1/Orvendex.chm" "$download/help2/Orvendex.chm"; then
  figures="$figures; help file compiled twice 2 s apart: the same $(stat -c %s "$download/help1/Orvendex.chm") bytes"
else
  ok=0
  figures="$figures; help file compiled twice 2 s apart: different bytes"
  # The reason reproducible.py gave for running the help compiler as it is.
  why=$(sed -n 's/^reproducible.py: cannot run it reproducibly here: \([^;]*\).*/\1/p' "$download/help1.log" | head -n 1)
  [ -z "$why" ] || figures="$figures ($why)"
fi
record "reproducible $kind" "$ok" "$figures"

if [ "$failed" -eq 0 ]; then
  rm -rf "$download"
else
  echo "the unpacked archives are kept in $download"
fi
summary
