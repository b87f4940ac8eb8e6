"""Screens and pictures as numpy arrays (rows x columns x RGB), and what the tests look
for in them."""
import numpy as np


def crop(image, box):
    x, y, w, h = box
    return image[y:y + h, x:x + w]


def differing(a, b, box=(0, 0, 800, 600)):
    """How many pixels of box differ between two screens or pictures."""
    return int((np.abs(crop(a, box) - crop(b, box)).max(axis=2) > 8).sum())


def left_edge(image, reference, y, h):
    """The leftmost column of rows y .. y+h-1 that differs from reference, or None."""
    changed = (np.abs(image[y:y + h] - reference[y:y + h]).max(axis=2) > 24).any(axis=0)
    return int(np.argmax(changed)) if changed.any() else None


def piece_at(image, background, picture, x, y):
    """Whether a keyed picture (its top-left colour transparent) is drawn at (x, y)."""
    h, w = picture.shape[:2]
    expected = background[y:y + h, x:x + w].copy()
    opaque = (picture != picture[0, 0]).any(axis=2)
    expected[opaque] = picture[opaque]
    return differing(image[y:y + h, x:x + w], expected, (0, 0, w, h)) < w * h // 50


def setup_screen(image, line_y):
    """A network set-up screen: nothing above y 95, a line of text at line_y."""
    return crop(image, (0, 0, 800, 95)).max() == 0 and crop(image, (30, line_y, 700, 32)).max() > 0
