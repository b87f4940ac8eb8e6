#!/usr/bin/env python3
"""Packs the game's files for the browser: python3 pack_data.py DATA_DIR OUT.

One gzip stream of, for every file below DATA_DIR, its path, a line end, its size in
decimal, a line end and its bytes; the page unpacks it into the game's folder. The
large screen-layout BMPs shrink to a fraction of their size on the way and arrive byte
for byte, so the game reads exactly the files it reads on the desktop. The icons and a
disk audio driver's output are not the game's files and stay out.
"""
import gzip, os, sys

LEFT_OUT = ("sdlaudio.raw", "audio.raw")


def game_files(folder, leave_out=()):
    """Every file below folder but the icons, an audio driver's output and, at the top,
    the names in leave_out."""
    for top, dirs, files in os.walk(folder):
        if top == folder:
            dirs[:] = [name for name in dirs if name not in leave_out]
        dirs.sort()
        for name in sorted(files):
            if name in LEFT_OUT or (top == folder and (name.startswith("meadowgunner")
                                                       or name in leave_out)):
                continue
            path = os.path.join(top, name)
            yield os.path.relpath(path, folder).replace(os.sep, "/"), path


def pack(folder, out, leave_out=()):
    # mtime 0: the same files give the same archive
    with open(out, "wb") as raw, gzip.GzipFile(filename="", fileobj=raw, mode="wb", mtime=0) as packed:
        for name, path in game_files(folder, leave_out):
            with open(path, "rb") as f:
                contents = f.read()
            packed.write(f"{name}\n{len(contents)}\n".encode() + contents)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    pack(sys.argv[1], sys.argv[2])
