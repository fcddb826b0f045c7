#!/usr/bin/env python3
"""Packs a folder into a .zip or .tar.gz that depends only on its contents.

    archive.py FOLDER OUT.zip|OUT.tar.gz MTIME

The archive holds FOLDER itself (its name is the top folder) and all under
it, in sorted order.  Every entry has the time MTIME (seconds since 1970)
and no owner; a file keeps only whether it is executable.  A tar keeps
symbolic links as links; a zip holds the files they point to.
"""
import gzip
import os
import sys
import tarfile
import time
import zipfile


def entries(folder):
    """Yields (path, name in the archive) for the folder and all under it."""
    parent = os.path.dirname(os.path.abspath(folder))
    for top, dirs, files in os.walk(folder):
        dirs.sort()
        yield top, os.path.relpath(top, parent)
        for name in sorted(files):
            path = os.path.join(top, name)
            yield path, os.path.relpath(path, parent)


def mode_of(path):
    executable = os.path.isdir(path) or os.access(path, os.X_OK)
    return 0o755 if executable else 0o644


def write_zip(folder, out, mtime):
    stamp = time.gmtime(max(mtime, 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        for path, name in entries(folder):
            if os.path.isdir(path):
                continue
            info = zipfile.ZipInfo(name, stamp)
            info.external_attr = (0o100000 | mode_of(path)) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read())


def write_tar(folder, out, mtime):
    with open(out, "wb") as raw, \
            gzip.GzipFile("", "wb", fileobj=raw, mtime=mtime) as zipped, \
            tarfile.open(fileobj=zipped, mode="w", format=tarfile.GNU_FORMAT) as archive:
        for path, name in entries(folder):
            info = archive.gettarinfo(path, name)
            info.mtime = mtime
            info.uid = info.gid = 0
            info.uname = info.gname = ""
            if info.issym():
                archive.addfile(info)
                continue
            info.mode = mode_of(path)
            if info.isdir():
                archive.addfile(info)
            else:
                with open(path, "rb") as f:
                    archive.addfile(info, f)


def main():
    folder, out, mtime = sys.argv[1], sys.argv[2], int(sys.argv[3])
    if out.endswith(".zip"):
        write_zip(folder, out, mtime)
    elif out.endswith(".tar.gz"):
        write_tar(folder, out, mtime)
    else:
        sys.exit(f"archive.py: {out}: neither .zip nor .tar.gz")


if __name__ == "__main__":
    main()
