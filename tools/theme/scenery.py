"""The big pictures: meadow background, menu bar, explosion strip, splash
screen and the desktop icon."""

import numpy as np
from PIL import Image, ImageDraw

from gfx import Canvas, SS, downsample, font, fractal_noise, over, shade
from palette import MEADOW
import sprites

W, H = 800, 600
STRIP = 80  # the herds graze in the top and bottom 80 rows


# --------------------------------------------------------------------------
# Menu bar: a wooden plank.  Its middle is uniform along x, because short bars
# are made of its left and right ends joined together; the ends carry no
# decoration that text would cover (menu labels start 5 pixels in, button
# labels 3 pixels in).

BAR_W, BAR_H = 420, 38


def border(look=MEADOW):
    wood = look.wood
    s = SS
    w, h = BAR_W * s, BAR_H * s
    y = (np.arange(h) + 0.5) / s
    # planks: vertical shading and horizontal grain that depend on y only
    t = (y - 2) / (BAR_H - 4)
    base = np.array(wood["base"], float)
    light = np.array(wood["light"], float)
    dark = np.array(wood["dark"], float)
    prof = np.clip(1 - 1.6 * np.abs(t - 0.32), 0, 1)
    col = base[None, :] + (light - base)[None, :] * prof[:, None] * 0.85
    col = col + (dark - base)[None, :] * np.clip((t - 0.62) / 0.38, 0, 1)[:, None] * 0.8
    grain = 0.5 + 0.5 * np.sin(y * 2.3) * np.sin(y * 0.71 + 1.3)
    col = col * (0.93 + 0.07 * grain)[:, None]
    # a groove between two planks
    groove = np.exp(-((y - 19.0) / 0.6) ** 2)
    col = col * (1 - 0.35 * groove)[:, None]
    img = np.repeat(col[:, None, :], w, axis=1)
    rgba = np.concatenate([img / 255.0, np.ones((h, w, 1))], axis=-1)
    plank = Image.fromarray(np.clip(rgba * 255 + 0.5, 0, 255).astype(np.uint8), "RGBA")
    # clip the planks to a rounded frame
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=7 * s, fill=255)
    frame = Image.new("RGBA", (w, h), (8, 6, 4, 255))
    frame.paste(plank, (0, 0), mask)
    cv = Canvas(BAR_W, BAR_H)
    cv.img = frame
    cv.draw = ImageDraw.Draw(cv.img)
    cv.rect(0, 0, BAR_W, BAR_H, fill=None, outline=look.outline, width=2, radius=7)
    # top shine and end decorations: nails and a darker end grain
    hl = cv.layer()
    hl.rect(6, 3.2, BAR_W - 6, 5.2, fill=(255, 236, 200, 90), radius=1)
    for x0 in (2, BAR_W - 14):
        hl.rect(x0, 2, x0 + 12, BAR_H - 2, fill=(60, 30, 10, 60), radius=4)
    cv.paste_over(hl)
    # plank ends: a thin end-grain line inside each rounded end
    for x0 in (5.5, BAR_W - 7.5):
        cv.rect(x0, 4, x0 + 2, BAR_H - 4, fill=wood["dark"], radius=1)
    out = cv.reduce()
    return out[..., :3] * 255


# --------------------------------------------------------------------------
# Meadow background


def _flower(cv, x, y, kind, k, blossoms):
    petals, heart = blossoms[kind]
    if kind == 0:  # daisy
        for i in range(6):
            a = i * np.pi / 3 + 0.3
            cv.ellipse(x + 2.0 * k * np.cos(a), y + 2.0 * k * np.sin(a), 1.4 * k, 1.4 * k,
                       fill=petals)
        cv.ellipse(x, y, 1.3 * k, 1.3 * k, fill=heart)
    elif kind == 1:  # buttercup
        for i in range(5):
            a = i * 2 * np.pi / 5
            cv.ellipse(x + 1.5 * k * np.cos(a), y + 1.5 * k * np.sin(a), 1.3 * k, 1.3 * k,
                       fill=petals)
        cv.ellipse(x, y, 0.9 * k, 0.9 * k, fill=heart)
    elif kind == 2:  # clover blossom
        for dx, dy in ((0, -1.2), (-1.1, 0.3), (1.1, 0.3), (0, 0.6)):
            cv.ellipse(x + dx * k, y + dy * k, 1.3 * k, 1.3 * k, fill=petals)
        cv.ellipse(x - 0.4 * k, y - 0.8 * k, 0.6 * k, 0.6 * k, fill=heart)
    else:  # forget-me-not
        for i in range(5):
            a = i * 2 * np.pi / 5 + 0.6
            cv.ellipse(x + 1.3 * k * np.cos(a), y + 1.3 * k * np.sin(a), 1.1 * k, 1.1 * k,
                       fill=petals)
        cv.ellipse(x, y, 0.7 * k, 0.7 * k, fill=heart)


def _quiet(x, y):
    """Places kept free of flowers: where the scores and the frame rate are written,
    and the middle band of the field."""
    if 212 <= y <= 262 and x <= 360:
        return True
    if 337 <= y <= 387 and (x <= 360 or x >= 610):
        return True
    return 205 <= y <= 395


def meadow(look=MEADOW, w=W, h=H, seed=2024, strips=True, fence=True):
    rng = np.random.default_rng(seed)
    yy = np.arange(h)[:, None] * np.ones((1, w))
    # grass colour: field green, darker pasture strips, soft mottling
    field = np.array(look.field, float)
    strip = np.array(look.strip, float)
    if strips:
        d = np.minimum(yy, h - 1 - yy)
        st = np.clip((STRIP + 6 - d) / 12.0, 0, 1)
    else:
        st = np.zeros((h, w))
    base = field[None, None, :] * (1 - st[..., None]) + strip[None, None, :] * st[..., None]
    n1 = fractal_noise(h, w, 96, 4, rng)
    n2 = fractal_noise(h, w, 24, 3, rng)
    # calmer in the middle band where the scores are written
    calm = 1 - 0.55 * np.exp(-((yy - 300) / 95.0) ** 4)
    m = ((n1 - 0.5) * 0.22 + (n2 - 0.5) * 0.10) * calm
    warm = np.array([1.10, 1.04, 0.80])
    cool = np.array([0.86, 0.95, 0.90])
    tint = np.where(m[..., None] > 0, 1 + (warm - 1) * m[..., None] * 4,
                    1 + (1 - cool) * m[..., None] * 4)
    rgb = base * tint * (1 + m[..., None] * 0.6)
    # grass blades: short strokes in lighter and darker greens
    cv = Canvas(w, h, ss=2)
    cv.img = Image.new("RGBA", (w * 2, h * 2), (0, 0, 0, 0))
    cv.draw = ImageDraw.Draw(cv.img)
    count = int(w * h / 45)
    xs = rng.random(count) * w
    ys = rng.random(count) * h
    lens = 2.5 + rng.random(count) * 4.0
    lean = (rng.random(count) - 0.5) * 2.6
    shade_r = rng.random(count)
    for x, y, ln, le, sr in zip(xs, ys, lens, lean, shade_r):
        in_strip = strips and (y < STRIP + 4 or y > h - STRIP - 4)
        mid = 210 < y < 390
        if mid and sr < 0.55:
            continue
        g = look.strip if in_strip else look.field
        if sr < 0.5:
            c = shade(g, 0.70 + 0.12 * sr)
        else:
            c = shade(g, 1.12 + 0.25 * (sr - 0.5))
        a = 150 if mid else 200
        cv.line([(x, y), (x + le, y - ln)], fill=c + (a,), width=0.9)
    blades = downsample(cv.array(), 2)
    # flowers, in small clusters, away from the quiet places
    fl = Canvas(w, h, ss=3)
    clusters = 72
    cx = rng.random(clusters) * w
    cy = rng.random(clusters) * h
    kinds = rng.integers(0, 4, clusters)
    for x0, y0, kd in zip(cx, cy, kinds):
        n = 2 + int(rng.integers(0, 5))
        for _ in range(n):
            x = x0 + rng.normal(0, 9)
            y = y0 + rng.normal(0, 6)
            if not (4 < x < w - 4 and 4 < y < h - 4) or _quiet(x, y):
                continue
            if fence and strips and (abs(y - (STRIP + 3)) < 7 or abs(y - (h - STRIP - 3)) < 7):
                continue
            # a tiny shadow, then the blossom
            fl.ellipse(x + 0.6, y + 1.0, 2.6, 2.2, fill=look.blossom_shadow + (70,))
            _flower(fl, x, y, int(kd) if rng.random() < 0.8 else int(rng.integers(0, 4)),
                    0.85 + 0.3 * rng.random(), look.blossoms)
    flowers = downsample(fl.array(), 3)
    out = np.concatenate([rgb / 255.0, np.ones((h, w, 1))], axis=-1)
    out = over(blades, out)
    out = over(flowers, out)
    if fence and strips:
        out = over(_fences(w, h, look), out)
    if look.fireflies:
        out = over(_fireflies(w, h, look.fireflies, rng), out)
    return np.clip(out[..., :3] * 255, 0, 255)


def _fences(w, h, look):
    """Low wooden rails along the inner edge of both pastures."""
    wood, ink, shadow = look.wood, look.outline, look.grass_shadow
    cv = Canvas(w, h, ss=2)
    for y in (STRIP + 1.5, h - STRIP - 5.5):
        sh = cv.layer()
        sh.rect(0, y + 2.5, w, y + 6.0, fill=shadow + (80,))
        cv.paste_over(sh)
        cv.rect(-2, y, w + 2, y + 4, fill=wood["base"], outline=ink, width=1)
        cv.rect(0, y + 1, w, y + 1.8, fill=wood["light"])
        for px in range(22, w, 76):
            cv.ellipse(px + 1, y + 4.0, 5.5, 3.5, fill=shadow + (90,))
            cv.rect(px - 3.5, y - 2.5, px + 3.5, y + 6.0, fill=wood["dark"], outline=ink,
                    width=1, radius=1.5)
            cv.rect(px - 2.0, y - 1.5, px - 0.3, y + 4.5, fill=wood["base"], radius=0.8)
    return downsample(cv.array(), 2)


def _fireflies(w, h, count, rng):
    """Small yellow-green glows over the grass, few of them where text is written."""
    cv = Canvas(w, h, ss=2)
    for x, y, r in zip(rng.random(count) * w, rng.random(count) * h, rng.random(count)):
        if _quiet(x, y) and rng.random() < 0.8:
            continue
        cv.ellipse(x, y, 4.5 + 2 * r, 4.5 + 2 * r, fill=(200, 255, 120, 40))
        cv.ellipse(x, y, 2.0 + r, 2.0 + r, fill=(220, 255, 140, 110))
        cv.ellipse(x, y, 0.9, 0.9, fill=(250, 255, 220, 255))
    return downsample(cv.array(), 2)


# --------------------------------------------------------------------------
# Explosion: 20 square frames, a fireball that flares up, then turns to smoke

EXPLO_FRAMES, EXPLO_SIZE = 20, 64


def explosion(look=MEADOW):
    n, sz = EXPLO_FRAMES, EXPLO_SIZE
    rng = np.random.default_rng(look.fire_seed)
    up = 2
    S = sz * up
    yy, xx = np.mgrid[0:S, 0:S] / float(up)
    c = sz / 2.0
    dx, dy = xx - c + 0.5 / up, yy - c + 0.5 / up
    dist = np.hypot(dx, dy)
    ang = np.arctan2(dy, dx)
    noise_a = fractal_noise(S, S, 16 * up, 3, rng)
    noise_b = fractal_noise(S, S, 8 * up, 3, rng)
    # lobes around the rim so the ball looks billowy
    lobes = 0.5 + 0.25 * np.sin(ang * 5 + 1.0) + 0.25 * np.sin(ang * 8 + 2.3)
    sparks = [(rng.random() * 2 * np.pi, 0.7 + 0.6 * rng.random()) for _ in range(9)]
    ramp = look.fire  # heat -> colour
    frames = []
    for k in range(n):
        t = k / (n - 1.0)
        grow = 1 - (1 - min(1.0, k / 8.0)) ** 2.2
        radius = 5 + 17 * grow + 3.5 * t
        shift = noise_a * (0.6 + 0.8 * t)
        r_eff = radius * (0.84 + 0.2 * lobes + 0.22 * (shift - 0.5))
        soft = 1.5 + 4.0 * t
        inside = np.clip((r_eff - dist) / soft + 0.5, 0, 1)
        core = np.clip(1 - dist / max(r_eff.mean(), 1), 0, 1)
        heat = core * (1.3 - 1.35 * t) + (noise_b - 0.5) * 0.3 + 0.3 * (1 - t) ** 3
        heat = np.clip(heat, 0, 1)
        rgb = np.zeros((S, S, 3))
        for (h0, c0), (h1, c1) in zip(ramp[:-1], ramp[1:]):
            sel = (heat >= h0) & (heat <= h1)
            f = ((heat - h0) / (h1 - h0))[sel][:, None]
            rgb[sel] = np.array(c0) + (np.array(c1) - np.array(c0)) * f
        # the fire turns to smoke, which thins out from frame 8 on
        fade = 1.0 if t < 0.4 else max(0.0, (1 - t) / 0.6) ** 1.25
        texture = 1.0 - np.clip(t - 0.35, 0, 1) * 1.1 * (1 - noise_b)
        alpha = inside * fade * np.clip(texture, 0, 1)
        # a soft glow around the young fireball
        glow = np.clip(1 - (dist - radius) / (6 + 4 * grow), 0, 1) ** 2 * (1 - t) ** 2 * 0.55
        glow_rgb = np.array(look.fire_glow)
        a_tot = alpha + glow * (1 - alpha)
        safe = np.where(a_tot > 0, a_tot, 1)
        rgb = (rgb * alpha[..., None] + glow_rgb * (glow * (1 - alpha))[..., None]) / \
            safe[..., None]
        frame = np.concatenate([rgb / 255.0, a_tot[..., None]], axis=-1)
        # flying sparks in the first frames
        if k < 11:
            sp = Canvas(sz, sz, ss=up)
            for a, v in sparks:
                r = (5 + 24 * v * (k + 1) / 11.0)
                x, y = c + r * np.cos(a), c + r * np.sin(a)
                rr = 1.6 * (1 - k / 11.0) + 0.5
                sp.ellipse(x, y, rr, rr, fill=look.sparks + (int(255 * (1 - k / 12.0)),))
            frame = over(sp.array(), frame)
        frames.append(downsample(frame, up))
    return np.concatenate(frames, axis=1)


# --------------------------------------------------------------------------
# Splash screen


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
