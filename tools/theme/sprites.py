"""The small field pieces: cannons, shields, sheep, shot and blood splash."""

import numpy as np

from gfx import Canvas, mix, shade
from palette import MEADOW


class Frame:
    """Maps sprite units to canvas units: offset, scale, optional mirroring."""

    def __init__(self, x0=0.0, y0=0.0, k=1.0, w=0.0, h=0.0, flip_x=False, flip_y=False):
        self.x0, self.y0, self.k, self.w, self.h = x0, y0, k, w, h
        self.flip_x, self.flip_y = flip_x, flip_y

    def x(self, v):
        return self.x0 + self.k * ((self.w - v) if self.flip_x else v)

    def y(self, v):
        return self.y0 + self.k * ((self.h - v) if self.flip_y else v)

    def p(self, v, w):
        return (self.x(v), self.y(w))

    def box(self, x0, y0, x1, y1):
        xa, xb = sorted((self.x(x0), self.x(x1)))
        ya, yb = sorted((self.y(y0), self.y(y1)))
        return xa, ya, xb, yb

    def d(self, v):
        return self.k * v


# --------------------------------------------------------------------------
# Cannon, seen from above; player 1's points up, player 2's points down


CANNON_W, CANNON_H = 60, 70


def draw_cannon(cv, player, fr=None, look=MEADOW):
    col = look.player[player]
    steel, wood = look.steel, look.wood
    fr = fr or Frame(w=CANNON_W, h=CANNON_H, flip_y=(player == 2))
    ink = look.outline
    # wheels, seen edge-on: long rounded blocks with tread marks
    for wx in (3, 47):
        x0, y0, x1, y1 = fr.box(wx, 34, wx + 10, 66)
        cv.rect(x0, y0, x1, y1, fill=wood["base"], outline=ink, width=fr.d(1.5), radius=fr.d(3))
        cv.rect(x0 + fr.d(2), y0 + fr.d(2), x0 + fr.d(4.5), y1 - fr.d(2), fill=wood["light"],
                radius=fr.d(1))
        for ty in range(37, 64, 5):
            a, b, c, d = fr.box(wx + 1.5, ty, wx + 8.5, ty + 1.3)
            cv.rect(a, b, c, d, fill=wood["dark"])
    # axle
    a, b, c, d = fr.box(12, 47, 48, 53)
    cv.rect(a, b, c, d, fill=steel["dark"], outline=ink, width=fr.d(1))
    # carriage
    x0, y0, x1, y1 = fr.box(11, 28, 49, 67)
    cv.rect(x0, y0, x1, y1, fill=col["dark"], radius=fr.d(11))
    cv.rect(x0 + fr.d(1.5), y0 + fr.d(1.5), x1 - fr.d(1.5), y1 - fr.d(1.5), fill=col["base"],
            radius=fr.d(10))
    # soft highlight on the upper left of the carriage (screen space, both players)
    cv.rect(x0 + fr.d(4), y0 + fr.d(4), x0 + fr.d(14), y1 - fr.d(10), fill=col["light"],
            radius=fr.d(5))
    cv.rect(x0, y0, x1, y1, fill=None, outline=ink, width=fr.d(1.6), radius=fr.d(11))
    # white star on the carriage, behind the barrel's breech
    sx, sy = fr.x(30), fr.y(60.5)
    star = []
    for i in range(10):
        r = fr.d(5.6) if i % 2 == 0 else fr.d(2.4)
        ang = -np.pi / 2 + i * np.pi / 5
        if player == 2:
            ang = -ang
        star.append((sx + r * np.cos(ang), sy + r * np.sin(ang)))
    cv.polygon(star, fill=(255, 250, 230), outline=ink, width=fr.d(1))
    # barrel: tapering tube with a muzzle ring and a coloured band
    body = [fr.p(22.5, 50), fr.p(24, 9), fr.p(36, 9), fr.p(37.5, 50)]
    cv.polygon(body, fill=steel["base"], outline=ink, width=fr.d(1.6))
    bx0, by0, bx1, by1 = fr.box(21.5, 40, 38.5, 54)
    cv.ellipse((bx0 + bx1) / 2, (by0 + by1) / 2, (bx1 - bx0) / 2, (by1 - by0) / 2,
               fill=steel["base"], outline=ink, width=fr.d(1.6))
    # barrel shine stripe, always on the left
    cv.polygon([fr.p(25.2, 47), fr.p(26, 11), fr.p(28.6, 11), fr.p(28.2, 47)],
               fill=steel["light"])
    # player band
    a, b, c, d = fr.box(22.8, 27, 37.2, 32)
    cv.rect(a, b, c, d, fill=col["base"], outline=ink, width=fr.d(1.2))
    # muzzle ring
    a, b, c, d = fr.box(20.5, 2, 39.5, 10)
    cv.rect(a, b, c, d, fill=steel["base"], outline=ink, width=fr.d(1.6), radius=fr.d(2.5))
    a, b, c, d = fr.box(23, 3.8, 26, 8.2)
    cv.rect(a, b, c, d, fill=steel["light"], radius=fr.d(1))
    # breech shine
    kx, ky = fr.x(27), fr.y(47)
    cv.ellipse(kx, ky, fr.d(2.2), fr.d(2.0), fill=steel["light"])


def cannon(player, look=MEADOW):
    cv = Canvas(CANNON_W, CANNON_H)
    draw_cannon(cv, player, look=look)
    return cv


# --------------------------------------------------------------------------
# Shield: a striped field barrier in the player's colour

SHIELD_W, SHIELD_H = 120, 28


def shield(player, look=MEADOW):
    col = look.player[player]
    steel = look.steel
    cv = Canvas(SHIELD_W, SHIELD_H)
    ink = look.outline
    # soft shadow under the barrier
    sh = cv.layer()
    sh.rect(4, 8, 118, 27, fill=(0, 0, 0, 70), radius=6)
    cv.paste_over(sh)
    # the board with diagonal stripes
    board = cv.layer()
    board.rect(8, 6, 112, 22, fill=(250, 248, 240), radius=4)
    for i in range(-2, 12):
        x = 8 + i * 13
        board.polygon([(x, 22), (x + 6.5, 22), (x + 6.5 + 16, 6), (x + 16, 6)], fill=col["base"])
    arr = board.array()
    mask = np.zeros(arr.shape[:2], bool)
    s = cv.ss
    mask[6 * s:22 * s, 8 * s:112 * s] = True
    arr[~mask] = 0
    board.set_array(arr)
    cv.paste_over(board)
    # shine on the upper edge, a shade on the lower edge
    hl = cv.layer()
    hl.rect(10, 7.5, 110, 10.5, fill=(255, 255, 255, 95), radius=1.5)
    hl.rect(9, 18.5, 111, 21.5, fill=(0, 0, 0, 55), radius=1.5)
    cv.paste_over(hl)
    cv.rect(8, 6, 112, 22, fill=None, outline=ink, width=1.6, radius=4)
    # end posts with a cap in the player's colour
    for px in (1, 107):
        cv.rect(px, 2, px + 12, 26, fill=steel["base"], outline=ink, width=1.6, radius=3)
        cv.rect(px + 2.5, 4, px + 5.5, 24, fill=steel["light"], radius=1.2)
        cv.ellipse(px + 6, 9, 3.6, 3.6, fill=col["base"], outline=ink, width=1.2)
        cv.ellipse(px + 6, 19, 2.2, 2.2, fill=steel["dark"])
    return cv


# --------------------------------------------------------------------------
# Sheep, seen from the side.  Drawn facing left; the right-facing pictures
# are mirror images.

SHEEP_W, SHEEP_H = 48, 36

# wool puffs of the body: (x, y, r) in sheep units
_WOOL = [(17, 13, 7), (25, 10.5, 7.5), (33, 11, 7.5), (40, 15, 6.5), (39, 22, 6.5),
         (31, 24, 7), (22, 24, 7), (15, 20, 6.5), (27, 17, 9)]


def draw_sheep(cv, fr, black, ink=None, legs=True, look=MEADOW):
    wool = look.wool_black if black else look.wool_white
    ink = ink or look.outline
    line_w = fr.d(1.4)
    # legs
    if legs:
        for lx, ly in ((16, 26), (22, 27), (32, 27), (38, 26)):
            a, b, c, d = fr.box(lx - 1.9, ly, lx + 1.9, 34.5)
            cv.rect(a, b, c, d, fill=wool["face"], outline=ink, width=fr.d(1.1),
                    radius=fr.d(1.2))
            a, b, c, d = fr.box(lx - 2.1, 32.5, lx + 2.1, 35)
            cv.rect(a, b, c, d, fill=(20, 16, 16), radius=fr.d(1))
    # wool: dark rim first, then the puffs, then lighter tops
    body = cv.layer()
    for x, y, r in _WOOL:
        body.ellipse(fr.x(x), fr.y(y), fr.d(r), fr.d(r), fill=wool["shade"])
    for x, y, r in _WOOL:
        body.ellipse(fr.x(x) - fr.d(0.8), fr.y(y) - fr.d(1.2), fr.d(r - 1.6), fr.d(r - 1.6),
                     fill=wool["base"])
    hi = shade(wool["base"], 1.18) if black else (255, 255, 255)
    for x, y, r in _WOOL[:5]:
        body.ellipse(fr.x(x) - fr.d(1.8), fr.y(y) - fr.d(2.4), fr.d(r * 0.45), fr.d(r * 0.4),
                     fill=hi)
    body.outline_behind(line_w, ink)
    cv.paste_over(body)
    # tail
    cv.ellipse(fr.x(45.5), fr.y(14), fr.d(2.6), fr.d(2.6), fill=wool["base"], outline=ink,
               width=fr.d(1.1))
    # head: a dark face with an ear, a white eye and a woolly fringe
    head = cv.layer()
    ear = [fr.p(12.5, 8.5), fr.p(18.5, 7.5), fr.p(16.5, 11.8)]
    head.polygon(ear, fill=wool["face"], outline=ink, width=fr.d(1.1))
    head.ellipse(fr.x(8.8), fr.y(15.5), fr.d(6.4), fr.d(7.6), fill=wool["face"])
    head.ellipse(fr.x(6.2), fr.y(20.5), fr.d(4.6), fr.d(3.8), fill=wool["face"])
    head.outline_behind(1.1 * fr.k, ink)
    cv.paste_over(head)
    # muzzle shine and nostril
    cv.ellipse(fr.x(4.4), fr.y(20.6), fr.d(0.9), fr.d(0.7), fill=(10, 8, 8))
    face_hi = mix(wool["face"], (255, 255, 255), 0.22)
    cv.ellipse(fr.x(9.5), fr.y(11.5), fr.d(2.4), fr.d(1.6), fill=face_hi)
    # eye
    cv.ellipse(fr.x(7.6), fr.y(14.5), fr.d(2.5), fr.d(2.7), fill=(255, 255, 255))
    cv.ellipse(fr.x(6.9), fr.y(14.9), fr.d(1.25), fr.d(1.5), fill=(12, 10, 10))
    cv.ellipse(fr.x(6.6), fr.y(14.2), fr.d(0.5), fr.d(0.5), fill=(255, 255, 255))
    # fringe on top of the head
    for x, y, r in ((8.5, 8.2, 2.6), (11.6, 8.6, 2.4), (5.8, 9.4, 2.0)):
        cv.ellipse(fr.x(x), fr.y(y), fr.d(r), fr.d(r), fill=wool["base"], outline=ink,
                   width=fr.d(0.9))
    # smile
    cv.line([fr.p(3.6, 22.4), fr.p(5.2, 23.4), fr.p(7.0, 23.2)], fill=(10, 8, 8), width=fr.d(0.8))


def sheep(black, facing_right, look=MEADOW):
    cv = Canvas(SHEEP_W, SHEEP_H)
    draw_sheep(cv, Frame(w=SHEEP_W, h=SHEEP_H, flip_x=facing_right), black, look=look)
    return cv


# --------------------------------------------------------------------------
# Shot: a glowing pellet that reads well on grass in both directions

SHOT_W, SHOT_H = 8, 16


def shot(look=MEADOW):
    rim, body, core, shine = look.shot
    cv = Canvas(SHOT_W, SHOT_H)
    cv.ellipse(4, 8, 3.9, 7.9, fill=rim)
    cv.ellipse(4, 8, 3.0, 7.0, fill=body)
    cv.ellipse(4, 8, 2.1, 5.4, fill=core)
    cv.ellipse(3.6, 7.2, 1.2, 3.2, fill=shine)
    return cv


# --------------------------------------------------------------------------
# Blood splash, with a few tufts of wool

BLOOD_W, BLOOD_H = 40, 28


def blood(look=MEADOW):
    cv = Canvas(BLOOD_W, BLOOD_H)
    rng = np.random.default_rng(7)
    dark, base, light = look.blood["dark"], look.blood["base"], look.blood["light"]
    splat = cv.layer()
    # irregular central blob
    n = 28
    angles = np.linspace(0, 2 * np.pi, n, endpoint=False)
    radii = 8 + rng.random(n) * 3.5
    radii[::4] += 3.5
    pts = [(20 + r * 1.35 * np.cos(a), 14 + r * 0.95 * np.sin(a)) for a, r in zip(angles, radii)]
    splat.polygon(pts, fill=base)
    # streaks and droplets
    for a, dist, r in ((0.3, 16.5, 1.9), (1.2, 13.0, 1.6), (2.3, 16.0, 2.1), (3.3, 17.5, 1.5),
                       (4.1, 13.5, 1.8), (5.2, 15.0, 2.2), (5.9, 12.5, 1.3)):
        x, y = 20 + dist * 1.05 * np.cos(a), 14 + dist * 0.72 * np.sin(a)
        splat.ellipse(x, y, r, r * 0.9, fill=base)
        mx, my = 20 + dist * 0.6 * np.cos(a), 14 + dist * 0.45 * np.sin(a)
        splat.line([(20, 14), (mx, my)], fill=base, width=r * 1.2)
    splat.outline_behind(1.1, dark)
    cv.paste_over(splat)
    # glossy highlights
    cv.ellipse(16, 10.5, 4.2, 2.2, fill=light)
    cv.ellipse(14.5, 10, 1.6, 1.0, fill=look.blood["shine"])
    cv.ellipse(25, 17, 2.2, 1.3, fill=mix(base, light, 0.5))
    # wool tufts
    for x, y in ((10, 19), (29, 8.5), (31, 20)):
        for dx, dy, r in ((0, 0, 2.1), (1.8, -0.8, 1.7), (-1.6, -0.6, 1.5)):
            cv.ellipse(x + dx, y + dy, r, r, fill=look.blood["tuft_shade"])
        for dx, dy, r in ((0, -0.4, 1.5), (1.6, -1.1, 1.2), (-1.4, -0.9, 1.0)):
            cv.ellipse(x + dx, y + dy, r, r, fill=look.blood["tuft"])
    return cv
