#!/usr/bin/env bash
# Runs a Windows test program under Wine's X11 driver on a virtual screen (Xvfb), in the drawing
# prefix (build/wineprefix-screen): for what only a real display driver shows. Exits with 77
# (skipped) where Xvfb is missing.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is missing: nothing to draw on, skipped"; exit 77; }
export ORV_WINE_DISPLAY=1
. "$(dirname "$0")/../../scripts/wine-env.sh"

display=
for n in $(seq 90 -1 20); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "No free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=:$display

orv_wine_prefix
"$WINESERVER" -k 2>/dev/null || true
# Wine's own system processes started first, with no pipes of ours that would keep ctest waiting.
"$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
"$WINELOADER" "$@" </dev/null
