"""Writes every picture of the meadow theme and the desktop icon.

usage: make_pictures.py THEME_DIR ICON_PATH
"""

import os
import sys

import numpy as np

import banners
import glyphs
import scenery
import sprites
from gfx import save_argb_bmp, save_indexed, save_keyed, save_rgba, save_xrgb_bmp
from palette import FIELD_GREEN, STRIP_GREEN


def main(theme_dir, icon_path):
    os.makedirs(theme_dir, exist_ok=True)

    def out(name):
        return os.path.join(theme_dir, name)

    # The plain pictures are copied to the screen as they are, so they are stored as it is;
    # these and the explosion strip load without decoding.
    save_xrgb_bmp(out("background.bmp"), scenery.meadow())
    save_xrgb_bmp(out("splashscreen.bmp"), scenery.splashscreen())
    save_xrgb_bmp(out("border.bmp"), scenery.border())
    save_argb_bmp(out("explosion.bmp"), scenery.explosion())

    save_keyed(out("cannon1.png"), sprites.cannon(1), FIELD_GREEN)
    save_keyed(out("cannon2.png"), sprites.cannon(2), FIELD_GREEN)
    save_keyed(out("shield1.png"), sprites.shield(1), FIELD_GREEN)
    save_keyed(out("shield2.png"), sprites.shield(2), FIELD_GREEN)
    save_keyed(out("shot.png"), sprites.shot(), FIELD_GREEN)
    save_keyed(out("blood.png"), sprites.blood(), FIELD_GREEN)
    for black, tag in ((False, "w"), (True, "b")):
        save_keyed(out("sheepl%s.png" % tag), sprites.sheep(black, False), STRIP_GREEN)
        save_keyed(out("sheepr%s.png" % tag), sprites.sheep(black, True), STRIP_GREEN)

    for name in banners.BANNERS:
        idx, pal = banners.banner(name)
        save_indexed(out(name + ".png"), idx, pal)

    sheet_files = (("abcbig", "abcbig.png"), ("abcsmall", "abcsmall.png"),
                   ("specialchar", "symbols.png"), ("numbers", "numbers.png"))
    for name, file_name in sheet_files:
        idx, pal = glyphs.sheet(name)
        if idx[0, 0] != 0:
            raise SystemExit("%s: top-left pixel is not transparent" % name)
        save_indexed(out(file_name), idx, pal)

    save_rgba(icon_path, scenery.icon())


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    np.seterr(all="ignore")
    main(sys.argv[1], sys.argv[2])
