#!/usr/bin/env bash
# Installs what one script needs on Debian 12, and does nothing when all is there:
#   scripts/setup.sh run|package|check-package|reliability|bench|fuzz|test
# Each script calls it with its own name, so that it needs only its own packages. Run as root
# (apt-get); as another user it says which packages that script lacks and how to install them.
# Where the kernel runs 32-bit x86 code, Wine's 32-bit loader (wine32:i386) is installed beside
# wine64, so that the release build runs as on 64-bit Windows; where it cannot be had, that is said
# in one line and the rest goes on.
set -euo pipefail
cd "$(dirname "$0")/.."
script=${1:-test}

# The MinGW-w64 cross compilers.
compilers="g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32"
# The Windows builds (Python draws the pictures and packs the archive; fp-utils compiles the help).
build="cmake make git python3 fp-utils googletest mingw-w64-tools $compilers"
wine="wine64 fonts-liberation"
screen="xvfb imagemagick xdotool"
fuzz="cmake make clang libclang-rt-14-dev"
case "$script" in
  run) needs="$build $wine" && [ -n "${DISPLAY:-}" ] || needs="$needs $screen" ;;
  package) needs=$build ;;
  check-package) needs="$build $wine unzip" ;;
  reliability | bench) needs="$build $wine" ;;
  fuzz) needs=$fuzz ;;
  test) needs="$build $wine $screen unzip g++ clang-format $fuzz" ;;
  *) echo "usage: scripts/setup.sh run|package|check-package|reliability|bench|fuzz|test" >&2; exit 2 ;;
esac

missing_of() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

mapfile -t wanted < <(tr ' ' '\n' <<<"$needs" | sort -u)
mapfile -t missing < <(missing_of "${wanted[@]}")
missing32=()
no32=
if [[ " $needs " == *" wine64 "* ]]; then
  if no32=$(ORV_BUILD=${ORV_BUILD:-$PWD/build} bash scripts/can-run-32bit.sh); then
    no32=
    mapfile -t missing32 < <(missing_of wine32:i386)
  fi
fi

python_minimum() {
  [[ " $needs " == *" python3 "* ]] || return 0
  # os.waitstatus_to_exitcode and ZipFile's compresslevel came with Python 3.9.
  python3 -c 'import sys; sys.exit(sys.version_info < (3, 9))' 2>/dev/null && return 0
  echo "scripts/$script.sh needs Python 3.9 or newer; python3 is $(python3 --version 2>&1)" >&2
  exit 1
}

if [ ${#missing[@]} -eq 0 ] && [ ${#missing32[@]} -eq 0 ]; then
  python_minimum
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing32[@]} -gt 0 ]; then
    echo "Wine's 32-bit loader is not installed: the release build is compiled, not run. To run it:" >&2
    echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install wine32:i386" >&2
  fi
  if [ ${#missing[@]} -gt 0 ]; then
    echo "scripts/$script.sh needs packages that are not installed: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  python_minimum
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index now and then; what the other indexes give may still do.
apt-get update -qq || echo "setup: apt-get update reported errors; trying with the package lists it has"

install() { apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
# In one call, so that the i386 halves of multi-arch libraries are chosen with their amd64 twins.
# Where the update suite's i386 index is out of step with its amd64 one (a mirror mid-sync), the
# release's own suite gives twins that match.
install_any() { install "$@" || install -t "$(. /etc/os-release && echo "$VERSION_CODENAME")" "$@"; }

echo "Installing: ${missing[*]} ${missing32[*]}"
if [ ${#missing32[@]} -eq 0 ] || ! install_any "${missing[@]}" "${missing32[@]}"; then
  [ ${#missing[@]} -eq 0 ] || install_any "${missing[@]}"
  if [ -n "$no32" ]; then
    echo "setup: $no32: the release build is compiled, not run"
  elif [ ${#missing32[@]} -gt 0 ]; then
    echo "setup: wine32:i386 could not be installed: the release build is compiled, not run"
  fi
fi
python_minimum
