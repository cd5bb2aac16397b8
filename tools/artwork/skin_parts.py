"""What both launcher skins share: the 31 file names and the way a button's pictures are made.

The launcher draws each button opaque at its place over main.bmp, so every button picture starts
as the piece of main.bmp it covers; the button's own shapes and letters go on top. That way a
button blends with the window whatever it draws.
"""

from paint import Canvas, flatten

# Button name, picture file stem (the files are <stem>1.bmp, <stem>2.bmp, <stem>3.bmp).
BUTTONS = [
    ("ButtonMin", "min"),
    ("ButtonClose", "close"),
    ("ButtonDataCDDVD", "data"),
    ("ButtonVCDDVDVideo", "video"),
    ("ButtonAudioCD", "audio"),
    ("ButtonMoreTools", "moretools"),
    ("ButtonHelp", "help"),
    ("ButtonAbout", "about"),
    ("ButtonHome", "home"),
    ("ButtonMoreFreeTools", "more"),
]

STATES = ("normal", "hover", "pressed")  # pictures 1, 2 and 3


def file_names():
    """The 31 bitmap names of a skin folder."""
    return ["main.bmp"] + [f"{stem}{i}.bmp" for _, stem in BUTTONS for i in (1, 2, 3)]


def button_pictures(main, box, shapes, letters=None):
    """[normal, hover, pressed] RGB pictures of the button occupying `box` of `main`.

    shapes(cv, state) paints on a canvas of the button's size; letters(img, state) then writes
    text onto the downsampled picture at its final size, where hinting keeps it sharp.
    """
    x, y, w, h = box
    behind = main.crop((x, y, x + w, y + h))
    out = []
    for state in STATES:
        cv = Canvas(w, h)
        shapes(cv, state)
        img = flatten(cv.result(), behind)
        if letters:
            letters(img, state)
        out.append(img)
    return out


def edge_fade(cv: Canvas, width=4):
    """Mask that is full inside and falls to nothing at the picture's border.

    Glows are limited by it: a glow cut off by the picture's edge would show a hard line against
    main.bmp around the lit button.
    """
    inner = cv.rrect((width, width, cv.w - width, cv.h - width), 0)
    return cv.blur(inner, width / 2.5)


def press_offset(state):
    """Pressed pictures move their content one pixel right and down."""
    return 1 if state == "pressed" else 0

