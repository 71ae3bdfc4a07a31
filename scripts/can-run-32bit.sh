#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs (IA32 emulation), which Wine's
# 32-bit loader needs to run the release build as on 64-bit Windows; 1 otherwise. The probe is a
# 93-byte i386 ELF that only calls exit(0), so it needs no 32-bit library.
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$probe"
printf '\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000' >>"$probe"
printf '\000\020\000\000\270\001\000\000\000\061\333\315\200' >>"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
