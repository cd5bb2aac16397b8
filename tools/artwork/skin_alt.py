"""The second skin (folder burnerRes2) for the alternative layout: a dark 580 x 462 window.

A night-blue panel out of whose lower edge a large disc rises; the video button is the disc's hub
and the other task buttons are glass orbs around it. The info text is written in white at
(184, 120) into a 217 x 57 box, so that box lies on a dark display panel. In this layout every
button takes the size of its normal picture; the sizes chosen here fit the fixed positions
without overlapping.
"""

from PIL import ImageFilter

import fonts
from disc import draw_disc
from emblems import EMBLEMS
from glyphs import glyph_mask
from paint import Canvas, darken, flatten_keyed, lighten, radial, vgrad
from skin_parts import button_pictures, edge_fade, press_offset

WIDTH, HEIGHT = 580, 462
BODY_BOTTOM = 436
HEADER = 40
DISC = (306, 336, 125)  # centre x, centre y, radius
BORDER = (6, 10, 22)
INFO_PANEL = (176, 112, 409, 185)

# Button stem -> (left, top, width, height); left and top are the alternative layout's positions.
LAYOUT = {
    "min": (481, 10, 20, 15), "help": (501, 11, 15, 15), "about": (516, 11, 16, 15),
    "close": (533, 11, 16, 15),
    "data": (446, 41, 112, 112), "video": (251, 294, 112, 112),
    "audio": (406, 216, 112, 112), "moretools": (49, 299, 112, 112),
    "home": (9, 8, 72, 24), "more": (446, 401, 124, 28),
}

ORBS = {
    "data": ("Data Disc", "data", (36, 112, 224)),
    "video": ("Video Disc", "video", (134, 76, 214)),
    "audio": ("Audio CD", "audio", (26, 160, 104)),
    "moretools": ("More Tools", "toolbox", (226, 122, 34)),
}
ORB_CENTRE, ORB_RADIUS = (56, 42), 36

SMALL = {"min": "dash", "help": "help", "about": "info", "close": "close"}

# Where and how the launcher writes its info text in this layout (used by the preview).
INFO_TEXT = {"xy": (184, 120), "colour": (255, 255, 255), "shadow": None, "width": 217}


def _outline(cv):
    body = cv.rrect((0, 0, WIDTH, BODY_BOTTOM), 18)
    cx, cy, r = DISC
    disc = cv.ellipse((cx - r, cy - r, cx + r, cy + r))
    # Blurring the union and cutting at half height rounds the two corners where the disc
    # leaves the panel, so the outline has no sharp notch there.
    joined = cv.union(body, disc).filter(ImageFilter.GaussianBlur(5 * cv.s))
    return joined.point(lambda v: 255 if v >= 128 else 0)


def main_picture():
    cv = Canvas(WIDTH, HEIGHT)
    shape = _outline(cv)
    cv.fill(shape, vgrad(0, HEIGHT, [(0.0, (30, 42, 70)), (0.6, (14, 20, 38)), (1.0, (8, 12, 26))]))
    cx, cy, r = DISC
    cv.fill(shape, radial(cx, cy, 260, 230, [(0.0, (40, 100, 200, 150)), (1.0, (40, 100, 200, 0))]))
    _orbits(cv, shape)
    _header(cv, shape)
    _info_panel(cv)
    disc = Canvas(2 * r + 12, 2 * r + 12, scale=cv.s)
    draw_disc(disc, r + 6, r + 6, r, hub=(110, 160, 250))
    cv.layer(disc, (cx - r - 6, cy - r - 6))
    cv.stroke_inside(shape, 1, (70, 100, 160), 0.8)
    return flatten_keyed(cv.result(), BORDER)


def _orbits(cv, shape):
    cx, cy, _ = DISC
    below_header = cv.intersect(shape, cv.rrect((0, HEADER, WIDTH, HEIGHT), 0))
    for r, alpha in ((165, 0.22), (210, 0.16), (262, 0.11), (320, 0.07)):
        ring = cv.subtract(cv.ellipse((cx - r, cy - r, cx + r, cy + r)),
                           cv.ellipse((cx - r + 1.2, cy - r + 1.2, cx + r - 1.2, cy + r - 1.2)))
        cv.fill(cv.intersect(ring, below_header), (130, 180, 255), alpha)


def _header(cv, shape):
    band = cv.intersect(shape, cv.rrect((0, 0, WIDTH, HEADER), 0))
    cv.fill(band, vgrad(0, HEADER, [(0.0, (58, 78, 120)), (0.5, (36, 50, 82)), (0.5, (28, 40, 68)),
                                    (1.0, (20, 28, 50))]))
    cv.fill(cv.intersect(band, cv.rrect((0, 0, WIDTH, HEADER / 2), 0)),
            vgrad(0, HEADER / 2, [(0.0, (255, 255, 255, 50)), (1.0, (255, 255, 255, 5))]))
    cv.fill(cv.rrect((0, HEADER - 1, WIDTH, HEADER), 0), (110, 160, 240), 0.45)
    cv.fill(cv.rrect((0, HEADER, WIDTH, HEADER + 1), 0), (0, 0, 0), 0.5)


def _info_panel(cv):
    panel = cv.rrect(INFO_PANEL, 8)
    cv.glow(panel, 4, (60, 130, 240), 0.35)
    cv.fill(panel, vgrad(INFO_PANEL[1], INFO_PANEL[3], [(0.0, (2, 6, 16)), (1.0, (10, 18, 36))]))
    top_edge = cv.subtract(panel, cv.shift(panel, 0, 3))
    cv.fill(cv.blur(top_edge, 1.5), (0, 0, 0), 0.6)
    cv.stroke_inside(panel, 1, (80, 130, 210), 0.75)
    x0, y0, x1, _ = INFO_PANEL
    cv.fill(cv.rrect((x0 + 10, y0 + 1, x1 - 10, y0 + 2), 0), (150, 200, 255), 0.35)


def _headline(img):
    fonts.draw_text(img, (WIDTH / 2, HEADER / 2 + 1), "S T A R T   C E N T R E",
                    fonts.font(fonts.SANS_BOLD, 11), (170, 200, 245), shadow=(0, 1, (0, 0, 0), 0.5))
    fonts.draw_text(img, (26, 66), "What would you like to do today?",
                    fonts.font(fonts.SANS_BOLD, 18), (255, 255, 255), anchor="lm",
                    shadow=(0, 1, (0, 0, 0), 0.6))
    fonts.draw_text(img, (27, 90), "Pick a task and the right tool opens.",
                    fonts.font(fonts.SANS, 11), (150, 178, 222), anchor="lm")


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
        EMBLEMS[emblem](cv, x - 19, y - 17, 38)
        gloss = cv.ellipse((x - r * 0.72, y - r * 0.94, x + r * 0.72, y - r * 0.02))
        cv.fill(gloss, vgrad(y - r, y, [(0.0, (255, 255, 255, 190 if state != "pressed" else 90)),
                                        (1.0, (255, 255, 255, 12))]))

    def letters(img, state):
        d = press_offset(state)
        ink = (200, 236, 255) if state == "hover" else (255, 255, 255)
        fonts.draw_text(img, (ox + d, 97 + d), ORBS[stem][0], fonts.font(fonts.SANS_BOLD, 12), ink,
                        glow=(1.5, (0, 0, 0), 0.9))
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
    w, h = LAYOUT[stem][2:]
    hot = ((255, 120, 100), (196, 36, 28)) if stem == "close" else ((110, 176, 255), (36, 96, 210))

    def shapes(cv, state):
        d = press_offset(state)
        cx, cy = w / 2 + d, h / 2 + d
        dot = cv.ellipse((cx - 6, cy - 6, cx + 6, cy + 6))
        if state == "normal":
            cv.fill(dot, (255, 255, 255), 0.12)
            cv.stroke_inside(dot, 1, (170, 200, 255), 0.45)
        elif state == "hover":
            cv.glow(dot, 1.5, hot[0], 0.7, within=edge_fade(cv, 2))
            cv.fill(dot, vgrad(cy - 6, cy + 6, [(0.0, hot[0]), (1.0, hot[1])]))
        else:
            cv.fill(dot, vgrad(cy - 6, cy + 6, [(0.0, darken(hot[1], 0.4)), (1.0, hot[1])]))
        cv.fill(glyph_mask(cv, SMALL[stem], cx, cy, 7 if stem in ("close", "min") else 9),
                (255, 255, 255) if state != "normal" else (214, 228, 250))
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
