"""Composes mock screens from a generated theme, the way the game draws them,
so the pictures can be judged together without running the game.

usage: preview.py DATA_DIR OUT_DIR [THEME_FILE]   (THEME_FILE: default.ini if not given)

Writes OUT_DIR/match.png (a match in progress with a result banner),
OUT_DIR/menu.png (the main menu) and OUT_DIR/banners.png (each banner at a
few steps of its palette rotation, over the meadow).
"""

import os
import sys

import numpy as np
from PIL import Image

from charset import BLANK_ADVANCE, GLYPHS, LINE_STEP, BLANK_MEASURE
from gfx import transparent


def read_keys(path, encoding="latin-1"):
    keys = {}
    with open(path, "rb") as fh:
        for raw in fh:
            line = raw.decode(encoding).rstrip("\r\n")
            if not line or line[0] in ";[ " or "=" not in line:
                continue
            k, v = line.split("=", 1)
            keys[k] = v
    return keys


class Theme:
    def __init__(self, data_dir, theme_file):
        self.dir = data_dir
        t = read_keys(os.path.join(data_dir, theme_file))
        self.paths = {k: os.path.join(data_dir, t["themepath"] + v)
                      for k, v in t.items() if k != "themepath"}
        self.cache = {}

    def img(self, key):
        if key not in self.cache:
            self.cache[key] = Image.open(self.paths[key])
            self.cache[key].load()
        return self.cache[key]


class Screen:
    def __init__(self, base):
        self.rgb = np.array(base.convert("RGB"), dtype=np.uint8)

    def blit_keyed(self, im, x, y, src=None, palette=None):
        """Pixels equal to the top-left one are transparent; an 8-bit picture shows its
        palette (or the one given), any other its own colours."""
        pixels = np.asarray(im)
        opaque = ~transparent(im)
        if src is not None:
            sx, sy, sw, sh = src
            pixels, opaque = pixels[sy:sy + sh, sx:sx + sw], opaque[sy:sy + sh, sx:sx + sw]
        if pixels.ndim == 2:
            pal = np.array(palette if palette is not None else im.getpalette()[:768],
                           np.uint8).reshape(-1, 3)
            pixels = pal[pixels]
        self._paste(pixels[..., :3], opaque, x, y)

    def blit_alpha(self, im, x, y, src=None):
        a = np.asarray(im.convert("RGBA"), dtype=np.float64)
        if src is not None:
            sx, sy, sw, sh = src
            a = a[sy:sy + sh, sx:sx + sw]
        h, w = a.shape[:2]
        x0, y0, x1, y1 = max(x, 0), max(y, 0), min(x + w, self.rgb.shape[1]), \
            min(y + h, self.rgb.shape[0])
        if x0 >= x1 or y0 >= y1:
            return
        part = a[y0 - y:y1 - y, x0 - x:x1 - x]
        dst = self.rgb[y0:y1, x0:x1].astype(np.float64)
        al = part[..., 3:4] / 255
        self.rgb[y0:y1, x0:x1] = np.clip(part[..., :3] * al + dst * (1 - al) + 0.5, 0, 255)

    def blit_plain(self, im, x, y, src=None):
        a = np.asarray(im.convert("RGB"))
        if src is not None:
            sx, sy, sw, sh = src
            a = a[sy:sy + sh, sx:sx + sw]
        self._paste(a, np.ones(a.shape[:2], bool), x, y)

    def _paste(self, rgb, mask, x, y):
        h, w = mask.shape
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.rgb.shape[1]), min(y + h, self.rgb.shape[0])
        if x0 >= x1 or y0 >= y1:
            return
        m = mask[y0 - y:y1 - y, x0 - x:x1 - x]
        self.rgb[y0:y1, x0:x1][m] = rgb[y0 - y:y1 - y, x0 - x:x1 - x][m]

    def text(self, theme, text, x, y, wrap=800):
        # measure and wrap the way the game does
        chars = list(text)
        widths, run = [], 0
        for i, c in enumerate(chars):
            if run > wrap and i >= 2 and widths[i - 2] == BLANK_MEASURE:
                chars[i - 2] = "|"
                run = 0
            wdt = GLYPHS[c][2] if c in GLYPHS else BLANK_MEASURE
            widths.append(wdt)
            run += wdt
        px, py = x, y
        for c in chars:
            if c == "|":
                px, py = x, py + LINE_STEP
            elif c in GLYPHS:
                sheet, cell, adv = GLYPHS[c]
                self.blit_keyed(theme.img(sheet), px, py, src=(cell * 30, 0, 30, 32))
                px += adv
            else:
                px += BLANK_ADVANCE

    def bar(self, theme, x, y, w):
        b = theme.img("border")
        half = w // 2
        self.blit_plain(b, x, y, src=(0, 0, half, b.height))
        self.blit_plain(b, x + half, y, src=(b.width - (w - half), 0, w - half, b.height))

    def save(self, path):
        Image.fromarray(self.rgb).save(path)


def rotated(palette, step):
    n = len(palette)
    out = [None] * n
    for i in range(n):
        out[(step + i) % n] = palette[i]
    return out


def match(theme, out, banner="winner", step=40):
    W, H = 800, 600
    scr = Screen(theme.img("background"))
    rng = np.random.default_rng(3)
    sheep = [theme.img(k) for k in ("sheeplw", "sheeplb", "sheeprw", "sheeprb")]
    shot, blood, explo = theme.img("shot"), theme.img("blood"), theme.img("explosion")
    scr.blit_keyed(blood, 240, 540)
    for herd in (0, 1):
        for j in range(12):
            im = sheep[int(rng.integers(0, 4))]
            x = int(rng.integers(0, W - im.width))
            ry = int(rng.integers(0, 80 - im.height))
            y = (H - im.height) - ry if herd == 0 else ry
            scr.blit_keyed(im, x, y)
    c1, c2 = theme.img("cannon1"), theme.img("cannon2")
    s1, s2 = theme.img("shield1"), theme.img("shield2")
    scr.blit_keyed(c1, W // 2 - c1.width // 2 - 90, H - 210)
    scr.blit_keyed(s1, W // 2 - s1.width // 2, H - 135)
    scr.blit_keyed(c2, W // 2 - c1.width // 2 + 50, 207 - c2.height)
    scr.blit_keyed(s2, W // 2 - s1.width // 2 - 130, 133 - s2.height)
    for sx, sy in ((W // 2 - 94, 330), (W // 2 - 94, 250), (W // 2 + 76, 300)):
        scr.blit_keyed(shot, sx, sy)
    fw = explo.width // 20
    scr.blit_alpha(explo, W // 2 - 50, 90, src=(fw * 5, 0, fw, explo.height))
    scr.blit_alpha(explo, W // 2 + 90, 440, src=(fw * 12, 0, fw, explo.height))
    if banner:
        b = theme.img(banner)
        pal = [tuple(b.getpalette()[i:i + 3]) for i in range(0, 768, 3)]
        scr.blit_keyed(b, (W - b.width) // 2, (H - b.height) // 2,
                       palette=[v for c in rotated(pal, step) for v in c])
        if banner != "suddendeath":
            scr.blit_plain(theme.img("border"), W // 2 - 180, H - 180)
            scr.text(theme, "Press ESC to continue.", W // 2 - 170, H - 170, 500)
    scr.text(theme, "Player 2: 12 Sheep", 20, 220, 500)
    scr.text(theme, "Player 1: 12 Sheep", 20, 345, 500)
    scr.text(theme, "33.33 fps", W - 170, 345, 500)
    scr.save(out)


def menu(theme, lang, out):
    scr = Screen(Image.new("RGB", (800, 600), (0, 0, 0)))
    scr.blit_plain(theme.img("border"), 220, 263)
    scr.text(theme, lang["Meadowgunner"], 225, 70)
    scr.text(theme, "_" * 13, 225, 80)
    for i, key in enumerate(("StartGame", "Demo", "NetGameS", "NetGameC", "Options", "Help",
                             "Story", "Credits", "Quit")):
        scr.text(theme, lang[key], 225, 150 + 40 * i)
    scr.save(out)


def subscreen(theme, lang, lines, out, x, y0, step, heading=None, underline=False):
    scr = Screen(Image.new("RGB", (800, 600), (0, 0, 0)))
    if heading:
        scr.text(theme, heading, 225, 30)
    if underline:
        for k in range(18):
            scr.text(theme, "-", 225 + 7 * k, 45)
    for i, line in enumerate(lines[:12]):
        scr.text(theme, line, x, y0 + step * i, 800 - (40 if step == 35 else 0))
    b = theme.img("border")
    by = 600 - b.height - 20
    scr.bar(theme, 20, by, 175)
    d = (b.height - 32) // 2
    scr.text(theme, lang["BackMenu"], 20 + d, by + d, 175)
    scr.save(out)


def banners(theme, out):
    rows = []
    for name in ("winner", "loser", "draw", "suddendeath"):
        b = theme.img(name)
        pal = [tuple(b.getpalette()[i:i + 3]) for i in range(0, 768, 3)]
        row = []
        for step in (1, 64, 128, 192):
            bg = Screen(theme.img("background").crop((150, 220, 650, 380)))
            bg.blit_keyed(b, 0, 0, palette=[v for c in rotated(pal, step) for v in c])
            row.append(bg.rgb)
        rows.append(np.concatenate(row, axis=1))
    Image.fromarray(np.concatenate(rows, axis=0)).save(out)


def main(data_dir, out_dir, theme_file):
    os.makedirs(out_dir, exist_ok=True)
    theme = Theme(data_dir, theme_file)
    match(theme, os.path.join(out_dir, "match.png"))
    match(theme, os.path.join(out_dir, "match_sudden.png"), banner="suddendeath", step=100)
    banners(theme, os.path.join(out_dir, "banners.png"))
    cfg = read_keys(os.path.join(data_dir, "config.ini"))
    for n in ("0", "1"):
        lang = read_keys(os.path.join(data_dir, cfg["language" + n]))
        menu(theme, lang, os.path.join(out_dir, "menu%s.png" % n))
        with open(os.path.join(data_dir, cfg["helpfile" + n]), encoding="latin-1") as fh:
            help_lines = [ln.rstrip("\n") for ln in fh]
        subscreen(theme, lang, help_lines, os.path.join(out_dir, "help%s.png" % n), 40, 40, 40)
        with open(os.path.join(data_dir, cfg["storyfile" + n]), encoding="latin-1") as fh:
            story = [ln.rstrip("\n") for ln in fh]
        subscreen(theme, lang, story, os.path.join(out_dir, "story%s.png" % n), 30, 100, 35,
                  heading=lang["Story"])
        subscreen(theme, lang, [], os.path.join(out_dir, "options%s.png" % n), 20, 100, 100,
                  heading=lang["Options"], underline=True)
        scr = Screen(Image.open(os.path.join(out_dir, "options%s.png" % n)))
        scr.text(theme, lang["ScreenModeHint"], 20, 100, 770)
        scr.text(theme, lang["OptionHint"], 20, 200, 770)
        scr.save(os.path.join(out_dir, "options%s.png" % n))


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) == 4 else "default.ini")
