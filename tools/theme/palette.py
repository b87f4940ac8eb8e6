"""The colours of the meadow theme, shared by every picture."""

OUTLINE = (34, 26, 22)

# grass: the open field and the two grazing strips at the top and bottom
FIELD_GREEN = (104, 170, 74)
STRIP_GREEN = (78, 140, 58)

# player 1 (bottom) is blue, player 2 (top) is red
PLAYER = {
    1: {"base": (58, 118, 224), "light": (140, 190, 255), "dark": (28, 60, 140)},
    2: {"base": (220, 56, 48), "light": (255, 150, 120), "dark": (124, 24, 22)},
}

STEEL = {"base": (112, 120, 134), "light": (206, 214, 226), "dark": (58, 62, 72)}
WOOD = {"base": (150, 96, 50), "light": (200, 144, 86), "dark": (96, 58, 28)}

WOOL_WHITE = {"base": (246, 245, 238), "shade": (206, 204, 196), "face": (58, 48, 46)}
WOOL_BLACK = {"base": (66, 64, 72), "shade": (40, 38, 44), "face": (24, 20, 20)}
