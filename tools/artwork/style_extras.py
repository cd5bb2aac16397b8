"""Pictures outside the control strips: menu item backgrounds, form textures, the check mark."""

from PIL import Image

from paint import mix
from style_looks import MACOS


def _column(height, colour_at):
    img = Image.new("RGB", (1, height))
    img.putdata([colour_at(y) for y in range(height)])
    return img


def macos_menu_bar():
    """1 x 22 item background: a pale pinstriped sheet (separators take its top 12 rows)."""
    def colour(y):
        base = mix((252, 252, 252), (236, 236, 238), y / 21)
        return mix(base, (0, 0, 0), 0.03) if y % 2 else base
    return _column(22, colour)


def macos_menu_select():
    """1 x 21 selected item: the look's blue gel with a bright upper half."""
    top, bottom = MACOS.faces["hot"]

    def colour(y):
        t = y / 20
        c = mix(top, bottom, t)
        return mix(c, (255, 255, 255), 0.35 * (1 - t * 2)) if t < 0.5 else c
    return _column(21, colour)


def macos_form_background():
    """8 x 8 pinstripe tile: alternating light rows."""
    img = Image.new("RGB", (8, 8))
    img.putdata([(236, 236, 236) if (y // 2) % 2 else (246, 246, 246)
                 for y in range(8) for _ in range(8)])
    return img


def protein_form_background():
    """8 x 8 brushed silver tile: faint diagonal grain."""
    grain = {0: 238, 1: 244, 4: 246}
    img = Image.new("RGB", (8, 8))
    img.putdata([(grain.get((x + y) % 8, 250),) * 3 for y in range(8) for x in range(8)])
    return img


def menu_checked():
    """16 x 16 check mark on white, which the menus key out; drawn as pixels to stay sharp."""
    img = Image.new("RGB", (16, 16), (255, 255, 255))
    dark, soft = (20, 24, 32), (110, 114, 124)
    stroke = [(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]
    for x, y in stroke:
        for dy in (0, 1, 2):
            img.putpixel((x, y + dy - 1), dark)
    for x, y in ((3, 8), (12, 4)):
        img.putpixel((x, y), soft)
    return img
