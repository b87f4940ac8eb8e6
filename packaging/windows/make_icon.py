#!/usr/bin/env python3
"""Packs the game's icon PNGs into one Windows .ico, each picture as a PNG entry.

usage: make_icon.py OUT.ico PICTURE.png...

Windows (Vista on) reads PNG entries as they are, so the theme generator's pictures go
in unchanged and Windows scales the nearest one for the smaller views. Only the standard
library is needed: nothing is decoded, only the PNG header is read for the size.
"""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
# IHDR colour type 6: RGBA. Windows takes a PNG entry only as 32-bit RGBA.
RGBA = 6


def png_size(data, path):
    """Width and height of an 8-bit RGBA PNG; SystemExit for anything else."""
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        sys.exit(f"{path}: not a PNG file")
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    if depth != 8 or colour != RGBA:
        sys.exit(f"{path}: an icon entry must be 8-bit RGBA, not depth {depth} type {colour}")
    if width != height or not 1 <= width <= 256:
        sys.exit(f"{path}: an icon entry must be square and at most 256 pixels, not {width}x{height}")
    return width, height


def icon_file(pictures):
    """The .ico bytes for (width, height, png bytes) entries, smallest first."""
    pictures = sorted(pictures)
    header = struct.pack("<HHH", 0, 1, len(pictures))
    offset = len(header) + 16 * len(pictures)
    entries, images = b"", b""
    for width, height, data in pictures:
        # 256 is written as 0: the field is one byte.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset)
        images += data
        offset += len(data)
    return header + entries + images


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__.strip().splitlines()[2])
    pictures, sizes = [], set()
    for path in argv[2:]:
        with open(path, "rb") as f:
            data = f.read()
        width, height = png_size(data, path)
        if width in sizes:
            sys.exit(f"{path}: a second {width}-pixel picture")
        sizes.add(width)
        pictures.append((width, height, data))
    with open(argv[1], "wb") as f:
        f.write(icon_file(pictures))


if __name__ == "__main__":
    main(sys.argv)
