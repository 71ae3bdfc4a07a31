#!/usr/bin/env bash
# Sets up, builds the release Orvendex.exe (32-bit, run under Wine's WoW64 as on 64-bit Windows;
# the 64-bit build where this machine cannot run 32-bit code) and starts it under Wine from its own
# folder (so the Help link finds Orvendex.chm beside it). With a display ($DISPLAY) the window opens there. Without
# one the program runs on a virtual screen (Xvfb) in a Wine desktop that draws the title bar, and
# a screenshot of the window is saved to build/screenshots/ instead; ORV_SHOT_TABS=1 saves one
# screenshot per tab (switched with Ctrl+Tab).
set -euo pipefail
cd "$(dirname "$0")/.."
export ORV_ROOT=$PWD
export ORV_BUILD=${ORV_BUILD:-$PWD/build}

bash scripts/setup.sh run
export ORV_WINE_DISPLAY=1
. scripts/wine-env.sh
# ORV_RUN_KIND=win64 runs the 64-bit build even where the release build could run.
kind=${ORV_RUN_KIND:-win64}
if [ -z "${ORV_RUN_KIND:-}" ]; then
  if orv_wine_runs_32bit; then kind=win32; else echo "The release build cannot run here: $orv_wine_no32"; fi
fi
cmake --preset "$kind" -B "$ORV_BUILD/$kind" >/dev/null
cmake --build "$ORV_BUILD/$kind" -j "$(nproc)" --target Orvendex
bin=$ORV_BUILD/$kind/bin
echo "Running the $kind build: $bin/Orvendex.exe"

# ORV_LANGUAGE=1..6 chooses the language file (English, German, French, Spanish, Italian, Czech)
# the way a user does: the "Language" value in the registry of the prefix the program runs in.
choose_language() {
  [ -n "${ORV_LANGUAGE:-}" ] || return 0
  "$WINELOADER" reg add 'HKCU\Software\Tellwick\Orvendel' /v Language /t REG_DWORD \
    /d "$ORV_LANGUAGE" /f >/dev/null 2>&1
}

if [ -n "${DISPLAY:-}" ]; then
  orv_wine_prefix
  choose_language
  cd "$bin"
  exec "$WINELOADER" Orvendex.exe
fi

shots=$ORV_ROOT/build/screenshots
mkdir -p "$shots"

orv_xvfb_start
trap orv_xvfb_stop EXIT
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

orv_wine_prefix
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -p
choose_language
(cd "$bin" && "$WINELOADER" explorer /desktop=Orvendel,640x560 Orvendex.exe >/dev/null 2>&1 &)

# The Wine desktop window appears first; the program's window is drawn inside it.
desktop=
for _ in $(seq 150); do
  desktop=$(xdotool search --name 'Orvendel - Wine desktop' 2>/dev/null | head -n 1 || true)
  [ -n "$desktop" ] && break
  sleep 0.2
done
[ -n "$desktop" ] || { echo "The program's window did not appear" >&2; exit 1; }
sleep 4

stamp=$(date +%Y%m%d-%H%M%S)
if [ "${ORV_SHOT_TABS:-0}" = 1 ]; then
  for tab in 1 2 3 4 5 6; do
    import -window "$desktop" "$shots/orvendel-$stamp-tab$tab.png"
    echo "Screenshot: $shots/orvendel-$stamp-tab$tab.png"
    # Synthetic key events are ignored by Wine: type through XTEST over the window instead.
    xdotool mousemove 320 300 key ctrl+Tab
    sleep 3
  done
else
  import -window "$desktop" "$shots/orvendel-$stamp.png"
  echo "Screenshot: $shots/orvendel-$stamp.png"
fi
