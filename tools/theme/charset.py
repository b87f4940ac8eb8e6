"""The game's bitmap font: which character sits in which cell of which sheet,
and how far the pen moves after it.  Texts are Latin-1."""

CELL_W, CELL_H = 30, 32

SHEETS = {
    "abcbig": list(zip("ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                       [25, 25, 25, 25, 25, 25, 25, 25, 10, 20, 25, 25, 30,
                        25, 25, 20, 25, 25, 20, 20, 25, 25, 30, 25, 25, 25])),
    "abcsmall": list(zip("abcdefghijklmnopqrstuvwxyz",
                         [20, 20, 20, 20, 20, 15, 20, 20, 10, 15, 20, 10, 25,
                          20, 20, 20, 20, 15, 20, 15, 20, 20, 25, 20, 20, 20])),
    # cell 26 is shared by the backslash (advance 20) and the at sign (30)
    "specialchar": list(zip("\u00e4\u00c4\u00f6\u00d6\u00fc\u00dc\u00df?+*#'-_.:,;<>\u00b2\u00b3{[]}\\~",
                            [20] * 22 + [15, 15, 15, 15, 20, 20])),
    "numbers": list(zip("1234567890!\"\u00a7$%&/()=",
                        [15, 20, 20, 20, 20, 20, 20, 20, 20, 20,
                         15, 15, 20, 20, 30, 25, 20, 15, 15, 20])),
}

BLANK_MEASURE = 14  # a blank or "|" while wrapping
BLANK_ADVANCE = 15  # a blank while drawing
LINE_STEP = 27


def glyph_table():
    """Character -> (sheet name, cell, advance)."""
    table = {}
    for sheet, cells in SHEETS.items():
        for cell, (ch, adv) in enumerate(cells):
            table[ch] = (sheet, cell, adv)
    table["@"] = ("specialchar", 26, 30)
    return table


GLYPHS = glyph_table()

DRAWABLE = set(GLYPHS) | {" "}


def width(text):
    """Drawn width in pixels of a one-line text."""
    return sum(GLYPHS[c][2] if c in GLYPHS else BLANK_ADVANCE for c in text)
