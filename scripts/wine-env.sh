# Sourced by the scripts: a project-local Wine prefix, created on first use and reused, with its
# own persistent wineserver. ORV_BUILD names the build folder (default: build in the source tree).
# Set ORV_WINE_DISPLAY=1 for a prefix that draws (screenshots); otherwise the prefix uses Wine's null
# graphics driver, so window-level tests run without any display. ORV_WINE_KIND=win32 gives the
# release build's tests a prefix of their own (wineprefix-test32), in which the 64-bit loader runs
# the 32-bit programs as 64-bit Windows does (WoW64).
# The prefix is always one the project makes, whatever WINEPREFIX the shell has: the tests write
# keys, drives and settings that would damage a contributor's own prefix. The prefix chosen is
# exported as ORV_WINEPREFIX too, which ctest's emulator (scripts/wine-run.sh) follows.

ORV_ROOT=${ORV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
ORV_BUILD=${ORV_BUILD:-$ORV_ROOT/build}
mkdir -p "$ORV_BUILD"
ORV_BUILD=$(cd "$ORV_BUILD" && pwd)

orv_wine_use() { export ORV_WINEPREFIX=$1 WINEPREFIX=$1; }
if [ "${ORV_WINE_DISPLAY:-0}" = 1 ]; then
  orv_wine_use "$ORV_BUILD/wineprefix-screen"
elif [ "${ORV_WINE_KIND:-win64}" = win32 ]; then
  orv_wine_use "$ORV_BUILD/wineprefix-test32"
else
  orv_wine_use "$ORV_BUILD/wineprefix-test"
fi
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# Wine turns Windows file names into Unix ones through the locale's character set: under the POSIX
# locale no name outside ASCII can be made or opened. The locale is the scripts' choice, not the
# shell's (C.UTF-8 is on every Debian 12).
export LANG=C.UTF-8 LC_ALL=C.UTF-8 LC_CTYPE=C.UTF-8
unset LANGUAGE

orv_wine() { "$WINELOADER" "$@"; }

# Whether this machine runs the release build: a kernel that runs 32-bit code and Wine's 32-bit
# loader. When it does not, orv_wine_no32 says why, for the caller's message.
orv_wine_runs_32bit() {
  local rc=0
  orv_wine_no32=$(bash "$ORV_ROOT/scripts/can-run-32bit.sh") || rc=$?
  if [ "$rc" = 0 ] && [ ! -x /usr/lib/wine/wine ]; then
    orv_wine_no32="Wine's 32-bit loader (wine32:i386) is not installed"
    rc=1
  fi
  return "$rc"
}

orv_wine_prefix() {
  # A prefix of the project's whose making was cut short (the machine stopped, Ctrl+C) has a registry
  # but not the mark set once Wine finished it: Wine would take it as made, and the programs would
  # meet a half-registered system (no shell link class, a box no test answers). One made before
  # Wine's 32-bit loader was installed has no syswow64, and every 32-bit program fails in it. Either
  # is made anew; a prefix outside the build folder is never removed.
  local mark=$WINEPREFIX/.orv-prefix-made
  if [ "${WINEPREFIX#"$ORV_BUILD"/}" != "$WINEPREFIX" ] &&
    [ -f "$WINEPREFIX/system.reg" ] && { [ ! -f "$mark" ] ||
      { [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ] && [ -x /usr/lib/wine/wine ]; }; }; then
    "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    DISPLAY= "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    if [ "${ORV_WINE_DISPLAY:-0}" != 1 ]; then
      DISPLAY= "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1
      "$WINESERVER" -w
    fi
    touch "$mark"
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

# Starts a virtual screen (Xvfb) on a free display number and points DISPLAY at it; its process id
# is left in ORV_XVFB_PID, and orv_xvfb_stop ends it with the prefix's Wine processes.
orv_xvfb_start() {
  local n display=
  for n in $(seq 90 -1 20); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
  done
  [ -n "$display" ] || { echo "No free X display number" >&2; return 1; }
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  ORV_XVFB_PID=$!
  export DISPLAY=:$display
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
}

orv_xvfb_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  kill "$ORV_XVFB_PID" 2>/dev/null || true
  wait "$ORV_XVFB_PID" 2>/dev/null || true
}

orv_wine_stop() {
  "$WINESERVER" -k 2>/dev/null || true
}
