"""Control pictures of a look: button strips, check boxes, scroll bars, tabs and the like.

Frames lie side by side in one strip. Whatever a picture leaves uncovered is fuchsia, so that a
control drawing it see-through keys it out by its top-left pixel; edges blend toward the look's
form colour, the colour such pictures normally stand on.
"""

from glyphs import glyph_mask
from paint import Canvas, flatten_keyed, mix, vgrad
from style_looks import STATES, Look


def _strip(look: Look, frames, fw, fh, draw, open_bottom=0):
    """Strip of `frames` frames of fw x fh; draw(cv, index, x0) paints one frame.

    With `open_bottom` the frames are drawn that much taller and cut, so shapes that continue
    below the picture (tabs, headers) have no outline along the bottom.
    """
    cv = Canvas(frames * fw, fh + open_bottom)
    for i in range(frames):
        draw(cv, i, i * fw)
    return flatten_keyed(cv.result().crop((0, 0, frames * fw, fh)), look.form_colour)


def _mark_colour(look, state):
    if look.finish == "gel" and state != "normal":
        return (255, 255, 255)
    if look.finish == "luna":
        return (34, 150, 40)
    if look.finish == "silver":
        return look.accent
    return look.text


def _dim(cv, look, mask):
    """Disabled rendering: the face washed out toward the form colour."""
    cv.fill(mask, look.form_colour, 0.55)


def button(look: Look, width, height):
    def draw(cv, i, x0):
        box = (x0, 0, x0 + width // 3, height)
        look.face(cv, cv.rrect(box, look.radius), box, STATES[i])
    return _strip(look, 3, width // 3, height, draw)


def _check_states():
    """(checked, state, disabled) of the eight check box and radio button frames."""
    out = []
    for checked in (False, True):
        out += [(checked, s, False) for s in STATES] + [(checked, "normal", True)]
    return out


def checkbox(look: Look, size=13):
    def draw(cv, i, x0):
        checked, state, disabled = _check_states()[i]
        box = (x0, 0, x0 + size, size)
        mask = cv.rrect(box, min(3, look.radius * 0.4))
        look.face(cv, mask, box, state)
        if checked:
            cv.fill(glyph_mask(cv, "check", x0 + size / 2, size / 2, size * 0.8),
                    _mark_colour(look, state))
        if disabled:
            _dim(cv, look, mask)
    return _strip(look, 8, size, size, draw)


def radiobutton(look: Look, size=13):
    def draw(cv, i, x0):
        checked, state, disabled = _check_states()[i]
        box = (x0, 0, x0 + size, size)
        mask = cv.ellipse(box)
        look.face(cv, mask, box, state)
        if checked:
            cv.fill(glyph_mask(cv, "dot", x0 + size / 2, size / 2, size * 0.9),
                    _mark_colour(look, state))
        if disabled:
            _dim(cv, look, mask)
    return _strip(look, 8, size, size, draw)


def checklist(look: Look, size=13):
    """Unchecked, checked, undecided and disabled marks of a check list box."""
    def draw(cv, i, x0):
        box = (x0, 0, x0 + size, size)
        mask = cv.rrect(box, 2)
        look.face(cv, mask, box, "normal")
        colour = _mark_colour(look, "normal")
        if i in (1, 3):
            cv.fill(glyph_mask(cv, "check", x0 + size / 2, size / 2, size * 0.8), colour)
        if i == 2:
            cv.fill(cv.rrect((x0 + 3, 3, x0 + size - 3, size - 3), 1), colour, 0.6)
        if i == 3:
            _dim(cv, look, mask)
    return _strip(look, 4, size, size, draw)


def _recess(cv, look, mask, box):
    """A sunken track: darker at the top where the edge casts its shadow."""
    x0, y0, x1, y1 = box
    base = look.form_colour if look.finish != "metal" else (40, 56, 90)
    cv.fill(mask, vgrad(y0, y1, [(0.0, mix(base, (0, 0, 0), 0.22)), (0.4, mix(base, (0, 0, 0), 0.08)),
                                 (1.0, mix(base, (255, 255, 255), 0.5))]))
    cv.stroke_inside(mask, 1, mix(look.border["normal"], base, 0.3))


def progressbar(look: Look, fw=32, fh=16):
    """Frame 1 the empty track, frame 2 the filled part; both stretch along their middle."""
    def draw(cv, i, x0):
        box = (x0, 0, x0 + fw, fh)
        mask = cv.rrect(box, min(4, look.radius))
        if i == 0:
            _recess(cv, look, mask, box)
        else:
            accent = look.accent
            look.face_with(cv, mask, box, (mix(accent, (255, 255, 255), 0.45), mix(accent, (0, 0, 0), 0.2)),
                           mix(accent, (0, 0, 0), 0.5), "normal")
    return _strip(look, 2, fw, fh, draw)


def trackbar_bar(look: Look, width=30, height=5):
    """A three-part groove: left cap, stretchable middle, right cap."""
    cv = Canvas(width, height)
    box = (0, 0, width, height)
    _recess(cv, look, cv.rrect(box, height / 2), box)
    return flatten_keyed(cv.result(), look.form_colour)


def _thumb_points(x0, w, h, vertical):
    """A slider thumb pointing down (or right): a rounded body ending in a point."""
    if vertical:
        return [(x0, 0), (x0 + w * 0.62, 0), (x0 + w, h / 2), (x0 + w * 0.62, h), (x0, h)]
    return [(x0, 0), (x0 + w, 0), (x0 + w, h * 0.62), (x0 + w / 2, h), (x0, h * 0.62)]


def trackbar_slider(look: Look, vertical=False):
    fw, fh = (19, 11) if vertical else (11, 19)

    def draw(cv, i, x0):
        mask = cv.polygon(_thumb_points(x0, fw, fh, vertical))
        look.face(cv, mask, (x0, 0, x0 + fw, fh), STATES[i])
    return _strip(look, 3, fw, fh, draw)


def scrollbar_button(look: Look, size=17):
    """Up, down, left and right arrows, each normal, hot and pressed."""
    def draw(cv, i, x0):
        direction, state = ("up", "down", "left", "right")[i // 3], STATES[i % 3]
        box = (x0, 0, x0 + size, size)
        look.face(cv, cv.rrect(box, min(3, look.radius)), box, state)
        shift = 1 if state == "pressed" else 0
        cv.fill(glyph_mask(cv, direction, x0 + size / 2 + shift, size / 2 + shift, size * 0.6),
                _mark_colour(look, state) if look.finish != "luna" else (40, 60, 110))
    return _strip(look, 12, size, size, draw)


def scrollbar_track(look: Look, size=17):
    """Frame 1 the track, frames 2 to 4 the thumb normal, hot and pressed (with grip lines)."""
    def draw(cv, i, x0):
        box = (x0, 0, x0 + size, size)
        if i == 0:
            _recess(cv, look, cv.rrect(box, 0), box)
            return
        state = STATES[i - 1]
        look.face(cv, cv.rrect((x0, 1, x0 + size, size - 1), min(4, look.radius)), box, state)
        grip = mix(look.border[state], (255, 255, 255), 0.2)
        for k in (-3, 0, 3):
            cv.fill(cv.rrect((x0 + 5, size / 2 + k - 0.5, x0 + size - 5, size / 2 + k + 0.5), 0),
                    grip, 0.8)
    return _strip(look, 4, size, size, draw)


def tab(look: Look, fw=24, fh=22):
    """Tab normal, hot and selected; the selected one is taller and joins the page below."""
    def draw(cv, i, x0):
        top = 0 if i == 2 else 2
        box = (x0, top, x0 + fw, fh + 4)
        mask = cv.rrect(box, max(3, look.radius * 0.6))
        look.face(cv, mask, box, ("normal", "hot", "normal")[i])
        if i == 2:
            cv.fill(cv.intersect(mask, cv.rrect((x0, 0, x0 + fw, 3), 0)), look.accent, 0.9)
    return _strip(look, 3, fw, fh, draw, open_bottom=6)


def tab_line(look: Look, width=30, height=4):
    """The edge under a row of tabs, as a three-part strip."""
    cv = Canvas(width, height, background=look.faces["normal"][1] + (255,))
    cv.fill(cv.rrect((0, 0, width, 1), 0), look.border["normal"])
    cv.fill(cv.rrect((0, 1, width, 2), 0), (255, 255, 255), 0.5)
    return flatten_keyed(cv.result(), look.form_colour)


def sidechannel_handle(look: Look, size=20):
    """Round handle that collapses (frame 1) or expands (frame 2) a side channel."""
    def draw(cv, i, x0):
        box = (x0 + 1, 1, x0 + size - 1, size - 1)
        look.face(cv, cv.ellipse(box), box, "normal")
        cv.fill(glyph_mask(cv, "up" if i == 0 else "down", x0 + size / 2, size / 2, size * 0.55),
                _mark_colour(look, "normal") if look.finish != "luna" else (40, 60, 110))
    return _strip(look, 2, size, size, draw)


def sidechannel_bar(look: Look, fw=30, fh=24):
    """Header of a side channel: rounded left cap, stretchable middle, rounded right cap."""
    def draw(cv, i, x0):
        box = (0, 0, fw * 3, fh + 6)
        look.face(cv, cv.rrect(box, 6), box, "normal")
    return _strip(look, 1, fw * 3, fh, draw, open_bottom=6)


def scrollbutton(look: Look, size=15):
    """Menu scroll arrows: up normal, hot, pressed, then down normal, hot, pressed."""
    def draw(cv, i, x0):
        direction, state = ("up", "down")[i // 3], STATES[i % 3]
        box = (x0, 0, x0 + size, size)
        look.face(cv, cv.rrect(box, min(3, look.radius)), box, state)
        cv.fill(glyph_mask(cv, direction, x0 + size / 2, size / 2, size * 0.6),
                _mark_colour(look, state) if look.finish != "luna" else (40, 60, 110))
    return _strip(look, 6, size, size, draw)


def combobox_button(look: Look, fw=17, fh=20):
    def draw(cv, i, x0):
        state = STATES[i]
        box = (x0, 0, x0 + fw, fh)
        look.face(cv, cv.rrect(box, min(4, look.radius)), box, state)
        shift = 1 if state == "pressed" else 0
        cv.fill(glyph_mask(cv, "down", x0 + fw / 2 + shift, fh / 2 + shift, fw * 0.6),
                _mark_colour(look, state) if look.finish != "luna" else (40, 60, 110))
    return _strip(look, 3, fw, fh, draw)
