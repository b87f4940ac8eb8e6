"""The four glyph sheets of the bitmap font.

Each glyph is drawn from DejaVu Sans Bold with a light fill and a dark
outline, centred in the first `advance` pixels of its 30 x 32 cell and never
wider than that, so neighbouring letters do not run into each other.
"""

import numpy as np
from PIL import Image, ImageDraw

from charset import CELL_H, CELL_W, SHEETS
from gfx import SS, downsample, font, quantise
from palette import MEADOW

FONT_FILE = "DejaVuSans-Bold.ttf"
CAP_HEIGHT = 18.5  # pixels from baseline to the top of a capital
BASELINE = 22  # row of the baseline inside a cell
STROKE = 2.0  # outline width in pixels
MAX_STRETCH = 1.3  # how much wider than the font's own shape a letter may be drawn

BACKDROP = (16, 12, 10)  # glyphs are blended against something dark


def _font_size():
    probe = font(FONT_FILE, 400)
    box = probe.getbbox("H", anchor="ls")
    return 400.0 * CAP_HEIGHT / (-box[1])


def _masks(ch, fnt):
    """Outer (fill + outline) and inner (fill) coverage of one glyph at SS x, in a
    generous box; returns (outer, inner, baseline row, ink left, ink right)."""
    stroke = int(round(STROKE * SS))
    w, h = CELL_W * 3 * SS, CELL_H * 2 * SS
    base = CELL_H * SS
    x0 = CELL_W * SS
    outer = Image.new("L", (w, h), 0)
    inner = Image.new("L", (w, h), 0)
    ImageDraw.Draw(outer).text((x0, base), ch, font=fnt, fill=255, anchor="ls",
                               stroke_width=stroke, stroke_fill=255)
    ImageDraw.Draw(inner).text((x0, base), ch, font=fnt, fill=255, anchor="ls")
    return np.asarray(outer, np.float64) / 255, np.asarray(inner, np.float64) / 255, base


def _bar(x0, x1, top, bottom):
    """Hyphen and underscore: a bar with no outline on its left end, so that a
    row of them (the menu's underlines) joins up into one unbroken line: each
    copy's bar covers the right end of the copy before it."""
    s = SS
    st = int(round(STROKE * s))
    outer = np.zeros((CELL_H * s, CELL_W * s))
    inner = np.zeros((CELL_H * s, CELL_W * s))
    inner[int(top * s):int(bottom * s), int(x0 * s):int(x1 * s)] = 1
    outer[int(top * s) - st:int(bottom * s) + st, int(x0 * s):int(x1 * s) + st] = 1
    return outer, inner


def render_cell(ch, adv, fnt):
    """Outer and inner coverage of one cell at SS x (CELL_H*SS rows, CELL_W*SS cols)."""
    s = SS
    if ch == "_":
        return _bar(0, 22, 25.5, 28.0)
    if ch == "-":
        return _bar(3, 15, 13.5, 16.5)
    outer, inner, base = _masks(ch, fnt)
    cols = np.nonzero(outer.max(axis=0) > 0.02)[0]
    rows = np.nonzero(outer.max(axis=1) > 0.02)[0]
    left, right = cols[0], cols[-1] + 1
    top, bottom = rows[0], rows[-1] + 1
    outer = outer[:, left:right]
    inner = inner[:, left:right]
    ink_w = right - left
    limit = (adv - 1) * s
    target = ink_w
    if ch.isalnum():
        # letters and digits fill their advance, leaving a small gap
        target = min(max(ink_w, (adv - 2.5) * s), ink_w * MAX_STRETCH)
    target = int(min(target, limit))
    if target != ink_w:
        new_w = target
        outer = _resize(outer, new_w, outer.shape[0])
        inner = _resize(inner, new_w, inner.shape[0])
        ink_w = new_w
    # vertical placement: baseline at BASELINE; squash anything that would leave the cell
    cell_base = BASELINE * s
    above = base - top  # rows above the baseline
    below = bottom - base
    room_above = cell_base
    room_below = CELL_H * s - cell_base
    sy_up = min(1.0, room_above / above) if above > 0 else 1.0
    sy_down = min(1.0, room_below / below) if below > 0 else 1.0
    up_o, up_i = outer[top:base], inner[top:base]
    dn_o, dn_i = outer[base:bottom], inner[base:bottom]
    if sy_up < 1.0:
        nh = int(np.floor(above * sy_up))
        up_o, up_i = _resize(up_o, ink_w, nh), _resize(up_i, ink_w, nh)
    if sy_down < 1.0:
        nh = int(np.floor(below * sy_down))
        dn_o, dn_i = _resize(dn_o, ink_w, nh), _resize(dn_i, ink_w, nh)
    cell_o = np.zeros((CELL_H * s, CELL_W * s))
    cell_i = np.zeros((CELL_H * s, CELL_W * s))
    x = max(0, int(round((adv * s - ink_w) / 2.0)))
    cell_o[cell_base - up_o.shape[0]:cell_base, x:x + ink_w] = up_o
    cell_i[cell_base - up_i.shape[0]:cell_base, x:x + ink_w] = up_i
    cell_o[cell_base:cell_base + dn_o.shape[0], x:x + ink_w] = dn_o
    cell_i[cell_base:cell_base + dn_i.shape[0], x:x + ink_w] = dn_i
    return cell_o, cell_i


def _resize(a, w, h):
    if a.size == 0 or w <= 0 or h <= 0:
        return np.zeros((max(h, 0), max(w, 0)))
    im = Image.fromarray(a.astype(np.float32), "F")
    return np.asarray(im.resize((int(w), int(h)), Image.BILINEAR), np.float64)


def _colour(outer, inner, look):
    """Float RGBA of a glyph from its coverage masks, in the look's colours."""
    fill_top, fill_bottom = look.glyph_fill
    h, w = outer.shape
    t = np.clip((np.arange(h) / SS - (BASELINE - CAP_HEIGHT)) / CAP_HEIGHT, 0, 1)
    fill = np.array(fill_top)[None, :] + (np.array(fill_bottom) - np.array(fill_top))[None, :] \
        * t[:, None]
    fill = np.repeat(fill[:, None, :], w, axis=1) / 255.0
    ink = np.array(look.glyph_outline) / 255.0
    a = inner[..., None]
    rgb = fill * a + ink * (1 - a)
    return np.concatenate([rgb, outer[..., None]], axis=-1)


def sheet(name, look=MEADOW):
    """(indices, palette) of one glyph sheet."""
    fnt = font(FONT_FILE, _font_size() * SS)
    cells = SHEETS[name]
    s = SS
    big = np.zeros((CELL_H * s, CELL_W * s * len(cells), 4))
    for k, (ch, adv) in enumerate(cells):
        if ch == "\\":
            adv = 20  # the at sign shares this cell; draw the narrower backslash
        o, i = render_cell(ch, adv, fnt)
        big[:, k * CELL_W * s:(k + 1) * CELL_W * s] = _colour(o, i, look)
    small = downsample(big, s)
    alpha = small[..., 3]
    visible = alpha >= 0.35
    bd = np.array(BACKDROP) / 255.0
    rgb = small[..., :3] * alpha[..., None] + bd * (1 - alpha[..., None])
    rgb8 = np.clip(rgb * 255 + 0.5, 0, 255).astype(np.uint8)
    return quantise(rgb8, visible)
