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
from palette import MEADOW

BANNER_W, BANNER_H = 500, 160
FONT_FILE = "LeckerliOne-Regular.ttf"
N = 256
SS = 4

# The texts of the banners; each look gives every banner its own colour loop of
# eight key colours (palette.py).
BANNERS = {
    "winner": "You win!",
    "loser": "You lose!",
    "draw": "Draw!",
    "suddendeath": "Sudden Death!",
}
PERIOD = 420.0  # pixels per colour loop along the diagonal


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


def banner(name, look=MEADOW):
    text, keys, period = BANNERS[name], look.banner_loops[name], PERIOD
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
