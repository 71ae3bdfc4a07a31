#!/usr/bin/env bash
# half-made-prefix.sh: a prefix of the build whose making was cut short (a registry, not the mark of
# a finished one) is made anew before a program runs in it; one outside the build folder, as a
# contributor may name with ORV_WINEPREFIX, is never touched.
scratch=$PWD/half-made-prefix
half=$scratch/build/wineprefix-test
rm -rf "$scratch" && mkdir -p "$half/drive_c/windows/syswow64" "$scratch/elsewhere" || exit 1
echo "WINE REGISTRY Version 2" | tee "$half/system.reg" >"$scratch/elsewhere/system.reg"
env="$(dirname "$0")/../../scripts/wine-env.sh"
ORV_BUILD=$scratch/build bash -c '. "$1" && orv_wine_prefix && orv_wine_use "$2" && orv_wine_prefix' \
  _ "$env" "$scratch/elsewhere" >/dev/null
made=$(grep -c '00021401-0000-0000-C000-000000000046' "$half/system.reg")
left=$(ls -A "$scratch/elsewhere")
echo "the build's prefix made anew: $made shell link class entries; left elsewhere: $left"
rm -rf "$scratch"
[ "$made" -gt 0 ] && [ "$left" = system.reg ]
