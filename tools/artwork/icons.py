"""The seven product icons A0 to A6: a disc with the family's emblem in front of it."""

from PIL import ImageFilter

from disc import draw_disc
from emblems import EMBLEMS
from paint import Canvas

# Icon group, emblem, tint of the disc's clear hub, sizes the group carries (largest first).
ICONS = [
    ("A0", "suite", (230, 180, 60), (64, 48, 32, 24, 16)),
    ("A1", "burn", (240, 120, 60), (64, 48, 32, 24, 16)),
    ("A2", "video", (90, 140, 230), (64, 48, 32, 24, 16)),
    ("A3", "audio", (80, 200, 130), (64, 48, 32, 16)),
    ("A4", "data", (230, 190, 80), (64, 48, 32, 24, 16)),
    ("A5", "copy", (60, 180, 210), (64, 48, 32, 24, 16)),
    ("A6", "tools", (150, 160, 190), (48, 32, 24, 16)),
]


def draw_disc_with_emblem(cv: Canvas, x, y, size, emblem, hub):
    """The icon motif in the square (x, y, size) of a canvas; below 32 pixels it is bolder."""
    if size < 32:
        draw_disc(cv, x + size * 0.47, y + size * 0.47, size * 0.46, hub=hub, detail=False,
                  shadow=False)
        EMBLEMS[emblem](cv, x + size * 0.38, y + size * 0.38, size * 0.62)
    else:
        draw_disc(cv, x + size * 0.45, y + size * 0.45, size * 0.42, hub=hub, detail=True)
        EMBLEMS[emblem](cv, x + size * 0.44, y + size * 0.44, size * 0.54)


def render_icon(emblem, hub, size):
    """RGBA icon image; small sizes get a bolder, simpler drawing so they stay crisp."""
    small = size < 32
    cv = Canvas(size, size, scale=max(4, 256 // size))
    draw_disc_with_emblem(cv, 0, 0, size, emblem, hub)
    img = cv.result()
    if small:
        img = img.filter(ImageFilter.UnsharpMask(radius=0.6, percent=60, threshold=1))
    return img


def build_icons():
    """{group name: [RGBA images, largest first]} for every icon group."""
    return {name: [render_icon(emblem, hub, s) for s in sizes]
            for name, emblem, hub, sizes in ICONS}
