#!/usr/bin/env bash
# Makes the archive users download: sets up, builds the release program (the 32-bit build; win64
# packs the 64-bit one the same way) and packs it with its language files, help file and ReadMe
# into build/<preset>/package/Orvendel-<version>-<preset>.zip, with its SHA-256 beside it. The same
# commit gives the same bytes. Prints the archive's path, its file list, size and checksum.
#   scripts/package.sh [win32|win64]
set -euo pipefail
cd "$(dirname "$0")/.."
export ORV_ROOT=$PWD
export ORV_BUILD=${ORV_BUILD:-$PWD/build}
preset=${1:-win32}
case "$preset" in
  win32 | win64) ;;
  *) echo "usage: scripts/package.sh [win32|win64]" >&2; exit 2 ;;
esac

bash scripts/setup.sh package
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "package: the working tree has uncommitted changes; the archive is not that of a commit" >&2
fi
cmake --preset "$preset" -B "$ORV_BUILD/$preset" >/dev/null
cmake --build "$ORV_BUILD/$preset" -j 2 --target portable_zip >/dev/null

# The folder packed is the one the build has just installed; it names the archive.
name=$(ls "$ORV_BUILD/$preset/package/stage")
zip=$ORV_BUILD/$preset/package/$name.zip
echo "$zip"
python3 - "$zip" <<'EOF'
import sys, zipfile
for info in zipfile.ZipFile(sys.argv[1]).infolist():
    print(f"  {info.file_size:>9,}  {info.filename}")
EOF
echo "size: $(stat -c %s "$zip") bytes"
echo "sha256: $(cut -d' ' -f1 "$zip.sha256")"
