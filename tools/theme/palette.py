"""The looks of the themes: every colour, and the few texts and seeds, that tell
one theme's pictures from another's.  The drawing functions take a look and
draw the same shapes in its colours; LOOKS names them for the command line."""

from types import SimpleNamespace

MEADOW = SimpleNamespace(
    name="meadow",
    outline=(34, 26, 22),
    # grass: the open field and the two grazing strips at the top and bottom
    field=(104, 170, 74),
    strip=(78, 140, 58),
    grass_shadow=(20, 50, 15),  # shadows of flowers, fences and pieces on the grass
    # flowers of the four kinds: daisy, buttercup, clover, forget-me-not (petals, heart)
    blossoms=(((252, 252, 246), (250, 200, 40)), ((255, 214, 30), (230, 150, 20)),
              ((232, 120, 170), (255, 190, 220)), ((120, 170, 250), (255, 240, 120))),
    blossom_shadow=(30, 60, 20),
    fireflies=0,  # glowing dots over the field
    # player 1 (bottom) is blue, player 2 (top) is red
    player={
        1: {"base": (58, 118, 224), "light": (140, 190, 255), "dark": (28, 60, 140)},
        2: {"base": (220, 56, 48), "light": (255, 150, 120), "dark": (124, 24, 22)},
    },
    steel={"base": (112, 120, 134), "light": (206, 214, 226), "dark": (58, 62, 72)},
    wood={"base": (150, 96, 50), "light": (200, 144, 86), "dark": (96, 58, 28)},
    wool_white={"base": (246, 245, 238), "shade": (206, 204, 196), "face": (58, 48, 46)},
    wool_black={"base": (66, 64, 72), "shade": (40, 38, 44), "face": (24, 20, 20)},
    # shot pellet from its rim to its shine
    shot=((120, 24, 10), (240, 110, 30), (255, 200, 70), (255, 252, 225)),
    blood={"dark": (110, 8, 16), "base": (196, 20, 30), "light": (240, 90, 90),
           "shine": (255, 200, 200), "tuft_shade": (200, 198, 190), "tuft": (250, 250, 246)},
    # explosion: heat -> colour, the glow round the young fireball, the sparks
    fire=((0.00, (70, 64, 60)), (0.22, (104, 78, 64)), (0.38, (170, 40, 20)),
          (0.55, (236, 96, 24)), (0.72, (255, 170, 40)), (0.86, (255, 232, 120)),
          (1.00, (255, 255, 236))),
    fire_glow=(255, 190, 80.0),
    sparks=(255, 230, 140),
    fire_seed=99,
    # splash screen
    sky=((96, 168, 240.0), (200, 232, 255.0)),
    moon=False,  # a sun with rays by day, a moon and stars by night
    hills=((128, 190, 96), (104, 172, 78)),
    clouds=((190, 210, 235), (255, 255, 255)),
    title=((255, 246, 160), (255, 160, 40)),
    subtitle="Two shepherds. One meadow. No mercy.",
    subtitle_fill=((255, 255, 255), (236, 244, 255)),
    subtitle_outline=(40, 70, 30),
    hint_fill=((255, 255, 255), (255, 240, 200)),
    hint_outline=(30, 40, 20),
    # glyph sheets: fill from the top of a capital to the baseline, and outline
    glyph_fill=((255, 255, 248), (255, 206, 96)),
    glyph_outline=(26, 18, 14),
    # result banners: eight key colours of each palette loop; a colour and the one
    # four keys further on are a light/dark or warm/cool pair (fill and outline)
    banner_loops={
        "winner": [(255, 250, 214), (255, 204, 52), (246, 120, 30), (200, 36, 56),
                   (74, 22, 96), (28, 52, 150), (40, 170, 222), (170, 236, 236)],
        "loser": [(232, 236, 255), (176, 176, 244), (128, 86, 206), (84, 36, 128),
                  (22, 26, 72), (36, 84, 140), (64, 166, 178), (156, 218, 232)],
        "draw": [(255, 244, 226), (255, 200, 150), (240, 130, 100), (150, 70, 60),
                 (40, 44, 70), (70, 92, 160), (110, 170, 230), (200, 226, 252)],
        "suddendeath": [(255, 252, 210), (255, 222, 60), (255, 140, 20), (222, 40, 24),
                        (112, 10, 20), (44, 6, 16), (70, 20, 80), (255, 196, 170)],
    },
)

NIGHT = SimpleNamespace(
    name="night",
    outline=(12, 14, 30),
    field=(50, 92, 84),
    strip=(38, 70, 66),
    grass_shadow=(6, 14, 22),
    # moon-pale blossoms, half closed for the night
    blossoms=(((222, 230, 255), (246, 236, 160)), ((200, 188, 255), (255, 246, 196)),
              ((150, 214, 226), (226, 252, 255)), ((236, 196, 240), (255, 236, 150))),
    blossom_shadow=(10, 20, 28),
    fireflies=70,
    player={
        1: {"base": (70, 124, 226), "light": (160, 202, 255), "dark": (28, 52, 128)},
        2: {"base": (206, 50, 72), "light": (255, 146, 156), "dark": (108, 18, 36)},
    },
    steel={"base": (104, 114, 138), "light": (200, 214, 240), "dark": (46, 52, 72)},
    wood={"base": (112, 86, 72), "light": (160, 132, 112), "dark": (66, 48, 40)},
    wool_white={"base": (230, 236, 250), "shade": (176, 186, 212), "face": (50, 46, 62)},
    wool_black={"base": (82, 84, 106), "shade": (54, 56, 76), "face": (26, 24, 36)},
    shot=((10, 58, 70), (40, 190, 204), (150, 250, 240), (240, 255, 255)),
    blood={"dark": (86, 6, 22), "base": (168, 18, 44), "light": (218, 84, 108),
           "shine": (255, 190, 204), "tuft_shade": (176, 186, 212), "tuft": (230, 236, 250)},
    fire=((0.00, (58, 58, 84)), (0.22, (82, 70, 116)), (0.38, (118, 40, 160)),
          (0.55, (196, 70, 220)), (0.72, (255, 130, 230)), (0.86, (255, 210, 250)),
          (1.00, (255, 255, 255))),
    fire_glow=(210, 150, 255.0),
    sparks=(236, 210, 255),
    fire_seed=101,
    sky=((8, 12, 38.0), (46, 66, 118.0)),
    moon=True,
    hills=((34, 62, 70), (28, 54, 56)),
    clouds=((40, 50, 84), (88, 102, 140)),
    title=((238, 246, 255), (140, 182, 255)),
    subtitle="Two shepherds. One moon. No sleep.",
    subtitle_fill=((255, 255, 255), (220, 232, 255)),
    subtitle_outline=(16, 22, 52),
    hint_fill=((255, 255, 255), (210, 226, 255)),
    hint_outline=(12, 16, 40),
    glyph_fill=((236, 246, 255), (140, 190, 255)),
    glyph_outline=(10, 14, 32),
    banner_loops={
        "winner": [(255, 255, 240), (250, 226, 150), (200, 170, 90), (110, 80, 60),
                   (24, 26, 64), (50, 70, 150), (120, 170, 240), (200, 225, 255)],
        "loser": [(236, 230, 255), (190, 170, 235), (140, 110, 200), (80, 50, 130),
                  (20, 14, 44), (40, 40, 100), (80, 110, 170), (170, 200, 230)],
        "draw": [(240, 250, 250), (180, 225, 220), (110, 180, 175), (50, 100, 110),
                 (16, 30, 40), (60, 60, 110), (140, 130, 200), (215, 210, 250)],
        "suddendeath": [(255, 245, 255), (255, 180, 220), (230, 80, 140), (150, 20, 70),
                        (50, 6, 30), (30, 10, 60), (90, 40, 140), (230, 190, 255)],
    },
)

LOOKS = {look.name: look for look in (MEADOW, NIGHT)}
