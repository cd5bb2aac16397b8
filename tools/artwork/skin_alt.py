"""The second skin (folder burnerRes2) for the alternative layout: a dark 580 x 460 window.

A night-blue panel with a large disc at the bottom centre; the video button is the disc's hub and
the other three task buttons are glass orbs, each on an orbit around the disc, so their places
read as one figure. The header carries the home link, the title and the four small buttons as one
segmented bar. The info text is written in white at (184, 120) into a 217 x 57 box; it gets a quiet,
darker backdrop and an accent rule instead of a panel, so a one-line welcome does not look lost.
In this layout every button takes the size of its normal picture; the sizes chosen here fit the
fixed positions without overlapping.
"""

import math

import fonts
from disc import draw_disc
from emblems import EMBLEMS
from glyphs import glyph_mask
from paint import Canvas, darken, flatten_keyed, lighten, radial, vgrad
from skin_parts import button_pictures, edge_fade, press_offset

WIDTH, HEIGHT = 580, 460
HEADER = 40
RADIUS = 16
BORDER = (4, 8, 18)
RIM = 2  # dark band along the outline: its inner edge is smooth, so the corners read as round
INFO_BOX = (184, 120, 401, 177)  # where the launcher writes the info text

# Button stem -> (left, top, width, height); left and top are the alternative layout's positions.
ORB_BOX = (116, 118)
LAYOUT = {
    "min": (481, 10, 20, 23), "help": (501, 11, 15, 22), "about": (516, 11, 17, 22),
    "close": (533, 11, 26, 22),
    "data": (446, 41) + ORB_BOX, "video": (251, 294) + ORB_BOX,
    "audio": (406, 216) + ORB_BOX, "moretools": (49, 299) + ORB_BOX,
    "home": (9, 8, 76, 26), "more": (446, 401, 124, 28),
}

# The small buttons sit side by side in one bar of the header.
BAR = (481, 10, 559, 33)
SMALL = {"min": "dash", "help": "help", "about": "info", "close": "close"}

ORBS = {
    "data": ("Data Disc", "data", (36, 112, 224)),
    "video": ("Video Disc", "video", (134, 76, 214)),
    "audio": ("Audio CD", "audio", (26, 160, 104)),
    "moretools": ("More Tools", "toolbox", (226, 122, 34)),
}
ORB_CENTRE, ORB_RADIUS = (58, 46), 40  # within the button's picture
LABEL_Y = 103  # centre line of an orb's caption within its picture


def _orb_centre(stem):
    x, y = LAYOUT[stem][:2]
    return x + ORB_CENTRE[0], y + ORB_CENTRE[1]


DISC_CENTRE = _orb_centre("video")
DISC_RADIUS = 98

# Where and how the launcher writes its info text in this layout (used by the preview).
INFO_TEXT = {"xy": INFO_BOX[:2], "colour": (255, 255, 255), "shadow": None, "width": 217}


def _body(cv):
    return cv.rrect((0, 0, WIDTH, HEIGHT), RADIUS)


def main_picture():
    cv = Canvas(WIDTH, HEIGHT)
    shape = _body(cv)
    cv.fill(shape, vgrad(0, HEIGHT, [(0.0, (30, 42, 70)), (0.55, (15, 22, 42)), (1.0, (8, 12, 26))]))
    cx, cy = DISC_CENTRE
    cv.fill(shape, radial(cx, cy, 300, 260, [(0.0, (40, 100, 200, 140)), (1.0, (40, 100, 200, 0))]))
    _orbits(cv, shape)
    _info_backdrop(cv)
    _header(cv, shape)
    _caption_bar(cv)
    disc = Canvas(2 * DISC_RADIUS + 16, 2 * DISC_RADIUS + 16, scale=cv.s)
    draw_disc(disc, DISC_RADIUS + 8, DISC_RADIUS + 8, DISC_RADIUS, hub=(110, 160, 250))
    cv.layer(disc, (cx - DISC_RADIUS - 8, cy - DISC_RADIUS - 8))
    _label_plate(cv, "video")
    cv.stroke_inside(shape, RIM + 1, (80, 120, 190), 0.5)
    cv.stroke_inside(shape, RIM, BORDER)
    return flatten_keyed(cv.result(), BORDER)


def _orbits(cv, shape):
    """One ring around the disc through each orb's centre, plus a wider faint one."""
    cx, cy = DISC_CENTRE
    below_header = cv.intersect(shape, cv.rrect((0, HEADER, WIDTH, HEIGHT), 0))
    radii = sorted(math.dist(DISC_CENTRE, _orb_centre(s)) for s in ORBS if s != "video")
    for r, alpha in zip(radii + [radii[-1] + 60], (0.26, 0.2, 0.14, 0.08)):
        ring = cv.subtract(cv.ellipse((cx - r, cy - r, cx + r, cy + r)),
                           cv.ellipse((cx - r + 1.2, cy - r + 1.2, cx + r - 1.2, cy + r - 1.2)))
        cv.fill(cv.intersect(ring, below_header), (130, 180, 255), alpha)


def _info_backdrop(cv):
    """A soft darkening behind the info text that keeps the orbit lines quiet there."""
    x0, y0, x1, y1 = INFO_BOX
    area = cv.blur(cv.rrect((x0 - 10, y0 - 6, x1 + 4, y1 + 4), 10), 12)
    cv.fill(area, (6, 10, 24), 0.45)
    rule = cv.rrect((x0 - 9, y0 + 1, x0 - 6, y1 - 2), 1.5)
    cv.fill(rule, vgrad(y0, y1, [(0.0, (110, 176, 255)), (1.0, (110, 176, 255, 0))]))


def _header(cv, shape):
    band = cv.intersect(shape, cv.rrect((0, 0, WIDTH, HEADER), 0))
    cv.fill(band, vgrad(0, HEADER, [(0.0, (58, 78, 120)), (0.5, (36, 50, 82)), (0.5, (28, 40, 68)),
                                    (1.0, (20, 28, 50))]))
    cv.fill(cv.intersect(band, cv.rrect((0, 0, WIDTH, HEADER / 2), 0)),
            vgrad(0, HEADER / 2, [(0.0, (255, 255, 255, 50)), (1.0, (255, 255, 255, 5))]))
    cv.fill(cv.rrect((0, HEADER - 1, WIDTH, HEADER), 0), (110, 160, 240), 0.45)
    cv.fill(cv.rrect((0, HEADER, WIDTH, HEADER + 1), 0), (0, 0, 0), 0.5)


def _caption_bar(cv):
    bar = cv.rrect(BAR, 6)
    cv.fill(bar, (0, 0, 0), 0.22)
    cv.stroke_inside(bar, 1, (150, 190, 255), 0.4)
    for stem in ("help", "about", "close"):
        x = LAYOUT[stem][0]
        cv.fill(cv.rrect((x, BAR[1] + 5, x + 1, BAR[3] - 5), 0), (150, 190, 255), 0.3)


def _label_plate(cv, stem):
    """Dark plate under an orb's caption where the caption crosses a light surface."""
    x, y = LAYOUT[stem][:2]
    w = fonts.text_width(ORBS[stem][0], fonts.font(fonts.SANS_BOLD, 12)) + 18
    cx = x + ORB_CENTRE[0]
    plate = cv.rrect((cx - w / 2, y + LABEL_Y - 10, cx + w / 2, y + LABEL_Y + 9), 9.5)
    cv.shadow(plate, dy=1, blur=1.5, opacity=0.5)
    cv.fill(plate, (10, 16, 36), 0.82)
    cv.stroke_inside(plate, 1, (120, 150, 220), 0.5)


def _headline(img):
    """Title in the header; the question and its hint as a block in the upper left, the hint
    level with the info text so that the two read as one row."""
    fonts.draw_text(img, (WIDTH / 2, HEADER / 2 + 1), "S T A R T   C E N T R E",
                    fonts.font(fonts.SANS_BOLD, 11), (170, 200, 245), shadow=(0, 1, (0, 0, 0), 0.5))
    big = fonts.font(fonts.SANS_BOLD, 22)
    for i, line in enumerate(("What would you like", "to do today?")):
        fonts.draw_text(img, (25, 70 + 28 * i), line, big, (255, 255, 255), anchor="lm",
                        shadow=(0, 1, (0, 0, 0), 0.6))
    small = fonts.font(fonts.SANS, 11)
    for i, line in enumerate(("Pick a task below and", "the right tool opens.")):
        fonts.draw_text(img, (27, 128 + 16 * i), line, small, (150, 178, 222), anchor="lm")


# -- buttons ----------------------------------------------------------------------------------
def _orb_shapes(stem):
    _, emblem, colour = ORBS[stem]
    ox, oy = ORB_CENTRE
    r = ORB_RADIUS

    def shapes(cv, state):
        d = press_offset(state)
        x, y = ox + d, oy + d
        orb = cv.ellipse((x - r, y - r, x + r, y + r))
        base = {"normal": colour, "hover": lighten(colour, 0.22), "pressed": darken(colour, 0.3)}
        c = base[state]
        if state == "hover":
            cv.glow(orb, 7, lighten(colour, 0.4), 0.95, within=edge_fade(cv))
        else:
            cv.shadow(orb, dy=2, blur=3, opacity=0.6)
        cv.fill(orb, radial(x, y + r * 0.55, r * 1.3, r * 1.1,
                            [(0.0, lighten(c, 0.45)), (0.55, c), (1.0, darken(c, 0.45))]))
        cv.stroke_inside(orb, 1.2, lighten(c, 0.5), 0.8)
        EMBLEMS[emblem](cv, x - 21, y - 19, 42)
        gloss = cv.ellipse((x - r * 0.72, y - r * 0.94, x + r * 0.72, y - r * 0.02))
        cv.fill(gloss, vgrad(y - r, y, [(0.0, (255, 255, 255, 190 if state != "pressed" else 90)),
                                        (1.0, (255, 255, 255, 12))]))

    def letters(img, state):
        d = press_offset(state)
        ink = (200, 236, 255) if state == "hover" else (255, 255, 255)
        fonts.draw_text(img, (ox + d, LABEL_Y + d), ORBS[stem][0], fonts.font(fonts.SANS_BOLD, 12),
                        ink, glow=(1.5, (0, 0, 0), 0.9))
    return shapes, letters


def _pill_shapes(stem, text, icon):
    w, h = LAYOUT[stem][2:]
    f = fonts.font(fonts.SANS_BOLD, 11)
    content = 12 + 5 + fonts.text_width(text, f)

    def shapes(cv, state):
        d = press_offset(state)
        pill = cv.rrect((1 + d, 1 + d, w - 1 + d, h - 1 + d), (h - 2) / 2)
        if state == "normal":
            cv.fill(pill, (255, 255, 255), 0.08)
            cv.stroke_inside(pill, 1, (150, 190, 255), 0.4)
        elif state == "hover":
            cv.fill(pill, vgrad(1, h - 1, [(0.0, (100, 166, 250)), (1.0, (36, 94, 200))]))
            cv.fill(cv.intersect(pill, cv.rrect((0, 0, w, h / 2), 0)), (255, 255, 255), 0.22)
            cv.stroke_inside(pill, 1, (200, 225, 255), 0.8)
        else:
            cv.fill(pill, vgrad(1, h - 1, [(0.0, (8, 24, 64)), (1.0, (28, 60, 126))]))
            cv.stroke_inside(pill, 1, (0, 0, 0), 0.4)
        x = (w - content) / 2 + d
        light = (255, 255, 255) if state == "hover" else (200, 220, 250)
        cy = h / 2 + d
        if icon == "home":
            roof = cv.polygon([(x - 0.5, cy - 0.5), (x + 6, cy - 6.5), (x + 12.5, cy - 0.5)])
            cv.fill(cv.union(roof, cv.rrect((x + 2, cy - 2, x + 10, cy + 6), 1)), light)
        else:
            for gx in (0, 7):
                for gy in (0, 7):
                    cv.fill(cv.rrect((x + gx, cy - 6 + gy, x + gx + 5, cy - 1 + gy), 1.2), light)

    def letters(img, state):
        d = press_offset(state)
        ink = (255, 255, 255) if state == "hover" else (214, 228, 250)
        fonts.draw_text(img, ((w - content) / 2 + 17 + d, h / 2 + d), text, f, ink, anchor="lm",
                        shadow=(0, 1, (0, 0, 0), 0.5))
    return shapes, letters


def _small_shapes(stem):
    """One segment of the header's bar: lit over nearly all its face, which shows the whole
    segment as the target."""
    x, y, w, h = LAYOUT[stem]
    hot = ((255, 120, 100), (196, 36, 28)) if stem == "close" else ((110, 176, 255), (36, 96, 210))

    def shapes(cv, state):
        d = press_offset(state)
        bx0, by0, bx1, by1 = (v - o for v, o in zip(BAR, (x, y, x, y)))
        # The lit face keeps a pixel clear of the picture's edge: the edge meets main.bmp.
        face = cv.intersect(cv.rrect((bx0 + 1, by0 + 1, bx1 - 1, by1 - 1), 5),
                            cv.rrect((1, 1, w - 1, h - 1), 1.5))
        if state == "hover":
            cv.fill(face, vgrad(by0, by1, [(0.0, hot[0]), (1.0, hot[1])]))
            cv.fill(cv.intersect(face, cv.rrect((0, 0, w, (by0 + by1) / 2), 0)),
                    (255, 255, 255), 0.2)
        elif state == "pressed":
            cv.fill(face, vgrad(by0, by1, [(0.0, darken(hot[1], 0.4)), (1.0, hot[1])]))
        cx, cy = w / 2 + d, (by0 + by1) / 2 + d
        size = 9 if stem in ("close", "min") else 12
        glyph = glyph_mask(cv, SMALL[stem], cx, cy, size)
        cv.fill(cv.shift(glyph, 0, 1), (0, 0, 0), 0.35)
        cv.fill(glyph, (255, 255, 255) if state != "normal" else (220, 232, 252))
    return shapes


def build():
    """(main picture, {stem: [normal, hover, pressed]}) of the alternative skin."""
    main = main_picture()
    _headline(main)
    pictures = {}
    for stem, box in LAYOUT.items():
        letters = None
        if stem in ORBS:
            shapes, letters = _orb_shapes(stem)
        elif stem == "home":
            shapes, letters = _pill_shapes(stem, "Home", "home")
        elif stem == "more":
            shapes, letters = _pill_shapes(stem, "More Free Tools", "apps")
        else:
            shapes = _small_shapes(stem)
        pictures[stem] = button_pictures(main, box, shapes, letters)
    return main, pictures


def positions():
    return {stem: (box[0], box[1]) for stem, box in LAYOUT.items()}
