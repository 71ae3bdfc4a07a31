#!/usr/bin/env bash
# Installs what building and testing Orvendel needs on Debian 12, and does nothing when all is there.
# Run as root (apt-get); elsewhere it only says what is missing. Where the kernel runs 32-bit x86
# code, Wine's 32-bit loader (wine32:i386) is installed beside wine64, so that the release build runs
# as on 64-bit Windows; where it cannot be had, that is said in one line and the rest goes on.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ pkg-config git clang-format
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
  googletest
  wine64
  xvfb imagemagick xdotool fonts-liberation
  fp-utils
  python3 unzip
  clang libclang-rt-14-dev
)

missing_of() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

can_run_32=0
bash scripts/can-run-32bit.sh && can_run_32=1
mapfile -t missing < <(missing_of "${packages[@]}")
missing32=()
if [ "$can_run_32" = 1 ]; then
  mapfile -t missing32 < <(missing_of wine32:i386)
fi

if [ ${#missing[@]} -eq 0 ] && [ ${#missing32[@]} -eq 0 ]; then
  [ "$can_run_32" = 1 ] || echo "setup: this kernel cannot run 32-bit programs: the release build is compiled, not run"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} ${missing32[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]} ${missing32[*]}" >&2
  exit 1
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
  if [ "$can_run_32" = 0 ]; then
    echo "setup: this kernel cannot run 32-bit programs: the release build is compiled, not run"
  elif [ ${#missing32[@]} -gt 0 ]; then
    echo "setup: wine32:i386 could not be installed: the release build is compiled, not run"
  fi
fi
