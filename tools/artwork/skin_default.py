"""The launcher's default skin (folder burnerRes): a 444 x 217 window in the default layout.

A deep blue title band with the minimise and close buttons, a light shelf holding the four large
task tiles, a plain strip for the info text at (16, 160), and a blue footer with four link buttons.
"""

import fonts
from disc import draw_disc
from glyphs import glyph_mask
from icons import draw_disc_with_emblem
from paint import Canvas, flatten_keyed, mix, radial, vgrad
from skin_parts import button_pictures, edge_fade, press_offset

WIDTH, HEIGHT = 444, 217
HEADER = 34  # height of the title band
FOOTER = 180  # top of the footer band
BORDER = (22, 42, 84)
RADIUS = 11
RIM = 2  # dark band along the outline: its inner edge is smooth, so the corners read as round
HEADER_STOPS = [(0.0, (70, 128, 214)), (0.5, (36, 90, 176)), (0.5, (26, 74, 154)),
                (1.0, (18, 54, 122))]
FOOTER_STOPS = [(0.0, (36, 76, 150)), (1.0, (16, 40, 94))]
FOOTER_INK = (26, 58, 120)

# Button stem, (left, top, width, height) of the default layout.
LAYOUT = {
    "min": (372, 7, 29, 19), "close": (399, 7, 30, 19),
    "data": (20, 40, 99, 108), "video": (121, 40, 99, 108),
    "audio": (225, 40, 99, 108), "moretools": (323, 40, 99, 108),
    "help": (30, 182, 82, 33), "about": (112, 182, 79, 33),
    "home": (191, 182, 78, 33), "more": (269, 182, 139, 33),
}

TILES = {
    "data": ("Data Disc", "CD \u00b7 DVD \u00b7 Blu-ray", "data", (230, 190, 80)),
    "video": ("Video Disc", "VCD \u00b7 SVCD \u00b7 DVD", "video", (90, 140, 230)),
    "audio": ("Audio CD", "Burn \u00b7 Grab", "audio", (80, 200, 130)),
    "moretools": ("More Tools", "ISO \u00b7 Erase \u00b7 Info", "toolbox", (220, 90, 70)),
}

# The task cards: all of one width and evenly spaced across the shelf. The buttons' own places
# are fixed and unevenly spaced, so each card sits at its own offset inside its button.
CARD_WIDTH = 92
CARD_LEFT = {stem: 25 + 101 * i for i, stem in enumerate(("data", "video", "audio", "moretools"))}

LINKS = {"help": ("Help", "help"), "about": ("About", "about"), "home": ("Home", "home"),
         "more": ("More Free Tools", "apps")}
LINK_ORDER = ["help", "about", "home", "more"]

# Where and how the launcher writes its info text in this layout (used by the preview).
INFO_TEXT = {"xy": (16, 160), "colour": (45, 44, 44), "shadow": (255, 255, 255), "width": None}


def main_picture():
    cv = Canvas(WIDTH, HEIGHT)
    shape = cv.rrect((0, 0, WIDTH, HEIGHT), RADIUS)
    cv.fill(shape, vgrad(0, HEIGHT, [(0.0, (248, 250, 253)), (1.0, (224, 231, 242))]))
    _header(cv, shape)
    _shelf(cv)
    _footer(cv, shape)
    cv.stroke_inside(shape, RIM, BORDER)
    return flatten_keyed(cv.result(), BORDER)


def _header(cv, shape):
    band = cv.intersect(shape, cv.rrect((0, 0, WIDTH, HEADER), 0))
    cv.shadow(band, dy=1.5, blur=2.5, opacity=0.35)
    cv.fill(band, vgrad(0, HEADER, HEADER_STOPS))
    cv.fill(band, radial(60, 0, 220, 40, [(0.0, (150, 200, 255, 90)), (1.0, (150, 200, 255, 0))]))
    # Faint grooves of a huge disc sweeping through the band.
    for r in range(150, 420, 16):
        ring = cv.subtract(cv.ellipse((300 - r, 260 - r, 300 + r, 260 + r)),
                           cv.ellipse((300 - r + 1, 260 - r + 1, 300 + r - 1, 260 + r - 1)))
        cv.fill(cv.intersect(ring, band), (255, 255, 255), 0.05)
    cv.fill(cv.intersect(band, cv.rrect((0, 1, WIDTH, HEADER / 2), 0)),
            vgrad(0, HEADER / 2, [(0.0, (255, 255, 255, 70)), (1.0, (255, 255, 255, 10))]))
    cv.fill(cv.rrect((0, HEADER - 1, WIDTH, HEADER), 0), (10, 28, 70))
    logo = Canvas(26, 26, scale=cv.s)
    draw_disc(logo, 13, 13, 11, hub=(120, 180, 255))
    cv.layer(logo, (8, 4))


def _shelf(cv):
    panel = cv.rrect((12, 37, WIDTH - 12, 152), 9)
    cv.shadow(panel, dy=1, blur=2, opacity=0.18)
    cv.fill(panel, vgrad(37, 152, [(0.0, (255, 255, 255, 235)), (1.0, (255, 255, 255, 120))]))
    cv.stroke_inside(panel, 1, (196, 207, 225))


def _footer(cv, shape):
    band = cv.intersect(shape, cv.rrect((0, FOOTER, WIDTH, HEIGHT), 0))
    cv.fill(band, vgrad(FOOTER, HEIGHT, FOOTER_STOPS))
    cv.fill(cv.rrect((0, FOOTER, WIDTH, FOOTER + 1), 0), (140, 180, 240), 0.6)
    cv.fill(cv.rrect((0, FOOTER - 1, WIDTH, FOOTER), 0), (10, 28, 70), 0.5)


def _header_letters(img):
    fonts.draw_text(img, (40, 17), "Quick Start", fonts.font(fonts.SANS_BOLD, 13), (255, 255, 255),
                    anchor="lm", shadow=(0, 1, (8, 24, 60), 0.6))
    x = 40 + fonts.text_width("Quick Start", fonts.font(fonts.SANS_BOLD, 13)) + 10
    fonts.draw_text(img, (x, 18), "burn \u00b7 copy \u00b7 create", fonts.font(fonts.SANS, 10),
                    (170, 204, 248), anchor="lm")


# -- buttons ----------------------------------------------------------------------------------
def _tile_shapes(stem):
    caption, sub, emblem, hub = TILES[stem]
    left, _, w, h = LAYOUT[stem]
    x0 = CARD_LEFT[stem] - left
    cx = x0 + CARD_WIDTH / 2

    def shapes(cv, state):
        d = press_offset(state)
        box = (x0 + d, 3 + d, x0 + CARD_WIDTH + d, h - 4 + d)
        card = cv.rrect(box, 9)
        if state == "normal":
            cv.shadow(card, dy=1, blur=1.5, opacity=0.2)
            cv.fill(card, vgrad(box[1], box[3], [(0.0, (255, 255, 255)), (1.0, (236, 241, 249))]))
            cv.stroke_inside(card, 1, (198, 209, 226))
        elif state == "hover":
            cv.glow(card, 2.5, (70, 150, 255), 0.7, within=edge_fade(cv))
            cv.fill(card, vgrad(box[1], box[3], [(0.0, (252, 254, 255)), (1.0, (214, 232, 255))]))
            cv.fill(card, radial(cx, 36, 40, 34, [(0.0, (255, 255, 255, 255)),
                                                     (1.0, (255, 255, 255, 0))]))
            cv.stroke_inside(card, 1, (80, 144, 230))
        else:
            cv.fill(card, vgrad(box[1], box[3], [(0.0, (200, 213, 234)), (1.0, (230, 237, 248))]))
            top_edge = cv.subtract(card, cv.shift(card, 0, 2.5))
            cv.fill(cv.blur(top_edge, 1), (20, 40, 80), 0.35)
            cv.stroke_inside(card, 1, (110, 140, 190))
        art = Canvas(56, 56, scale=cv.s)
        draw_disc_with_emblem(art, 0, 0, 56, emblem, hub)
        cv.layer(art, (cx - 26 + d, 7 + d))

    def letters(img, state):
        d = press_offset(state)
        ink = (18, 82, 184) if state == "hover" else (26, 44, 84)
        fonts.draw_text(img, (cx + d, 74 + d), caption, fonts.font(fonts.SANS_BOLD, 12), ink,
                        shadow=(0, 1, (255, 255, 255), 0.8))
        small = fonts.fit_font(sub, fonts.CONDENSED, 9, CARD_WIDTH - 8)
        fonts.draw_text(img, (cx + d, 90 + d), sub, small, (100, 114, 138))
    return shapes, letters


def _window_button_shapes(stem):
    w, h = LAYOUT[stem][2:]
    hot = ((255, 130, 110), (200, 40, 30)) if stem == "close" else ((120, 180, 255), (40, 100, 210))

    def shapes(cv, state):
        d = press_offset(state)
        box = (1 + d, 1 + d, w - 1 + d, h - 1 + d)
        face = cv.rrect(box, 4)
        if state == "normal":
            cv.fill(face, (255, 255, 255), 0.1)
            cv.stroke_inside(face, 1, (255, 255, 255), 0.28)
        elif state == "hover":
            cv.glow(face, 2, hot[0], 0.6, within=edge_fade(cv, 2))
            cv.fill(face, vgrad(box[1], box[3], [(0.0, hot[0]), (1.0, hot[1])]))
            cv.fill(cv.intersect(face, cv.rrect((0, 0, w, h / 2), 0)), (255, 255, 255), 0.25)
            cv.stroke_inside(face, 1, (255, 255, 255), 0.6)
        else:
            cv.fill(face, vgrad(box[1], box[3], [(0.0, mix(hot[1], (0, 0, 0), 0.45)),
                                                 (1.0, hot[1])]))
            cv.stroke_inside(face, 1, (0, 0, 0), 0.35)
        glyph = glyph_mask(cv, "dash" if stem == "min" else "close", w / 2 + d, h / 2 + d, 9)
        cv.fill(cv.shift(glyph, 0, 1), (0, 0, 0), 0.3)
        cv.fill(glyph, (255, 255, 255))
    return shapes


def _link_icon(cv, kind, x, cy, state):
    """Pictogram of a footer link in a 14-pixel square whose left edge is x."""
    light = (255, 255, 255) if state == "hover" else (214, 228, 250)
    cx = x + 7
    if kind in ("help", "about"):
        cv.fill(cv.ellipse((x, cy - 7, x + 14, cy + 7)), light)
        cv.fill(glyph_mask(cv, "help" if kind == "help" else "info", cx, cy, 10), FOOTER_INK)
    elif kind == "home":
        roof = cv.polygon([(x - 0.5, cy - 0.5), (cx, cy - 7.5), (x + 14.5, cy - 0.5)])
        body = cv.rrect((x + 2.5, cy - 2, x + 11.5, cy + 7), 1)
        cv.fill(cv.union(roof, body), light)
        cv.fill(cv.rrect((cx - 1.5, cy + 2, cx + 1.5, cy + 7), 0), FOOTER_INK)
    else:
        for gx in (0, 8):
            for gy in (0, 8):
                cv.fill(cv.rrect((x + gx, cy - 7 + gy, x + gx + 6, cy - 1 + gy), 1.5), light)


def _link_shapes(stem):
    text, icon = LINKS[stem]
    w, h = LAYOUT[stem][2:]
    index = LINK_ORDER.index(stem)
    f = fonts.font(fonts.SANS_BOLD, 11)
    content = 14 + 5 + fonts.text_width(text, f)

    def shapes(cv, state):
        d = press_offset(state)
        if index < len(LINK_ORDER) - 1:
            cv.fill(cv.rrect((w - 1, 8, w, h - 8), 0), (6, 20, 56), 0.6)
        if index > 0:
            cv.fill(cv.rrect((0, 8, 1, h - 8), 0), (120, 160, 230), 0.35)
        pill = cv.rrect((4 + d, 5 + d, w - 4 + d, h - 5 + d), 11)
        if state == "hover":
            cv.glow(pill, 2.5, (90, 170, 255), 0.6, within=edge_fade(cv))
            cv.fill(pill, vgrad(5, h - 5, [(0.0, (110, 172, 250)), (1.0, (40, 100, 206))]))
            cv.fill(cv.intersect(pill, cv.rrect((0, 0, w, h / 2), 0)), (255, 255, 255), 0.2)
            cv.stroke_inside(pill, 1, (190, 220, 255), 0.7)
        elif state == "pressed":
            cv.fill(pill, vgrad(5, h - 5, [(0.0, (12, 34, 84)), (1.0, (34, 70, 140))]))
            cv.stroke_inside(pill, 1, (0, 0, 0), 0.3)
        _link_icon(cv, icon, (w - content) / 2 + d, h / 2 + d, state)

    def letters(img, state):
        d = press_offset(state)
        ink = (255, 255, 255) if state == "hover" else (226, 236, 252)
        fonts.draw_text(img, ((w - content) / 2 + 19 + d, h / 2 + d), text, f, ink, anchor="lm",
                        shadow=(0, 1, (6, 20, 56), 0.5))
    return shapes, letters


def build():
    """(main picture, {stem: [normal, hover, pressed]}) of the default skin."""
    main = main_picture()
    _header_letters(main)
    pictures = {}
    for stem, box in LAYOUT.items():
        if stem in TILES:
            shapes, letters = _tile_shapes(stem)
        elif stem in LINKS:
            shapes, letters = _link_shapes(stem)
        else:
            shapes, letters = _window_button_shapes(stem), None
        pictures[stem] = button_pictures(main, box, shapes, letters)
    return main, pictures


def positions():
    return {stem: (box[0], box[1]) for stem, box in LAYOUT.items()}
