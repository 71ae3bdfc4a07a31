#!/usr/bin/env bash
# Whether this machine's kernel runs 32-bit x86 programs (IA32 emulation), which Wine's 32-bit
# loader needs to run the release build as on 64-bit Windows. Prints one line saying which, and
# exits 0 when it does, 1 when it does not, 2 when it could not tell: the probe is run from the
# build folder (ORV_BUILD), and where programs cannot run from there (a noexec mount) the answer
# is unknown rather than "no". The probe is a 93-byte i386 ELF that only calls exit(0), so it needs
# no 32-bit library.
dir=${ORV_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build}
probe=$dir/can-run-32bit.probe
native=$dir/can-run-32bit.native
untested() {
  echo "could not test whether this kernel runs 32-bit programs: $1"
  exit 2
}
trap 'rm -f "$probe" "$native"' EXIT
mkdir -p "$dir" 2>/dev/null || untested "cannot make $dir"
{
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' &&
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' &&
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' &&
  printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' &&
  printf '\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000' &&
  printf '\000\020\000\000\270\001\000\000\000\061\333\315\200'
} >"$probe" 2>/dev/null && chmod +x "$probe" && cp /bin/true "$native" 2>/dev/null ||
  untested "cannot write a probe in $dir"
# A program of this machine's own kind must run from there, or the probe's failure says nothing.
"$native" 2>/dev/null || untested "$dir does not let programs run (mounted noexec?)"
if error=$("$probe" 2>&1); then
  echo "this kernel runs 32-bit x86 programs"
  exit 0
fi
echo "this kernel does not run 32-bit x86 programs (${error##*: })"
exit 1
