"""Drawing helpers shared by the theme generators.

Everything is drawn at SS times the final size and then box-filtered down,
which gives smooth edges without any randomness.  Keyed pictures are first
reduced to a palette whose index 0 is the transparent key: the result banners
and glyph sheets stay 8-bit palette PNGs, the keyed sprites are written out as
32-bit BMPs laid out as the screen, in the palette's colours.
"""

import os
import struct

import numpy as np
from PIL import Image, ImageDraw, ImageFont

SS = 4  # supersampling factor

KEY_RGB = (255, 0, 255)  # colour stored in palette entry 0 of keyed pictures

FONT_DIRS = ["/usr/share/fonts/truetype", "/usr/share/fonts/opentype"]


def find_font(name):
    """Full path of a font file shipped by a Debian font package."""
    for root in FONT_DIRS:
        for dirpath, _dirs, files in os.walk(root):
            if name in files:
                return os.path.join(dirpath, name)
    raise SystemExit("font %s not found; is its Debian package installed?" % name)


def font(name, size):
    return ImageFont.truetype(find_font(name), int(round(size)))


# --------------------------------------------------------------------------
# Hi-res canvas


class Canvas:
    """An RGBA drawing surface at SS x the final size, in final-size units."""

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.img = Image.new("RGBA", (w * ss, h * ss), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.img)

    def s(self, v):
        return v * self.ss

    def pts(self, points):
        return [(x * self.ss, y * self.ss) for x, y in points]

    def ellipse(self, cx, cy, rx, ry, fill, outline=None, width=0):
        s = self.ss
        self.draw.ellipse(
            [(cx - rx) * s, (cy - ry) * s, (cx + rx) * s - 1, (cy + ry) * s - 1],
            fill=fill,
            outline=outline,
            width=int(round(width * s)),
        )

    def rect(self, x0, y0, x1, y1, fill, outline=None, width=0, radius=0):
        s = self.ss
        box = [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]
        if radius:
            self.draw.rounded_rectangle(box, radius=radius * s, fill=fill,
                                        outline=outline, width=int(round(width * s)))
        else:
            self.draw.rectangle(box, fill=fill, outline=outline, width=int(round(width * s)))

    def polygon(self, points, fill, outline=None, width=0):
        self.draw.polygon(self.pts(points), fill=fill)
        if outline is not None and width:
            p = self.pts(points)
            self.draw.line(p + [p[0]], fill=outline, width=int(round(width * self.ss)),
                           joint="curve")

    def line(self, points, fill, width):
        self.draw.line(self.pts(points), fill=fill, width=int(round(width * self.ss)),
                       joint="curve")

    def layer(self):
        """A fresh transparent canvas of the same size, for compositing."""
        return Canvas(self.w, self.h, self.ss)

    def paste_over(self, other):
        self.img = Image.alpha_composite(self.img, other.img)
        self.draw = ImageDraw.Draw(self.img)

    def array(self):
        return np.asarray(self.img, dtype=np.float64) / 255.0

    def set_array(self, arr):
        a = np.clip(arr * 255.0 + 0.5, 0, 255).astype(np.uint8)
        self.img = Image.fromarray(a, "RGBA")
        self.draw = ImageDraw.Draw(self.img)

    def outline_behind(self, radius, colour):
        """Put a solid silhouette, grown by radius final pixels, behind the drawing."""
        arr = self.array()
        mask = dilate(arr[..., 3] > 0.5, int(round(radius * self.ss)))
        back = np.zeros_like(arr)
        back[..., :3] = np.array(colour[:3]) / 255.0
        back[..., 3] = mask
        self.set_array(over(arr, back))

    def reduce(self):
        """Box-filter down to the final size; returns float RGBA (premultiplied-correct)."""
        return downsample(self.array(), self.ss)


def over(top, bottom):
    """Porter-Duff 'over' of two straight-alpha float RGBA arrays."""
    ta = top[..., 3:4]
    ba = bottom[..., 3:4]
    oa = ta + ba * (1 - ta)
    rgb = top[..., :3] * ta + bottom[..., :3] * ba * (1 - ta)
    safe = np.where(oa > 0, oa, 1)
    out = np.concatenate([rgb / safe, oa], axis=-1)
    return out


def downsample(arr, f):
    """Average f x f blocks of a straight-alpha RGBA array, weighting colour by alpha."""
    h, w = arr.shape[0] // f, arr.shape[1] // f
    a = arr[..., 3:4]
    pm = np.concatenate([arr[..., :3] * a, a], axis=-1)
    pm = pm[: h * f, : w * f].reshape(h, f, w, f, 4).mean(axis=(1, 3))
    alpha = pm[..., 3:4]
    safe = np.where(alpha > 0, alpha, 1)
    return np.concatenate([pm[..., :3] / safe, alpha], axis=-1)


def dilate(mask, r):
    """Grow a boolean mask by about r pixels (octagonal structuring element)."""
    m = mask.copy()
    for i in range(r):
        p = np.pad(m, 1)
        if i % 2 == 0:  # 3x3 square
            n = p[:-2, :-2] | p[:-2, 1:-1] | p[:-2, 2:] | p[1:-1, :-2] | p[1:-1, 2:] \
                | p[2:, :-2] | p[2:, 1:-1] | p[2:, 2:] | m
        else:  # plus sign
            n = p[:-2, 1:-1] | p[2:, 1:-1] | p[1:-1, :-2] | p[1:-1, 2:] | m
        m = n
    return m


# --------------------------------------------------------------------------
# Colour helpers


def mix(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def shade(c, f):
    """Darken (f < 1) or lighten towards white (f > 1)."""
    if f <= 1:
        return tuple(int(round(v * f)) for v in c[:3]) + tuple(c[3:])
    t = f - 1
    return tuple(int(round(v + (255 - v) * t)) for v in c[:3]) + tuple(c[3:])


def value_noise(h, w, cell, rng):
    """Smooth value noise in 0..1, with lattice spacing of about `cell` pixels."""
    gh, gw = h // cell + 3, w // cell + 3
    grid = rng.random((gh, gw))
    ys = np.arange(h) / cell
    xs = np.arange(w) / cell
    y0 = np.floor(ys).astype(int)
    x0 = np.floor(xs).astype(int)
    fy = ys - y0
    fx = xs - x0
    fy = fy * fy * (3 - 2 * fy)
    fx = fx * fx * (3 - 2 * fx)
    a = grid[y0][:, x0]
    b = grid[y0][:, x0 + 1]
    c = grid[y0 + 1][:, x0]
    d = grid[y0 + 1][:, x0 + 1]
    top = a + (b - a) * fx[None, :]
    bot = c + (d - c) * fx[None, :]
    return top + (bot - top) * fy[:, None]


def fractal_noise(h, w, cell, octaves, rng):
    total = np.zeros((h, w))
    amp, norm = 1.0, 0.0
    for _ in range(octaves):
        total += amp * value_noise(h, w, max(1, int(cell)), rng)
        norm += amp
        amp *= 0.5
        cell /= 2
    return total / norm


# --------------------------------------------------------------------------
# Output


def to_keyed(rgba, backdrop, threshold=0.4, max_colours=255):
    """Turn a float RGBA picture into (indices, palette) for a keyed 8-bit PNG.

    Pixels with less than `threshold` coverage become the key (index 0).  The
    rest are blended over `backdrop`, the colour the sprite is usually drawn
    on, so soft edges fade into that colour and never into the key colour.
    """
    h, w = rgba.shape[:2]
    alpha = rgba[..., 3]
    visible = alpha >= threshold
    bd = np.array(backdrop[:3], dtype=np.float64) / 255.0
    rgb = rgba[..., :3] * alpha[..., None] + bd * (1 - alpha[..., None])
    rgb8 = np.clip(rgb * 255 + 0.5, 0, 255).astype(np.uint8)
    return quantise(rgb8, visible, max_colours)


def quantise(rgb8, visible, max_colours=255):
    """Map visible pixels to palette entries 1..k; everything else to the key 0."""
    h, w = visible.shape
    colours = rgb8[visible].reshape(-1, 3)
    idx = np.zeros((h, w), np.uint8)
    uniq, inverse = np.unique(colours, axis=0, return_inverse=True)
    if len(uniq) <= max_colours:
        pal = [tuple(int(v) for v in c) for c in uniq]
        idx[visible] = inverse.reshape(-1) + 1
    else:
        strip = Image.fromarray(colours.reshape(1, -1, 3), "RGB")
        q = strip.quantize(colors=max_colours, method=Image.Quantize.MEDIANCUT,
                           dither=Image.Dither.NONE)
        qp = q.getpalette()[: 3 * max_colours]
        pal = [tuple(qp[i:i + 3]) for i in range(0, len(qp), 3)]
        idx[visible] = np.asarray(q, dtype=np.uint8).reshape(-1) + 1
    return idx, [KEY_RGB] + pal


def save_indexed(path, idx, palette):
    """Write an 8-bit palette PNG with exactly 256 palette entries and no tRNS."""
    pal = list(palette)[:256]
    pal += [(0, 0, 0)] * (256 - len(pal))
    im = Image.fromarray(np.asarray(idx, dtype=np.uint8), "P")
    im.putpalette([v for c in pal for v in c])
    im.info.pop("transparency", None)
    im.save(path, format="PNG", optimize=False, compress_level=9)


def save_rgb(path, rgb):
    arr = rgb if isinstance(rgb, Image.Image) else Image.fromarray(
        np.clip(np.asarray(rgb) + 0.5, 0, 255).astype(np.uint8), "RGB")
    arr.convert("RGB").save(path, format="PNG", optimize=False, compress_level=9)


def write_bmp32(path, rgba8, alpha_mask):
    """An uncompressed 32-bit BMP (BITMAPV4HEADER, sRGB) laid out as a 32-bit X11 screen:
    blue, green, red, then alpha or an unused byte, rows bottom-up as BMP stores them."""
    h, w = rgba8.shape[:2]
    pixels = np.empty((h, w, 4), np.uint8)
    pixels[..., :3] = rgba8[..., 2::-1]
    pixels[..., 3] = rgba8[..., 3]
    data = pixels[::-1].tobytes()
    info = struct.pack("<IiiHHIIiiII4I4s48x", 108, w, h, 1, 32, 3, len(data), 2835, 2835, 0, 0,
                       0x00FF0000, 0x0000FF00, 0x000000FF, alpha_mask, b"BGRs")
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as fh:
        fh.write(head + info + data)


def save_xrgb_bmp(path, rgb):
    """A plain picture the game copies to the screen without converting a pixel and
    loads without decoding; the unused byte is 255."""
    rgb8 = np.clip(np.asarray(rgb, dtype=np.float64) + 0.5, 0, 255).astype(np.uint8)
    rgba8 = np.concatenate([rgb8[..., :3], np.full(rgb8.shape[:2] + (1,), 255, np.uint8)], axis=-1)
    write_bmp32(path, rgba8, 0)


def save_argb_bmp(path, rgba_float):
    """A picture with an alpha channel that loads without decoding."""
    write_bmp32(path, np.clip(rgba_float * 255 + 0.5, 0, 255).astype(np.uint8), 0xFF000000)


def save_rgba(path, rgba_float):
    a = np.clip(rgba_float * 255 + 0.5, 0, 255).astype(np.uint8)
    Image.fromarray(a, "RGBA").save(path, format="PNG", optimize=False, compress_level=9)


def transparent(picture):
    """Where a keyed picture, 8-bit or in the screen's layout, holds the value of its
    top-left pixel, the key."""
    pixels = np.asarray(picture)
    same = pixels == pixels[0, 0]
    return same if same.ndim == 2 else same.all(axis=2)


def save_keyed_bmp(path, idx, palette):
    """A keyed picture laid out as the screen, so that SDL run-length encodes it against the
    screen and copies its opaque runs without converting a pixel.  The game's key is the
    first byte of the pixel data, and a picture without an alpha mask is compared as whole
    pixels: transparent pixels (index 0, the top-left one among them) are 0 in all four
    bytes, the unused byte is 0 throughout, and a visible pure black, which would read as
    transparent, is nudged to blue 1."""
    if idx[0, 0] != 0:
        raise SystemExit("%s: top-left pixel is not transparent" % path)
    pal = np.array(list(palette)[:256], np.uint8).reshape(-1, 3)
    rgb = pal[np.asarray(idx)]
    visible = np.asarray(idx) != 0
    rgb[visible & (rgb == 0).all(axis=2)] = (0, 0, 1)
    rgb[~visible] = 0
    write_bmp32(path, np.concatenate([rgb, np.zeros(rgb.shape[:2] + (1,), np.uint8)], axis=-1),
                0)


def save_keyed(path, canvas_or_rgba, backdrop, threshold=0.4):
    rgba = canvas_or_rgba.reduce() if isinstance(canvas_or_rgba, Canvas) else canvas_or_rgba
    idx, pal = to_keyed(rgba, backdrop, threshold)
    save_keyed_bmp(path, idx, pal)
