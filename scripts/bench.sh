#!/usr/bin/env bash
# Measures Orvendel against the cheapest way to do the same work, side by side in one run under
# Wine, and prints one table: figure, floor, ratio, target, median and spread (min-max) of the
# repetitions. Absolute times on a shared machine are noise; the ratios are the figures.
#   scripts/bench.sh           5 repetitions per figure, full sizes
#   scripts/bench.sh --quick   2 repetitions, small sizes: checks that the suite still runs
# Builds in build/bench-win64 and build/bench-win32 and seeds a Wine prefix of its own. Where this
# machine runs 32-bit code, the release build (win32, under Wine's WoW64 as on 64-bit Windows)
# gives B1, B2 and B4 too, each against floors built for the same architecture. Exits non-zero
# only when the suite itself breaks, never because a figure misses its target.
set -euo pipefail
cd "$(dirname "$0")/.."
export ORV_ROOT=$PWD
base=${ORV_BUILD:-$PWD/build}
jobs=${ORV_JOBS:-2}
bash scripts/setup.sh bench

if [ "${1:-}" = --quick ]; then
  reps=2 sizes=(50 200 800) programs=200 run_values=60 links=5 configs=10
else
  reps=5 sizes=(500 2000 8000) programs=2000 run_values=500 links=25 configs=50
fi

echo "== build"
cmake --preset win64 -B "$base/bench-win64" -DORV_BENCH=ON -DORV_TESTS=OFF >/dev/null
cmake --build "$base/bench-win64" -j "$jobs" --target Orvendex bench_floor_window \
  bench_floor_reads bench_observe bench_fills >/dev/null
bin=$base/bench-win64/bin
bin32=$base/bench-win32/bin

export ORV_BUILD=$base/bench-win64
. scripts/wine-env.sh
# The release build's figures need a kernel that runs 32-bit code and Wine's 32-bit loader.
wow64=0
orv_wine_runs_32bit && wow64=1
cmake --preset win32 -B "$base/bench-win32" -DORV_BENCH=ON -DORV_TESTS=OFF >/dev/null
if [ "$wow64" = 1 ]; then
  cmake --build "$base/bench-win32" -j "$jobs" --target Orvendex bench_floor_window \
    bench_floor_reads bench_fills >/dev/null
else
  cmake --build "$base/bench-win32" -j "$jobs" --target Orvendex >/dev/null
fi
work=$ORV_BUILD/bench-data
rm -rf "$work"
mkdir -p "$work"
# A new prefix each run: the last run's seeded Run and RunOnce keys would have Wine's start-up
# start every program they name, and wait for them, before any program of ours runs.
"$WINESERVER" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
orv_wine_start
# What the Windows programs say goes to a log, shown when the suite breaks.
finish() {
  local status=$?
  orv_wine_stop
  if [ "$status" != 0 ] && [ -s "$work/stderr.log" ]; then tail -n 20 "$work/stderr.log" >&2; fi
  exit "$status"
}
trap finish EXIT

winpath() { local p=$1; echo "Z:${p//\//\\}"; }
wine_run() { "$WINELOADER" "$@" </dev/null 2>>"$work/stderr.log" | tr -d '\r'; }
reg_import() { "$WINELOADER" reg import "$(winpath "$1")" >/dev/null 2>&1; }

# ---- Seeding: icon files are copies of Wine's own programs, the keys come from generated files.
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/BenchIcons"
icon_sources=(notepad write iexplore winemine winhlp32 winefile)
for i in $(seq 0 159); do
  src=${icon_sources[$((i % ${#icon_sources[@]}))]}
  cp "$drive_c/windows/system32/$src.exe" "$(printf '%s/BenchIcons/app%03d.exe' "$drive_c" "$i")"
done

# Uninstall entries: one per index, spread over the three keys; a third installer products, a
# share each of duplicates, system components, updates, hotfixes, knowledge-base and Windows Live
# names and entries without an uninstall command. The first 40 products have icon files.
seed_programs() {
  awk -v n="$1" -v products="$work/products.txt" '
    function esc(s) { gsub(/\\/, "&&", s); gsub(/"/, "\\\"", s); return s }
    function name(i) {
      return w[i % 23] " " w[(i * 7 + 3) % 23] " " sprintf("%d", i)
    }
    BEGIN {
      split("Acme Photo Studio Zip Tool Media Player Office Suite Browser Runtime Driver Backup " \
            "Sync Editor Viewer Converter Manager Helper Library Kit Tuner Mapper", t, " ")
      for (k = 1; k <= 23; k++) w[k - 1] = t[k]
      key[0] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
      key[1] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
      key[2] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
      print "REGEDIT4\n"
      for (r = 0; r < 3; r++) print "[-" key[r] "]\n"
      msi_count = 0
      for (i = 0; i < n; i++) {
        msi = int(i / 3) % 3 == 0
        guid = sprintf("{B0000000-0000-4000-8000-%012d}", i)
        print "[" key[i % 3] "\\" (msi ? guid : sprintf("BenchApp%05d", i)) "]"
        display = (i % 20 == 1) ? name(i - 1) : name(i)
        k = i % 25
        if (k == 7) display = "Security Update for " display " (KB" (100000 + i) ")"
        if (k == 19) display = "Windows Live " display
        print "\"DisplayName\"=\"" esc(display) "\""
        if (i % 10 != 5) print "\"Publisher\"=\"" esc(sprintf("Bench Publisher %d", i % 37)) "\""
        if (k == 3) print "\"SystemComponent\"=dword:00000001"
        if (k == 11) print "\"ReleaseType\"=\"Security Update\""
        if (k == 22) print "\"ReleaseType\"=\"Hotfix\""
        icon = sprintf("C:\\BenchIcons\\app%03d.exe", (i * 7) % 160)
        if (msi) {
          command = "MsiExec.exe /X" guid
          if (msi_count++ < 40) print guid > products
        } else {
          command = "\"" icon "\" /uninstall"
          if (i % 2 == 0) print "\"DisplayIcon\"=\"" esc(icon ",0") "\""
        }
        if (k != 15) print "\"UninstallString\"=\"" esc(command) "\""
        if (k != 15 && i % 7 == 0) print "\"QuietUninstallString\"=\"" esc(command " /S") "\""
        print ""
      }
    }' >"$work/programs.reg"
  reg_import "$work/programs.reg"
  while read -r guid; do
    mkdir -p "$drive_c/windows/Installer/$guid"
    cp "$drive_c/windows/system32/winhlp32.exe" "$drive_c/windows/Installer/$guid/ARPPRODUCTICON.exe"
  done <"$work/products.txt"
}

# Startup entries: Run values over the six keys, the configuration tool's entries, and shortcuts
# in both Startup folders.
seed_startup() {
  awk -v n="$run_values" -v configs="$configs" '
    function esc(s) { gsub(/\\/, "&&", s); gsub(/"/, "\\\"", s); return s }
    BEGIN {
      cu = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
      lm = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
      key[0] = cu "Run"; key[1] = cu "RunOnce"
      key[2] = "HKEY_CURRENT_USER\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"
      key[3] = lm "Run"; key[4] = lm "RunOnce"
      key[5] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"
      config = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg"
      print "REGEDIT4\n"
      for (r = 0; r < 6; r++) print "[-" key[r] "]\n"
      print "[-" config "]\n"
      for (r = 0; r < 6; r++) {
        print "[" key[r] "]"
        for (i = r; i < n; i += 6) {
          file = sprintf("C:\\BenchIcons\\app%03d.exe", (i * 3) % 160)
          if (i % 4 == 0) data = "\"" file "\" /tray"
          else if (i % 4 == 1) data = file " -min"
          else if (i % 4 == 2) data = sprintf("%%ProgramFiles%%\\Bench\\tool%03d.exe", i)
          else data = sprintf("C:\\windows\\system32\\rundll32.exe bench%03d.dll,Entry", i)
          print "\"" esc(sprintf("Bench Run %03d", i)) "\"=\"" esc(data) "\""
        }
        print ""
      }
      for (i = 0; i < configs; i++) {
        print "[" config "\\Bench" sprintf("%02d", i) "]"
        print "\"item\"=\"" esc(sprintf("Bench Item %02d", i)) "\""
        print "\"command\"=\"" esc(sprintf("C:\\BenchIcons\\app%03d.exe /auto", (i * 5) % 160)) "\""
        print "\"hkey\"=\"" (i % 2 ? "HKLM" : "HKCU") "\"\n"
      }
    }' >"$work/startup.reg"
  reg_import "$work/startup.reg"
  wine_run "$bin/bench_floor_reads.exe" links "$links" 'C:\BenchIcons' >/dev/null
}

# ---- Measuring: every figure's repetitions go to a file of its own, one number a line.
sample() { # name, command...: appends the command's output lines to $work/name
  local name=$1
  shift
  "$@" >>"$work/$name"
}
stats() { # file: median min max
  sort -g "$1" | awk '{ v[NR] = $1 }
    END { if (NR == 0) { print "nan nan nan"; exit }
          m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          print m, v[1], v[NR] }'
}
median() { stats "$1" | cut -d' ' -f1; }
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }

rows=()
row() { rows+=("$(printf '%-36s %10s %7s %9s %10s %19s' "$@")"); }
time_row() { # label, figure file, floor median or -, target text, [divisor for the ratio]
  local median min max ratio=-
  read -r median min max < <(stats "$work/$2")
  [ "$3" = - ] || ratio=$(calc "$median / $3")
  row "$1" "$3" "$ratio" "$4" "$(calc "$median")" "$(calc "$min")-$(calc "$max")"
}

# The General rows as filled: the first two have no caption (Wine's platform and product name).
prefixes_orv=("Windows " "Microsoft Windows" "Product Id: " "Computer name: " "User name: " "Registered owner: "
  "Registered organization: " "BIOS: " "CPU: " "Video: " "Monitor: " "Memory: " "Keyboard language: ")
prefixes_floor=()
for r in $(seq -w 1 13); do prefixes_floor+=("Row $r: "); done

observe() { # figure name, window class, program, arguments, prefixes...
  local name=$1
  shift
  local line
  line=$(wine_run "$bin/bench_observe.exe" "$1" "$(winpath "$2")" "$3" "${@:4}")
  echo "${line% *}" >>"$work/$name"
  echo "${line#* }" >>"$work/$name.ws"
}

echo "== B3: Installed programs at ${sizes[0]} entries"
seed_programs "${sizes[0]}"
sample b3_small wine_run "$bin/bench_fills.exe" programs "$reps"

echo "== B2, B4, B5, B7, B1 on $programs entries and $run_values Run values"
seed_programs "$programs"
seed_startup
# A figure and its floor take turns, so that a burst of load elsewhere on the machine hits both.
for _ in $(seq "$reps"); do
  sample b2 wine_run "$bin/bench_fills.exe" programs 1
  sample b2_floor wine_run "$bin/bench_floor_reads.exe" programs 1
  start=$(date +%s%N)
  "$WINELOADER" uninstaller --list </dev/null >/dev/null 2>&1
  echo "$((($(date +%s%N) - start) / 1000))" | awk '{ print $1 / 1000 }' >>"$work/b2_wine"
  sample b4 wine_run "$bin/bench_fills.exe" startup 1
  sample b4_floor wine_run "$bin/bench_floor_reads.exe" startup 1
  if [ "$wow64" = 1 ]; then
    sample b2_32 wine_run "$bin32/bench_fills.exe" programs 1
    sample b2_32_floor wine_run "$bin32/bench_floor_reads.exe" programs 1
    sample b4_32 wine_run "$bin32/bench_fills.exe" startup 1
    sample b4_32_floor wine_run "$bin32/bench_floor_reads.exe" startup 1
  fi
done
wine_run "$bin/bench_fills.exe" report "$reps" >"$work/b5_pairs"
cut -d' ' -f1 "$work/b5_pairs" >"$work/b5"
cut -d' ' -f2 "$work/b5_pairs" >"$work/b5_sum"
sample b7 wine_run "$bin/bench_fills.exe" memory
for _ in $(seq "$reps"); do
  observe b1a OrvBenchFloor "$bin/bench_floor_window.exe" "" "${prefixes_floor[@]}"
  observe b1b OrvBenchFloor "$bin/bench_floor_window.exe" --full "${prefixes_floor[@]}"
  observe b1 OrvendelForm "$bin/Orvendex.exe" "" "${prefixes_orv[@]}"
  if [ "$wow64" = 1 ]; then
    observe b1b_32 OrvBenchFloor "$bin32/bench_floor_window.exe" --full "${prefixes_floor[@]}"
    observe b1_32 OrvendelForm "$bin32/Orvendex.exe" "" "${prefixes_orv[@]}"
  fi
done

echo "== B3: Installed programs at ${sizes[2]} entries"
seed_programs "${sizes[2]}"
sample b3_large wine_run "$bin/bench_fills.exe" programs "$reps"

# ---- B6: the release programs without symbols or debug sections.
stripped_mb() { # program, strip tool
  "$2" -o "$work/stripped.exe" "$1"
  awk -v b="$(stat -c %s "$work/stripped.exe")" 'BEGIN { printf "%.2f", b / 1048576 }'
}
size32=$(stripped_mb "$bin32/Orvendex.exe" i686-w64-mingw32-strip)
size64=$(stripped_mb "$bin/Orvendex.exe" x86_64-w64-mingw32-strip)

# ---- The table.
b1b=$(median "$work/b1b")
b2_floor=$(median "$work/b2_floor")
small=$(median "$work/b3_small")
large=$(median "$work/b3_large")
middle=$(median "$work/b2")
per_small=$(calc "$small * 1000 / ${sizes[0]}")
floor_ws=$(awk '{ print $1 / 1048576 }' "$work/b1a.ws" | sort -g | head -n 1)
peak_ws=$(awk '$1 == "report" { print $2 / 1048576 }' "$work/b7")
floor_b_ws=$(awk '{ print $1 / 1048576 }' "$work/b1b.ws" | sort -g | head -n 1)

row figure floor ratio target median spread
time_row "B1 start, floor (b) (ms)" b1 "$(calc "$b1b")" "<=1.3"
time_row "B1 start, floor (a) (ms)" b1 "$(calc "$(median "$work/b1a")")" -
time_row "B1 floor (b) itself (ms)" b1b - -
if [ "$wow64" = 1 ]; then
  time_row "B1 win32 start, floor (b) (ms)" b1_32 "$(calc "$(median "$work/b1b_32")")" "<=1.3"
  time_row "B1 win32 floor (b) itself (ms)" b1b_32 - -
fi
time_row "B2 Page5Show $programs (ms)" b2 "$(calc "$b2_floor")" "<=2"
if [ "$wow64" = 1 ]; then
  time_row "B2 win32 Page5Show $programs (ms)" b2_32 "$(calc "$(median "$work/b2_32_floor")")" "<=2"
fi
time_row "B2 uninstaller --list (ms)" b2_wine "$(calc "$b2_floor")" -
row "B3 Page5Show ${sizes[0]} (us/entry)" - - - "$per_small" -
row "B3 Page5Show ${sizes[1]} (us/entry)" "$per_small" "$(calc "($middle / ${sizes[1]}) / ($small / ${sizes[0]})")" \
  - "$(calc "$middle * 1000 / ${sizes[1]}")" "-"
row "B3 Page5Show ${sizes[2]} (us/entry)" "$per_small" "$(calc "($large / ${sizes[2]}) / ($small / ${sizes[0]})")" \
  "<=1.2" "$(calc "$large * 1000 / ${sizes[2]}")" "-"
time_row "B4 Page4Show $run_values (ms)" b4 "$(calc "$(median "$work/b4_floor")")" "<=1.7"
if [ "$wow64" = 1 ]; then
  time_row "B4 win32 Page4Show $run_values (ms)" b4_32 "$(calc "$(median "$work/b4_32_floor")")" \
    "<=1.7"
fi
time_row "B5 text report (ms)" b5 "$(calc "$(median "$work/b5_sum")")" "<=1.1"
row "B6 Orvendex.exe win32 (MB)" - - "<=1" "$size32" -
row "B6 Orvendex.exe win64 (MB)" - - "<=1" "$size64" -
row "B7 peak working set (MB)" "$(calc "$floor_ws")" "+$(calc "$peak_ws - $floor_ws")" "+10" \
  "$(calc "$peak_ws")" -
row "B7 floor (b) (MB)" - - - "$(calc "$floor_b_ws")" -
# Where the peak grew: the step, and the growth over the step before it.
while read -r step bytes; do
  mb=$(calc "$bytes / 1048576")
  row "B7   after $step (MB)" - "+$(calc "$mb - ${last_mb:-$floor_ws}")" - "$mb" -
  last_mb=$mb
done <"$work/b7"

echo
echo "scripts/bench.sh $* ($(date -u '+%Y-%m-%d %H:%M UTC'), $reps repetitions, times in ms)"
printf '%s\n' "${rows[@]}"
if [ "$wow64" != 1 ]; then
  echo "win32 rows of B1, B2 and B4: not measured, $orv_wine_no32"
fi
