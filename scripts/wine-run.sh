#!/usr/bin/env bash
# ctest's emulator for the 64-bit Windows test programs: runs one under Wine in the project prefix.
if [ -z "${WINEPREFIX:-}" ]; then
  . "$(dirname "$0")/wine-env.sh"
  orv_wine_prefix
fi
exec "${WINELOADER:-/usr/lib/wine/wine64}" "$@"
