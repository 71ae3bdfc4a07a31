#!/usr/bin/env bash
# ctest's emulator for the Windows test programs: wine-run.sh win64|win32 PROGRAM ARGS... runs one
# under Wine in the prefix of its build: the one the calling script started (ORV_WINEPREFIX), else
# the project's, made on first use. Never the shell's WINEPREFIX, which may be someone's own.
export ORV_WINE_KIND=$1
shift
prefix=${ORV_WINEPREFIX:-}
. "$(dirname "$0")/wine-env.sh"
[ -z "$prefix" ] || orv_wine_use "$prefix"
orv_wine_prefix
loader=$WINELOADER

# Output goes through a file, not ctest's pipe: a Wine helper process that a test starts in passing
# may inherit the pipe and keep ctest waiting for it to close.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$loader" "$@" >"$out" 2>&1
rc=$?
# Every test program prints before it does anything else, so a failure with no output at all means
# Wine did not start the program (seen rarely on a freshly made prefix): say so and try once more.
if [ "$rc" -ne 0 ] && [ ! -s "$out" ]; then
  echo "wine-run.sh: Wine started nothing (exit $rc); starting $1 once more" >&2
  "$loader" "$@" >"$out" 2>&1
  rc=$?
fi
cat "$out"
exit "$rc"
