#!/usr/bin/env bash
# Runs a Windows test program under Wine's X11 driver on a virtual screen (Xvfb), in the drawing
# prefix (build/wineprefix-screen): for what only a real display driver shows. Exits with 77
# (skipped) where Xvfb is missing.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is missing: nothing to draw on, skipped"; exit 77; }
export ORV_WINE_DISPLAY=1
. "$(dirname "$0")/../../scripts/wine-env.sh"

orv_xvfb_start
trap orv_xvfb_stop EXIT

orv_wine_prefix
"$WINESERVER" -k 2>/dev/null || true
# Wine's own system processes started first, with no pipes of ours that would keep ctest waiting.
"$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
"$WINELOADER" "$@" </dev/null
