"""Writes every picture of the meadow theme and the desktop icon in three sizes.

usage: make_pictures.py THEME_DIR ICON_PATH
"""

import os
import sys

import numpy as np

import banners
import glyphs
import scenery
import sprites
from gfx import save_indexed, save_keyed, save_rgb, save_rgba
from palette import FIELD_GREEN, STRIP_GREEN


def main(theme_dir, icon_path):
    os.makedirs(theme_dir, exist_ok=True)

    def out(name):
        return os.path.join(theme_dir, name)

    save_rgb(out("background.png"), scenery.meadow())
    save_rgb(out("splashscreen.png"), scenery.splashscreen())
    save_rgb(out("border.png"), scenery.border())
    save_rgba(out("explosion.png"), scenery.explosion())

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

    # ICON_PATH holds the 64-pixel icon; the larger ones sit beside it with
    # their size in the name (meadowgunner-128.png).
    stem, ext = os.path.splitext(icon_path)
    for size in scenery.ICON_SIZES:
        path = icon_path if size == 64 else "%s-%d%s" % (stem, size, ext)
        save_rgba(path, scenery.icon(size))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    np.seterr(all="ignore")
    main(sys.argv[1], sys.argv[2])
