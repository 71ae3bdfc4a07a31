# Sourced by the scripts: a project-local Wine prefix, created on first use and reused, with its
# own persistent wineserver. ORV_BUILD names the build folder (default: build in the source tree).
# Set ORV_WINE_DISPLAY=1 for a prefix that draws (screenshots); otherwise the prefix uses Wine's null
# graphics driver, so window-level tests run without any display.

ORV_ROOT=${ORV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
ORV_BUILD=${ORV_BUILD:-$ORV_ROOT/build}
mkdir -p "$ORV_BUILD"
ORV_BUILD=$(cd "$ORV_BUILD" && pwd)

if [ "${ORV_WINE_DISPLAY:-0}" = 1 ]; then
  export WINEPREFIX=$ORV_BUILD/wineprefix-screen
else
  export WINEPREFIX=$ORV_BUILD/wineprefix-test
fi
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

orv_wine() { "$WINELOADER" "$@"; }

orv_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    DISPLAY= "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    if [ "${ORV_WINE_DISPLAY:-0}" != 1 ]; then
      DISPLAY= "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1
      "$WINESERVER" -w
    fi
  fi
}

orv_wine_start() {
  orv_wine_prefix
  # A stale server of this prefix (from a crashed run) is replaced, so the null driver takes effect.
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -p
  # Start Wine's own system processes now, with no pipes of ours: started by the first test program
  # they would inherit its output pipe and keep ctest waiting for it to close.
  "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

orv_wine_stop() {
  "$WINESERVER" -k 2>/dev/null || true
}
