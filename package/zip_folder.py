"""Packs one folder into a ZIP archive whose bytes depend on nothing but the files' contents and
the time of the source tree's last commit (SOURCE_DATE_EPOCH, where set, instead): entries in
sorted order, every entry dated at that time, no owner, no permissions, no extra fields, a fixed
compression level. Then writes the archive's SHA-256 beside it, in the form sha256sum -c reads.

    zip_folder.py <folder> <archive.zip> <source tree>

The archive holds the folder itself with everything under it, as a user unpacks it: one folder.
"""
import hashlib
import os
import subprocess
import sys
import time
import zipfile

FILE_ATTRIBUTE_DIRECTORY = 0x10
FILE_ATTRIBUTE_ARCHIVE = 0x20
MSDOS = 0  # the "made by" system: the attributes are Windows file attributes


def entry(name, stamp, attributes):
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.create_system = MSDOS
    info.external_attr = attributes
    return info


def commit_time(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    log = ["git", "-C", source, "log", "-1", "--format=%ct"]
    try:
        return int(subprocess.run(log, check=True, capture_output=True, text=True).stdout)
    except (OSError, subprocess.CalledProcessError, ValueError):
        sys.exit(f"zip_folder.py: {source} is no git work tree with a commit to date the archive; "
                 "set SOURCE_DATE_EPOCH to the seconds since 1970 to date it")


def main(folder, archive, source):
    # ZIP times are local times without a zone: the commit's UTC time, the same wherever it is made.
    # They start in 1980 and have a resolution of two seconds.
    stamp = time.gmtime(max(commit_time(source), 315532800))[:6]
    parent = os.path.dirname(os.path.abspath(folder))
    entries = []  # (name in the archive, path on disk or None for a folder)
    for root, _, files in os.walk(folder):
        inside = os.path.relpath(root, parent).replace(os.sep, "/")
        entries.append((inside + "/", None))
        entries.extend((inside + "/" + name, os.path.join(root, name)) for name in files)
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w") as out:
        for name, path in sorted(entries):
            if path is None:
                out.writestr(entry(name, stamp, FILE_ATTRIBUTE_DIRECTORY), b"")
                continue
            info = entry(name, stamp, FILE_ATTRIBUTE_ARCHIVE)
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                out.writestr(info, source.read(), compresslevel=9)
    os.replace(partial, archive)

    digest = hashlib.sha256()
    with open(archive, "rb") as packed:
        for block in iter(lambda: packed.read(1 << 20), b""):
            digest.update(block)
    with open(archive + ".sha256", "w", newline="\n") as checksum:
        checksum.write(f"{digest.hexdigest()}  {os.path.basename(archive)}\n")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
