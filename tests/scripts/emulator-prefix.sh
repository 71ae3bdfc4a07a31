#!/usr/bin/env bash
# emulator-prefix.sh EMULATOR... PROGRAM: lists PROGRAM's tests through the emulator with WINEPREFIX
# naming an empty folder; passes when the program ran and the folder is still empty.
empty=$PWD/emulator-prefix-empty
rm -rf "$empty" && mkdir "$empty" || exit 1
listing=$(WINEPREFIX=$empty "$@" --gtest_list_tests 2>&1)
rc=$?
left=$(find "$empty" -mindepth 1 | wc -l)
echo "exit $rc, $(grep -c '^  ' <<<"$listing") tests listed; $left files and folders in $empty"
[ "$rc" = 0 ] && [ "$left" = 0 ]
