"""The big pictures: meadow background, menu bar and explosion strip (the splash screen
and the icon, drawn on the meadow, are splash.py's)."""

import numpy as np
from PIL import Image, ImageDraw

from gfx import Canvas, SS, downsample, fractal_noise, over, shade
from palette import MEADOW

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
