"""Writes every picture of one theme, in the colours of its look, and the
desktop icon.

usage: make_pictures.py LOOK THEME_DIR [ICON_PATH]   (LOOK: meadow or night)
"""

import os
import sys

import numpy as np

import banners
import glyphs
import scenery
import splash
import sprites
from gfx import save_argb_bmp, save_indexed, save_keyed, save_rgba, save_xrgb_bmp
from palette import LOOKS


def main(look, theme_dir, icon_path):
    os.makedirs(theme_dir, exist_ok=True)

    def out(name):
        return os.path.join(theme_dir, name)

    # Every picture but the result banners and the glyph sheets is stored as the screen lays
    # out its pixels, so it loads without decoding and is drawn without converting a pixel:
    # the plain ones are copied, the keyed sprites run-length encoded against the screen,
    # the explosion strip blended. The banners stay 8-bit, since the game rotates their
    # palette.
    save_xrgb_bmp(out("background.bmp"), scenery.meadow(look))
    save_xrgb_bmp(out("splashscreen.bmp"), splash.splashscreen(look))
    save_xrgb_bmp(out("border.bmp"), scenery.border(look))
    save_argb_bmp(out("explosion.bmp"), scenery.explosion(look))

    save_keyed(out("cannon1.bmp"), sprites.cannon(1, look), look.field)
    save_keyed(out("cannon2.bmp"), sprites.cannon(2, look), look.field)
    save_keyed(out("shield1.bmp"), sprites.shield(1, look), look.field)
    save_keyed(out("shield2.bmp"), sprites.shield(2, look), look.field)
    save_keyed(out("shot.bmp"), sprites.shot(look), look.field)
    save_keyed(out("blood.bmp"), sprites.blood(look), look.field)
    for black, tag in ((False, "w"), (True, "b")):
        save_keyed(out("sheepl%s.bmp" % tag), sprites.sheep(black, False, look), look.strip)
        save_keyed(out("sheepr%s.bmp" % tag), sprites.sheep(black, True, look), look.strip)

    for name in banners.BANNERS:
        idx, pal = banners.banner(name, look)
        save_indexed(out(name + ".png"), idx, pal)

    # The glyph sheets stay 8-bit too: the game blits them one cell at a time, and SDL's
    # run-length encoded blit of a piece walks every run of each row from the sheet's left
    # edge, which made text four times slower than the 8-bit blit.
    sheet_files = (("abcbig", "abcbig.png"), ("abcsmall", "abcsmall.png"),
                   ("specialchar", "symbols.png"), ("numbers", "numbers.png"))
    for name, file_name in sheet_files:
        idx, pal = glyphs.sheet(name, look)
        if idx[0, 0] != 0:
            raise SystemExit("%s: top-left pixel is not transparent" % name)
        save_indexed(out(file_name), idx, pal)

    # ICON_PATH holds the 64-pixel icon; the larger ones sit beside it with
    # their size in the name (meadowgunner-128.png).
    if icon_path:
        stem, ext = os.path.splitext(icon_path)
        for size in splash.ICON_SIZES:
            path = icon_path if size == 64 else "%s-%d%s" % (stem, size, ext)
            save_rgba(path, splash.icon(size))


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4) or sys.argv[1] not in LOOKS:
        raise SystemExit(__doc__)
    np.seterr(all="ignore")
    main(LOOKS[sys.argv[1]], sys.argv[2], sys.argv[3] if len(sys.argv) == 4 else None)
