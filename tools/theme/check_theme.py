"""Checks the generated data folder against what the game's loader expects.

usage: check_theme.py DATA_DIR

Reads every theme file that config.ini offers (theme0=, theme1=, ...), then
looks at the raw PNG chunks, BMP headers and pixels and WAV headers of every
file each one names.  Exits non-zero with a list of problems.
"""

import os
import struct
import sys
import wave
import zlib

# Keyed sprites in the screen's layout; the result banners and glyph sheets are keyed 8-bit
# palette PNGs.
KEYED = ["cannon1", "cannon2", "shield1", "shield2", "shot", "blood", "sheeplw", "sheeprw",
         "sheeplb", "sheeprb"]
PALETTED = ["winner", "loser", "draw", "suddendeath", "abcbig", "abcsmall", "specialchar",
           "numbers"]
PLAIN = ["background", "splashscreen", "border"]
SOUNDS = ["sheepsound1", "sheepsound2", "sheepsound3", "shotsound", "explodesound"]
SCREEN_MASKS = (0x00FF0000, 0x0000FF00, 0x000000FF, 0)  # a 32-bit X11 screen's layout
SHEET_CELLS = {"abcbig": 26, "abcsmall": 26, "specialchar": 28, "numbers": 20}


def read_keys(path):
    keys = {}
    with open(path, "rb") as fh:
        for raw in fh:
            line = raw.decode("latin-1").rstrip("\r\n")
            if line and line[0] not in ";[ " and "=" in line:
                k, v = line.split("=", 1)
                keys[k] = v
    return keys


def png_chunks(path):
    with open(path, "rb") as fh:
        data = fh.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, chunks = 8, []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8].decode("ascii")
        chunks.append((kind, data[pos + 8:pos + 8 + length]))
        pos += 12 + length
    return chunks


def png_info(path):
    chunks = png_chunks(path)
    ihdr = dict(chunks)["IHDR"]
    w, h, depth, ctype, _c, _f, interlace = struct.unpack(">IIBBBBB", ihdr)
    kinds = [k for k, _ in chunks]
    first_byte = None
    if ctype == 3 and depth == 8 and interlace == 0:
        raw = zlib.decompress(b"".join(d for k, d in chunks if k == "IDAT"))
        first_byte = raw[1]  # raw[0] is the filter type of row 0
        if raw[0] not in (0, 1, 2, 3, 4):
            raise ValueError("bad filter byte")
    plte = dict(chunks).get("PLTE", b"")
    return {"w": w, "h": h, "depth": depth, "ctype": ctype, "kinds": kinds,
            "first": first_byte, "colours": len(plte) // 3}


def offered_themes(data_dir):
    """The theme files config.ini offers, in the order of their digits."""
    with open(os.path.join(data_dir, "config.ini"), "rb") as fh:
        lines = [raw.decode("latin-1").rstrip("\r\n") for raw in fh]
    offered = sorted(line[5:] for line in lines
                     if line.startswith("theme") and line[5:6].isdigit() and line[6:7] == "=")
    return [entry[2:] for entry in offered]


def bmp_info(path):
    with open(path, "rb") as fh:
        data = fh.read()
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError("not a BMP file")
    (offset,) = struct.unpack("<I", data[10:14])
    size, w, h, _planes, bits, compression = struct.unpack("<IiiHHI", data[14:34])
    masks = struct.unpack("<4I", data[54:70]) if compression == 3 and size >= 108 else None
    info = {"w": w, "h": abs(h), "bits": bits, "masks": masks, "kinds": []}
    if bits == 32:
        pixels = data[offset:offset + 4 * w * abs(h)]
        top_row = pixels[4 * w * (h - 1):] if h > 0 else pixels  # rows bottom-up unless h < 0
        info["top_left"] = top_row[:4]
        info["fourth_bytes_zero"] = not any(pixels[3::4])
    return info


def picture_info(path):
    return bmp_info(path) if path.lower().endswith(".bmp") else png_info(path)


def main(data_dir):
    problems = []
    for theme_file in offered_themes(data_dir):
        problems += ["%s: %s" % (theme_file, p) for p in check_theme(data_dir, theme_file)]
    return problems


def check_theme(data_dir, theme_file):
    problems = []
    theme = read_keys(os.path.join(data_dir, theme_file))
    prefix = theme.get("themepath", "")
    paths = {k: os.path.join(data_dir, prefix + v) for k, v in theme.items() if k != "themepath"}
    for key in KEYED + PALETTED + PLAIN + ["explosion"] + SOUNDS:
        if key not in paths or not os.path.isfile(paths[key]):
            problems.append("%s: file missing" % key)
    if problems:
        return problems
    infos = {}
    for key in KEYED + PALETTED + PLAIN + ["explosion"]:
        info = picture_info(paths[key])
        infos[key] = info
        for bad in ("tIME", "tEXt", "zTXt", "iTXt"):
            if bad in info["kinds"]:
                problems.append("%s: has a %s chunk" % (key, bad))
    # The key is the first byte of the pixel data, compared with whole pixels: transparent
    # pixels, the top-left one first, hold 0 in all four bytes, and so does the unused byte.
    for key in KEYED:
        i = infos[key]
        if i.get("masks") != SCREEN_MASKS or i["bits"] != 32:
            problems.append("%s: should be a 32-bit BMP laid out as the screen" % key)
        elif i["top_left"] != bytes(4) or not i["fourth_bytes_zero"]:
            problems.append("%s: top-left pixel or a fourth byte is not 0" % key)
    for key in PALETTED:
        i = infos[key]
        if i.get("ctype") != 3 or i.get("depth") != 8:
            problems.append("%s: not an 8-bit palette picture" % key)
        if "tRNS" in i["kinds"]:
            problems.append("%s: has a tRNS chunk" % key)
        if i.get("first") != 0:
            problems.append("%s: top-left pixel is not palette index 0" % key)
    for key in PLAIN:
        i = infos[key]
        if "masks" in i:
            if i["bits"] != 32 or i["masks"] != SCREEN_MASKS:
                problems.append("%s: should be a 32-bit BMP laid out as the screen" % key)
        elif i["ctype"] not in (2, 3) or "tRNS" in i["kinds"]:
            problems.append("%s: should be a plain picture without transparency" % key)
    ex = infos["explosion"]
    if "masks" in ex:
        with_alpha = ex["bits"] == 32 and ex["masks"] == SCREEN_MASKS[:3] + (0xFF000000,)
    else:
        with_alpha = ex["ctype"] == 6
    if not with_alpha or ex["w"] != 20 * ex["h"]:
        problems.append("explosion: should be a 32-bit RGBA strip of 20 square frames")
    for key in ("background", "splashscreen"):
        if (infos[key]["w"], infos[key]["h"]) != (800, 600):
            problems.append("%s: should be 800 x 600" % key)
    for key, limit in (("cannon1", 74), ("cannon2", 74), ("shield1", 52), ("shield2", 52),
                       ("sheeplw", 79), ("sheeprw", 79), ("sheeplb", 79), ("sheeprb", 79)):
        if infos[key]["h"] > limit:
            problems.append("%s: taller than %d pixels" % (key, limit))
    for key, cells in SHEET_CELLS.items():
        if infos[key]["h"] != 32 or infos[key]["w"] < 30 * cells:
            problems.append("%s: should be %d cells of 30 x 32" % (key, cells))
    for key in SOUNDS:
        with wave.open(paths[key], "rb") as w:
            if w.getnchannels() != 1 or w.getframerate() != 11025 or w.getsampwidth() not in (1, 2):
                problems.append("%s: should be mono 11025 Hz 8- or 16-bit" % key)
            frames = w.readframes(w.getnframes())
            if w.getsampwidth() == 2:
                peak = max(abs(v) for (v,) in struct.iter_unpack("<h", frames))
                if peak >= 32767:
                    problems.append("%s: clips" % key)
    return problems


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    found = main(sys.argv[1])
    for p in found:
        print("check_theme: " + p, file=sys.stderr)
    sys.exit(1 if found else 0)
