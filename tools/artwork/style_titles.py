"""Title bar pictures of a look: the left, client and right sections and the title-button strip.

The three sections are cut from one bar drawn at once, so they meet without seams; the client
section is uniform along its width because the title bar stretches it. The top rows of the pictures
lie over the window frame, so the outer edge carries the form's border colour.
"""

from PIL import Image

from glyphs import glyph_mask
from paint import Canvas, darken, flatten, flatten_keyed, path, radial, vgrad
from style_looks import STATES, Look

# Frames of the title-button strip, three (normal, hot, pressed) per button, in strip order.
TITLE_BUTTON_KINDS = ("menu", "help", "max", "restore", "min", "close")


def _profile(look: Look, width, height):
    cv = Canvas(width, height)
    cv.fill(cv.rrect((0, 0, width, height), 0), vgrad(0, height, look.title_stops))
    return cv


def _decorate_macos(cv, look, w, h, left, right):
    for y in range(2, h - 1, 2):  # fine pinstripes
        cv.fill(cv.rrect((0, y, w, y + 1), 0), (0, 0, 0), 0.035)
    cv.fill(cv.rrect((0, h - 1, w, h), 0), (128, 128, 128))


def _decorate_winxp(cv, look, w, h, left, right):
    cv.fill(cv.rrect((0, 0, 6, h), 0), vgrad(0, h, [(0.0, (255, 255, 255, 90)),
                                                     (1.0, (255, 255, 255, 20))]), 0.8)
    cv.fill(cv.rrect((w - 5, 0, w, h), 0), (0, 20, 90), 0.35)


def _decorate_deepblue(cv, look, w, h, left, right):
    band = h - 8
    # Brushed-steel plates with a slanted end: a narrow one behind the window icon (the caption
    # starts right after it) and a wide one behind the title buttons.
    for x0, plate in ((0, [(0, 3), (17, 3), (25, band), (0, band)]),
                      (w - right, [(right, 3), (17, 3), (5, band), (right, band)])):
        mirror = x0 > 0
        pts = [(x0 + x, y) for x, y in plate]
        mask = cv.polygon(pts)
        cv.fill(mask, vgrad(3, band, [(0.0, (120, 150, 205)), (0.5, (60, 88, 146)),
                                      (0.52, (40, 64, 118)), (1.0, (30, 50, 98))]), 0.8)
        edge = cv.subtract(mask, cv.shift(mask, -1 if not mirror else 1, 0))
        cv.fill(edge, (90, 200, 255), 0.7)
    cv.fill(cv.rrect((0, band, w, band + 1), 0), (80, 190, 255), 0.55)
    cv.fill(cv.rrect((0, band + 1, w, band + 2), 0), (0, 0, 0), 0.5)


def _decorate_protein(cv, look, w, h, left, right):
    # A red lacquered stripe under the icon and caption that tapers off into the silver bar.
    swoosh = path((0, 2), ((200, 2), (300, 2), (360, 2)),
                  ((410, 2), (420, h - 6), (330, h - 3)),
                  ((220, h - 3), (100, h - 3), (0, h - 3)))
    mask = cv.polygon(swoosh)
    cv.shadow(mask, dx=1, dy=1, blur=1.5, opacity=0.35)
    cv.fill(mask, vgrad(2, h - 3, [(0.0, (240, 80, 70)), (0.5, (200, 30, 30)),
                                   (0.52, (176, 16, 18)), (1.0, (130, 8, 12))]))
    cv.fill(cv.intersect(mask, cv.rrect((0, 2, w, h / 2), 0)),
            vgrad(2, h / 2, [(0.0, (255, 255, 255, 120)), (1.0, (255, 255, 255, 20))]))


def _decorate_blueglass(cv, look, w, h, left, right):
    streak = cv.polygon([(40, 0), (90, 0), (50, h), (0, h)])
    cv.fill(streak, (255, 255, 255), 0.18)
    cv.fill(cv.polygon([(100, 0), (118, 0), (78, h), (60, h)]), (255, 255, 255), 0.12)
    cv.fill(cv.rrect((w - right, 0, w, h), 0), radial(w - right / 2, h, right / 2, h * 0.8,
                                                      [(0.0, (120, 220, 255, 90)),
                                                       (1.0, (120, 220, 255, 0))]))


_DECORATIONS = {
    "MACOS": _decorate_macos, "WINXP": _decorate_winxp, "DEEPBLUE": _decorate_deepblue,
    "PROTEIN": _decorate_protein, "BLUEGLASS": _decorate_blueglass,
}


def title_sections(look: Look):
    """(left, client, right) RGB pictures of the title bar."""
    left, client, right = look.title_widths
    h = look.title_height
    # Draw a bar wide enough for every decoration, then take the client column from its middle.
    middle = 200
    w = left + middle + right
    cv = _profile(look, w, h)
    _DECORATIONS[look.prefix](cv, look, w, h, left, right)
    cv.fill(cv.rrect((0, 0, w, 1), 0), look.border_colour)
    cv.fill(cv.rrect((0, 0, 1, h), 0), look.border_colour)
    cv.fill(cv.rrect((w - 1, 0, w, h), 0), look.border_colour)
    bar = flatten(cv.result(), look.title_stops[0][1])
    column = bar.crop((left + middle // 2, 0, left + middle // 2 + 1, h))
    return (bar.crop((0, 0, left, h)), column.resize((client, h), Image.NEAREST),
            bar.crop((w - right, 0, w, h)))


def title_buttons(look: Look, client_picture):
    """The 18-frame strip: control box, help, maximise, restore, minimise, close.

    Opaque looks carry the title bar behind each button, taken from the client section at the
    buttons' height, so the square picture sits seamlessly on the bar. See-through looks have
    fuchsia around the button instead.
    """
    n, top = look.title_button, look.title_button_top
    cv = Canvas(n * 18, n)
    for k, kind in enumerate(TITLE_BUTTON_KINDS):
        for s, state in enumerate(STATES):
            x0 = (k * 3 + s) * n
            _title_button(cv, look, kind, state, x0, n)
    picture = cv.result()
    column = client_picture.crop((0, top, 1, top + n))
    if look.title_buttons_transparent:
        return flatten_keyed(picture, column.getpixel((0, n // 2)))
    return flatten(picture, column.resize((n * 18, n), Image.NEAREST))


def _title_button(cv, look, kind, state, x0, n):
    if look.round_buttons:
        box = (x0 + 1, 1, x0 + n - 1, n - 1)
        mask = cv.ellipse(box)
    else:
        box = (x0, 0, x0 + n, n)
        mask = cv.rrect(box, 3)
    faces = look.title_faces or look.faces
    if kind == "close" and look.close_faces:
        faces = look.close_faces
    border = look.title_border or look.border[state]
    if kind == "close" and look.close_faces and not look.title_border:
        border = darken(faces[state][1], 0.45)
    cv.shadow(mask, dy=0.5, blur=0.8, opacity=0.3)
    look.face_with(cv, mask, box, faces[state], border, state)
    glyph = look.title_glyph if state == "normal" else (look.glyph_hot or look.title_glyph)
    if kind == "close" and look.close_faces and state != "normal":
        glyph = (255, 255, 255)  # on the red face of a hot or pressed close button
    shift = 1 if state == "pressed" else 0
    size = n * (0.46 if look.round_buttons else 0.52)
    mask = glyph_mask(cv, kind, x0 + n / 2 + shift, n / 2 + shift, size)
    if sum(glyph) > 600:  # light glyphs get a dark rim to stand out on glossy faces
        cv.fill(cv.blur(cv.grow(mask, 0.6), 0.5), (0, 0, 0), 0.35)
    cv.fill(mask, glyph)
