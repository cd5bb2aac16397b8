"""What both demo skin files share: the folder they are packed from and their window frame.

A demo skin is a folder of BMP pictures named after their keys plus an entries.txt that lists the
pictures and the skin's colours, integers and Booleans, the form `skintool pack` reads.

The side and bottom frame pictures are cut from one drawing of a window's lower frame, so the sides
run into the bottom corners without a seam: a side picture is one row of it repeated (the form stretches
it to the window's height), the bottom is the frame's last rows.
"""

from dataclasses import dataclass, field

from paint import KEY, Canvas, flatten, flatten_keyed, vgrad

# The transparent colour of both skins: pixels of it are cut from the window or show the bar.
TRANSPARENT = KEY

SIDE_HEIGHT = 8  # the side pictures' height; the form stretches them over the window's height


def bgr(rgb):
    """Colour as a skin file stores it, 0x00BBGGRR."""
    r, g, b = rgb
    return (b << 16) | (g << 8) | r


@dataclass
class SkinFolder:
    """Contents of one skin folder, each group in the order entries.txt lists it."""

    name: str
    comment: str
    pictures: dict = field(default_factory=dict)  # key -> RGB picture
    colours: dict = field(default_factory=dict)  # key -> RGB tuple
    integers: dict = field(default_factory=dict)
    booleans: dict = field(default_factory=dict)

    def entries_text(self):
        lines = [f"# {line}" if line else "#" for line in self.comment.strip().split("\n")]
        lines.append("")
        lines += [f"bitmap    {key} {key}.bmp" for key in self.pictures]
        lines += [f"color     {key} 0x{bgr(c):08X}" for key, c in self.colours.items()]
        lines += [f"integer   {key} {v}" for key, v in self.integers.items()]
        lines += [f"boolean   {key} {int(v)}" for key, v in self.booleans.items()]
        return "\n".join(lines) + "\n"


@dataclass
class FrameStyle:
    """Cross-section of the frame around the client area, outside in."""

    side: int  # width of the side pictures
    bottom: int  # height of the bottom pictures
    radius: float  # of the bottom corners; round ones are cut in the transparent colour
    body: list  # vertical stops of the frame's face over the bottom rows
    border: tuple  # outermost line
    highlight: tuple  # line just inside the border
    highlight_opacity: float
    inner: tuple  # line along the client area


def lower_frame(style: FrameStyle, width):
    """(left side, right side, bottom) pictures of a window `width` pixels wide.

    Round corners are cut in the transparent colour with their anti-aliased edge blended toward
    the border colour, so no fringe of the transparent colour is left when the region cuts them.
    """
    # Side rows drawn above the bottom. The strokes also run along the canvas's top edge, so the
    # side columns are taken from the bottom's first row, which they then meet without a seam.
    rows = 6
    h = rows + style.bottom
    cv = Canvas(width, h)
    outer = cv.rrect((0, -style.radius - h, width, h), style.radius)
    client = cv.rrect((style.side, -1, width - style.side, rows), 0)
    frame = cv.subtract(outer, client)
    cv.fill(frame, vgrad(rows, h, style.body))
    cv.fill(cv.subtract(cv.grow(client, 1), client), style.inner)
    cv.stroke_inside(cv.grow(outer, -1), 1, style.highlight, style.highlight_opacity)
    cv.stroke_inside(outer, 1, style.border)
    picture = cv.result()
    img = flatten_keyed(picture, style.border) if style.radius else flatten(picture, style.border)
    left = img.crop((0, rows, style.side, rows + 1)).resize((style.side, SIDE_HEIGHT))
    right = img.crop((width - style.side, rows, width, rows + 1)).resize((style.side, SIDE_HEIGHT))
    return left, right, img.crop((0, rows, width, h))
