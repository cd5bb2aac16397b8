"""The DejaVu fonts the artwork is lettered with, and crisp small text.

Captions of a dozen pixels look best rendered at their final size with the font's hinting, so text
is drawn here straight onto the final picture; shapes come from the supersampled canvas.
"""

import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SANS = "DejaVuSans.ttf"
SANS_BOLD = "DejaVuSans-Bold.ttf"
CONDENSED_BOLD = "DejaVuSansCondensed-Bold.ttf"
CONDENSED = "DejaVuSansCondensed.ttf"

_CACHE = {}


class MissingFont(RuntimeError):
    pass


def font(name, size):
    key = (name, size)
    if key not in _CACHE:
        path = os.path.join(FONT_DIR, name)
        if not os.path.isfile(path):
            raise MissingFont(f"font {path} not found; install the Debian package fonts-dejavu-core")
        _CACHE[key] = ImageFont.truetype(path, size)
    return _CACHE[key]


def check_fonts():
    for name in (SANS, SANS_BOLD, CONDENSED_BOLD, CONDENSED):
        font(name, 10)


def text_width(text, f):
    return ImageDraw.Draw(Image.new("L", (1, 1))).textlength(text, font=f)


def text_mask(size, xy, text, f, anchor="mm"):
    m = Image.new("L", size, 0)
    ImageDraw.Draw(m).text(xy, text, font=f, fill=255, anchor=anchor)
    return m


def draw_text(img, xy, text, f, colour, anchor="mm", shadow=None, glow=None):
    """Letter `text` onto an RGB(A) picture in place.

    shadow: (dx, dy, colour, opacity) drawn first, sharp; glow: (radius, colour, opacity), a soft
    halo that keeps light text readable on busy backgrounds.
    """
    base = img.convert("RGBA")
    mask = text_mask(img.size, xy, text, f, anchor)
    if glow:
        radius, gcolour, opacity = glow
        halo = mask.filter(ImageFilter.MaxFilter(3)).filter(ImageFilter.GaussianBlur(radius))
        _over(base, halo, gcolour, opacity)
    if shadow:
        dx, dy, scolour, opacity = shadow
        _over(base, ImageChops.offset(mask, dx, dy), scolour, opacity)
    _over(base, mask, colour, 1.0)
    img.paste(base.convert(img.mode))


def _over(base, mask, colour, opacity):
    layer = Image.new("RGBA", base.size, tuple(colour[:3]) + (255,))
    layer.putalpha(mask.point(lambda v: int(v * opacity + 0.5)))
    base.alpha_composite(layer)


def fit_font(text, name, size, max_width, min_size=7):
    """Largest font not above `size` whose rendering of `text` fits `max_width`."""
    while size > min_size and text_width(text, font(name, size)) > max_width:
        size -= 1
    return font(name, size)
