"""Draws one glyph sheet enlarged, with its cell grid, each glyph's advance
(a green bar) and, under each cell, its number and its character: a picture
for the theme author's guide.

usage: sheet_chart.py SHEET_PICTURE SHEET_NAME OUT_PNG
"""

import sys

import numpy as np
from PIL import Image, ImageDraw

from charset import CELL_H, CELL_W, SHEETS
from gfx import font, transparent

SCALE = 2
LABELS = 44  # rows under the cells for the cell number and the character
BACKDROP = (24, 28, 36)
GRID = (90, 100, 120)
ADVANCE = (120, 200, 120)  # the pen's advance: a bar under the glyph


def chart(sheet_path, name):
    sheet = Image.open(sheet_path)
    cells = SHEETS[name]
    glyphs = sheet.convert("RGB").resize((sheet.width * SCALE, sheet.height * SCALE),
                                         Image.NEAREST)
    # pixels equal to the top-left one (the key) show the backdrop
    mask = Image.fromarray(np.where(transparent(sheet), 0, 255).astype(np.uint8), "L")
    mask = mask.resize(glyphs.size, Image.NEAREST)
    cw, ch = CELL_W * SCALE, CELL_H * SCALE
    out = Image.new("RGB", (len(cells) * cw + 1, ch + LABELS), BACKDROP)
    out.paste(glyphs.crop((0, 0, len(cells) * cw, ch)), (0, 0),
              mask.crop((0, 0, len(cells) * cw, ch)))
    draw = ImageDraw.Draw(out)
    small, big = font("DejaVuSans-Bold.ttf", 13), font("DejaVuSans-Bold.ttf", 15)
    for k, (char, advance) in enumerate(cells):
        x = k * cw
        draw.rectangle([x, 0, x + cw, ch], outline=GRID)
        draw.rectangle([x + 1, ch + 2, x + advance * SCALE - 1, ch + 5], fill=ADVANCE)
        draw.text((x + cw // 2, ch + 18), str(k), font=small, fill=(230, 230, 230), anchor="mm")
        draw.text((x + cw // 2, ch + 35), char, font=big, fill=(255, 220, 140), anchor="mm")
    return out


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[2] not in SHEETS:
        raise SystemExit(__doc__)
    chart(sys.argv[1], sys.argv[2]).save(sys.argv[3], format="PNG", optimize=False,
                                         compress_level=9)
