"""The four result banners ("You win!", "You lose!", "Draw!", "Sudden Death!").

The game rotates a banner's palette by one entry per frame.  Every palette
entry therefore takes every colour of the palette in turn, so no part of the
picture can keep a fixed colour.  The palette is one smooth colour loop of
256 entries (entry 0 included, because its colour travels through the other
entries too); the lettering uses entries 1..255 laid out as a diagonal
gradient, so the rotation makes the colours flow across the letters.  The
outline uses the entry half a loop away from the fill beside it: at every
moment fill and outline show colours from opposite sides of the loop, which
keeps the letters readable on the meadow.  Index 0 is the transparent key
and no visible pixel uses it.
"""

import numpy as np
from PIL import Image, ImageDraw

from gfx import font

BANNER_W, BANNER_H = 500, 160
FONT_FILE = "LeckerliOne-Regular.ttf"
N = 256
SS = 4

# Each colour loop is given by eight key colours, evenly spaced; a colour and
# the one four keys further on are a light/dark or warm/cool pair, because
# they end up side by side as fill and outline.
BANNERS = {
    # name: (text, key colours, pixels per colour loop along the diagonal)
    "winner": ("You win!", [
        (255, 250, 214), (255, 204, 52), (246, 120, 30), (200, 36, 56),
        (74, 22, 96), (28, 52, 150), (40, 170, 222), (170, 236, 236)], 420.0),
    "loser": ("You lose!", [
        (232, 236, 255), (176, 176, 244), (128, 86, 206), (84, 36, 128),
        (22, 26, 72), (36, 84, 140), (64, 166, 178), (156, 218, 232)], 420.0),
    "draw": ("Draw!", [
        (255, 244, 226), (255, 200, 150), (240, 130, 100), (150, 70, 60),
        (40, 44, 70), (70, 92, 160), (110, 170, 230), (200, 226, 252)], 420.0),
    "suddendeath": ("Sudden Death!", [
        (255, 252, 210), (255, 222, 60), (255, 140, 20), (222, 40, 24),
        (112, 10, 20), (44, 6, 16), (70, 20, 80), (255, 196, 170)], 420.0),
}


def loop_palette(keys):
    """N colours running smoothly once round the loop of key colours."""
    k = len(keys)
    pal = []
    for j in range(N):
        pos = j * k / float(N)
        i = int(pos)
        f = pos - i
        f = f * f * (3 - 2 * f)
        c0, c1 = keys[i % k], keys[(i + 1) % k]
        pal.append(tuple(int(round(a + (b - a) * f)) for a, b in zip(c0, c1)))
    return pal


def _masks(text, stroke, shadow):
    """Fill and outline coverage of the text, fitted into the banner."""
    margin = 6 + stroke
    fnt_probe = font(FONT_FILE, 100)
    bb = fnt_probe.getbbox(text, stroke_width=stroke)
    scale = min((BANNER_W - 2 * margin - shadow) / (bb[2] - bb[0]),
                (BANNER_H - 2 * margin - shadow) / (bb[3] - bb[1]))
    size = 100 * scale
    fnt = font(FONT_FILE, size * SS)
    d_box = fnt.getbbox(text, stroke_width=stroke * SS)
    tw, th = d_box[2] - d_box[0], d_box[3] - d_box[1]
    x = (BANNER_W * SS - tw - shadow * SS) // 2 - d_box[0]
    y = (BANNER_H * SS - th - shadow * SS) // 2 - d_box[1]
    big = (BANNER_W * SS, BANNER_H * SS)
    fill = Image.new("L", big, 0)
    outer = Image.new("L", big, 0)
    ImageDraw.Draw(fill).text((x, y), text, font=fnt, fill=255)
    ImageDraw.Draw(outer).text((x, y), text, font=fnt, fill=255, stroke_width=stroke * SS,
                               stroke_fill=255)
    ImageDraw.Draw(outer).text((x + shadow * SS, y + shadow * SS), text, font=fnt, fill=255,
                               stroke_width=stroke * SS, stroke_fill=255)
    f = np.asarray(fill.reduce(SS), float) / 255
    o = np.asarray(outer.reduce(SS), float) / 255
    return f, o


def banner(name):
    text, keys, period = BANNERS[name]
    f, o = _masks(text, stroke=6, shadow=4)
    yy, xx = np.mgrid[0:BANNER_H, 0:BANNER_W]
    u = (xx + 0.55 * yy) * (N - 1) / period
    fill_idx = 1 + (np.floor(u).astype(int) % (N - 1))
    outline_idx = 1 + ((fill_idx - 1 + N // 2) % (N - 1))
    idx = np.zeros((BANNER_H, BANNER_W), np.uint8)
    edge = o >= 0.5
    idx[edge] = outline_idx[edge]
    inner = f >= 0.5
    idx[inner] = fill_idx[inner]
    if idx[0, 0] != 0 or (idx[edge | inner] == 0).any():
        raise SystemExit("banner %s: key index misplaced" % name)
    return idx, loop_palette(keys)
