"""The splash screen and the desktop icon: the meadow under its sky, a cannon on each
side, the herd and the title."""

import numpy as np
from PIL import Image, ImageDraw

from gfx import Canvas, downsample, font, over, shade
from palette import MEADOW
from scenery import H, W, meadow
import sprites


def _sky(w, h, look):
    y = np.arange(h)[:, None] / h
    top = np.array(look.sky[0])
    bot = np.array(look.sky[1])
    col = top + (bot - top) * y[..., None]
    return np.repeat(col, w, axis=1)


def _hills(rgb, rng, look):
    w = rgb.shape[1]
    h = rgb.shape[0]
    xs = np.arange(w)
    # (base height, amplitude, colour)
    for base, amp, col in zip((300, 342), (26, 20), look.hills):
        ph = rng.random(3) * 6.28
        ridge = base - amp * (np.sin(xs / 97.0 + ph[0]) + 0.6 * np.sin(xs / 41.0 + ph[1])
                              + 0.3 * np.sin(xs / 23.0 + ph[2]))
        yy = np.arange(h)[:, None]
        cover = np.clip(yy - ridge[None, :] + 0.5, 0, 1)
        shadeband = np.clip((yy - ridge[None, :]) / 60.0, 0, 1)
        c = np.array(col, float)[None, None, :] * (1 - 0.12 * shadeband[..., None])
        rgb[:] = rgb * (1 - cover[..., None]) + c * cover[..., None]
    return rgb


def _side_cannon(cv, x, y, k, player, facing_right, look=MEADOW):
    """A cannon seen from the side, barrel raised, for the splash and the icon."""
    col = look.player[player]
    steel, wood, ink = look.steel, look.wood, look.outline
    sgn = 1 if facing_right else -1
    ang = -0.5  # raised barrel
    ca, sa = np.cos(ang), np.sin(ang)

    def rot(px, py):
        return (x + sgn * (px * ca - py * sa) * k, y + (px * sa + py * ca) * k)
    # barrel
    barrel = [rot(-22, -9), rot(34, -7), rot(34, 7), rot(-22, 9)]
    cv.polygon(barrel, fill=steel["base"], outline=ink, width=2.2 * k / 3)
    cv.polygon([rot(-18, -6), rot(30, -4.6), rot(30, -1.8), rot(-18, -2.5)],
               fill=steel["light"])
    mx, my = rot(34, 0)
    ring = [rot(29, -9), rot(37, -9), rot(37, 9), rot(29, 9)]
    cv.polygon(ring, fill=steel["base"], outline=ink, width=2.2 * k / 3)
    bx, by = rot(-22, 0)
    cv.ellipse(bx, by, 9 * k, 9 * k, fill=steel["base"], outline=ink, width=2.2 * k / 3)
    band = [rot(4, -8.2), rot(10, -8.0), rot(10, 8.0), rot(4, 8.2)]
    cv.polygon(band, fill=col["base"], outline=ink, width=1.6 * k / 3)
    # carriage
    car = [(x - sgn * 26 * k, y + 22 * k), (x + sgn * 8 * k, y + 22 * k),
           (x + sgn * 6 * k, y + 4 * k), (x - sgn * 14 * k, y - 2 * k)]
    cv.polygon(car, fill=col["base"], outline=ink, width=2.2 * k / 3)
    cv.polygon([(x - sgn * 20 * k, y + 17 * k), (x + sgn * 2 * k, y + 17 * k),
                (x + sgn * 1 * k, y + 9 * k), (x - sgn * 12 * k, y + 4 * k)], fill=col["light"])
    # wheel
    wx, wy = x - sgn * 4 * k, y + 20 * k
    cv.ellipse(wx, wy, 15 * k, 15 * k, fill=wood["base"], outline=ink, width=2.2 * k / 3)
    cv.ellipse(wx, wy, 11 * k, 11 * k, fill=wood["light"], outline=wood["dark"], width=1.2 * k / 3)
    for i in range(6):
        a = i * np.pi / 3 + 0.2
        cv.line([(wx, wy), (wx + 11 * k * np.cos(a), wy + 11 * k * np.sin(a))],
                fill=wood["dark"], width=2.0 * k / 3)
    cv.ellipse(wx, wy, 3.5 * k, 3.5 * k, fill=steel["dark"], outline=ink, width=1.2 * k / 3)
    return mx, my


def _text_layer(w, h, text, font_file, size, x, y, fill_top, fill_bottom, outline, stroke,
                shadow=None, max_width=None):
    """Big outlined text with a vertical gradient fill, as float RGBA."""
    fnt = font(font_file, size)
    if max_width is not None:
        bb = fnt.getbbox(text, anchor="ms", stroke_width=int(stroke))
        if bb[2] - bb[0] > max_width:
            size = size * max_width / (bb[2] - bb[0])
            fnt = font(font_file, size)
    ss = 2
    fnt2 = font(font_file, size * ss)
    big = (w * ss, h * ss)
    outer = Image.new("L", big, 0)
    inner = Image.new("L", big, 0)
    ImageDraw.Draw(outer).text((x * ss, y * ss), text, font=fnt2, fill=255, anchor="ms",
                               stroke_width=int(stroke * ss), stroke_fill=255)
    ImageDraw.Draw(inner).text((x * ss, y * ss), text, font=fnt2, fill=255, anchor="ms")
    o = np.asarray(outer, float) / 255
    i = np.asarray(inner, float) / 255
    bbox = fnt.getbbox(text, anchor="ms")
    top, bottom = y + bbox[1], y + bbox[3]
    yy = (np.arange(big[1]) / ss - top) / max(1, bottom - top)
    yy = np.clip(yy, 0, 1)[:, None, None]
    fill = np.array(fill_top)[None, None, :] * (1 - yy) + np.array(fill_bottom)[None, None, :] * yy
    fill = np.repeat(fill, big[0], axis=1) / 255
    rgb = fill * i[..., None] + np.array(outline) / 255 * (1 - i[..., None])
    layer = np.concatenate([rgb, o[..., None]], axis=-1)
    if shadow is not None:
        dx, dy, a = shadow
        sh = np.zeros_like(layer)
        so = np.roll(np.roll(o, int(dy * ss), axis=0), int(dx * ss), axis=1)
        sh[..., 3] = so * a
        layer = over(layer, sh)
    return downsample(layer, ss)


# where the sheep of the splash screen stand: (x, y, scale)
HERD_SPOTS = ((300, 462, 1.6), (470, 455, 1.5), (228, 508, 1.7), (380, 490, 1.8),
              (545, 500, 1.8))


def _sun(rgb):
    """A sun with soft rays in the upper right."""
    yy, xx = np.mgrid[0:H, 0:W]
    sx, sy = 680, 92
    d = np.hypot(xx - sx, yy - sy)
    a = np.arctan2(yy - sy, xx - sx)
    rays = (0.5 + 0.5 * np.cos(a * 12)) * np.clip(1 - d / 330, 0, 1) ** 1.5 * 0.35
    rgb = rgb + (np.array([255, 246, 200]) - rgb) * rays[..., None]
    glow = np.clip(1 - d / 140, 0, 1) ** 2
    rgb = rgb + (np.array([255, 250, 220]) - rgb) * glow[..., None] * 0.8
    sun = np.clip(46 - d + 0.5, 0, 1)
    return rgb * (1 - sun[..., None]) + np.array([255, 222, 90]) * sun[..., None]


def _moon(rgb):
    """Stars above the hills and a full moon with a halo in the upper right."""
    rng = np.random.default_rng(6)
    yy, xx = np.mgrid[0:H, 0:W]
    rgb = rgb.copy()
    for x, y, b in zip(rng.random(220) * W, rng.random(220) * 330, rng.random(220)):
        x0, y0 = int(x) - 3, int(y) - 3
        patch = rgb[max(y0, 0):y0 + 7, max(x0, 0):x0 + 7]
        py, px = np.mgrid[max(y0, 0):y0 + 7, max(x0, 0):x0 + 7] + 0.5
        star = np.clip(1 - np.hypot(px - x, py - y) / (0.8 + 0.9 * b), 0, 1) * (0.35 + 0.65 * b)
        patch += (np.array([250, 250, 255]) - patch) * star[..., None]
    mx, my, r = 640, 104, 40
    d = np.hypot(xx - mx, yy - my)
    halo = np.clip(1 - (d - r) / 170, 0, 1) ** 2.5 * 0.45
    rgb = rgb + (np.array([190, 204, 255]) - rgb) * halo[..., None]
    disc = np.clip(r - d + 0.5, 0, 1)
    face = np.array([246, 242, 224.0]) * np.ones_like(rgb)
    # darker seas on the moon's face
    for cx, cy, cr, depth in ((-12, -10, 13, 0.12), (10, 6, 15, 0.10), (-6, 16, 8, 0.08),
                              (16, -14, 6, 0.07)):
        sea = np.clip(1 - np.hypot(xx - mx - cx, yy - my - cy) / cr, 0, 1) ** 0.6
        face = face * (1 - depth * sea[..., None])
    return rgb * (1 - disc[..., None]) + face * disc[..., None]


def splashscreen(look=MEADOW):
    rng = np.random.default_rng(5)
    rgb = _sky(W, H, look)
    rgb = _moon(rgb) if look.moon else _sun(rgb)
    rgb = _hills(rgb, rng, look)
    # the meadow in front
    ground = meadow(look, W, H - 360, seed=77, strips=False, fence=False)
    edge = 360
    ridge = edge + 6 * np.sin(np.arange(W) / 60.0) + 3 * np.sin(np.arange(W) / 17.0)
    cover = np.clip(np.arange(H)[:, None] - ridge[None, :] + 0.5, 0, 1)
    g = np.zeros_like(rgb)
    g[edge - 20:] = np.concatenate([ground[:20], ground], axis=0)[:H - edge + 20]
    g[:edge - 20] = ground[0]
    rgb = rgb * (1 - cover[..., None]) + g * cover[..., None]
    out = np.concatenate([rgb / 255.0, np.ones((H, W, 1))], axis=-1)
    # clouds
    cl = Canvas(W, H, ss=2)
    for cx, cy, k in ((150, 80, 1.0), (420, 50, 0.8), (520, 150, 0.6)):
        for dx, dy, r in ((-34, 6, 20), (-12, -6, 26), (16, -2, 24), (38, 8, 17), (0, 10, 22)):
            cl.ellipse(cx + dx * k, cy + dy * k + 4, r * k, r * k * 0.8, fill=look.clouds[0])
        for dx, dy, r in ((-34, 6, 20), (-12, -6, 26), (16, -2, 24), (38, 8, 17), (0, 10, 22)):
            cl.ellipse(cx + dx * k, cy + dy * k, r * k, r * k * 0.8, fill=look.clouds[1])
    out = over(downsample(cl.array(), 2), out)
    # a fence across the meadow
    wood, ink, shadow = look.wood, look.outline, look.grass_shadow
    fe = Canvas(W, H, ss=2)
    for y in (392, 408):
        fe.rect(-2, y, W + 2, y + 5, fill=wood["base"], outline=ink, width=1.2)
        fe.rect(0, y + 1.2, W, y + 2.2, fill=wood["light"])
    for px in range(30, W, 90):
        fe.rect(px - 4, 384, px + 4, 422, fill=wood["dark"], outline=ink, width=1.2,
                radius=2)
        fe.rect(px - 2.4, 386, px - 0.6, 419, fill=wood["base"], radius=1)
    out = over(downsample(fe.array(), 2), out)
    # two cannons facing each other, and the herds
    pcs = Canvas(W, H, ss=2)
    sh = pcs.layer()
    for x in (140, 660):
        sh.ellipse(x - 5, 538, 64, 11, fill=shadow + (90,))
    for x, y, k in HERD_SPOTS:
        sh.ellipse(x + 24 * k, y + 35 * k, 22 * k, 4 * k, fill=shadow + (80,))
    pcs.paste_over(sh)
    _side_cannon(pcs, 140, 497, 2.7, 1, True, look)
    _side_cannon(pcs, 660, 497, 2.7, 2, False, look)
    herd = zip(HERD_SPOTS, (False, True, False, False, True), (True, False, False, True, False))
    for (x, y, k), black, right in sorted(herd, key=lambda it: it[0][1]):
        layer = pcs.layer()
        sprites.draw_sheep(layer, sprites.Frame(x, y, k, 48, 36, flip_x=right), black,
                           look=look)
        pcs.paste_over(layer)
    out = over(downsample(pcs.array(), 2), out)
    # the title
    title = _text_layer(W, H, "Meadowgunner", "LeckerliOne-Regular.ttf", 118, 400, 245,
                        *look.title, ink, 7, shadow=(5, 6, 0.35), max_width=740)
    out = over(title, out)
    sub = _text_layer(W, H, look.subtitle, "DejaVuSans-Bold.ttf", 24, 400, 300,
                      *look.subtitle_fill, look.subtitle_outline, 3)
    out = over(sub, out)
    hint = _text_layer(W, H, "click to start", "DejaVuSans-Bold.ttf", 20, 400, 588,
                       *look.hint_fill, look.hint_outline, 3)
    out = over(hint, out)
    return np.clip(out[..., :3] * 255, 0, 255)


# --------------------------------------------------------------------------
# Desktop icon: a sheep in front of a cannon


ICON_SIZES = (64, 128, 256)


def icon(size=64):
    """The icon is laid out on a 64-unit grid and drawn 8 times oversampled at
    every size, so the larger ones are sharper, not blown up."""
    cv = Canvas(64, 64, ss=8 * size // 64)
    scene = cv.layer()
    scene.rect(0, 0, 64, 64, fill=(150, 205, 250))
    scene.ellipse(46, 16, 7, 7, fill=(255, 226, 100))
    scene.rect(0, 42, 64, 64, fill=MEADOW.field)
    scene.rect(0, 42, 64, 43.5, fill=shade(MEADOW.field, 0.8))
    _side_cannon(scene, 27, 31, 0.78, 2, True)
    sprites.draw_sheep(scene, sprites.Frame(21, 29, 0.8, 48, 36, flip_x=False), False)
    # keep the scene inside a round badge
    arr = scene.array()
    yy, xx = (np.mgrid[0:arr.shape[0], 0:arr.shape[1]] + 0.5) / cv.ss
    arr[..., 3] *= np.hypot(xx - 32, yy - 32) <= 30.5
    scene.set_array(arr)
    cv.paste_over(scene)
    cv.ellipse(32, 32, 31.2, 31.2, fill=None, outline=MEADOW.outline, width=1.6)
    return downsample(cv.array(), 8)
