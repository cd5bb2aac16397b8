"""The five built-in looks: their colours, title bar geometry and how a button face is finished.

Every control picture of a look is drawn with `Look.face`, so a look's character (gel, rounded
blue, dark metal, silver with red, glass) is defined once here and every element follows it.
"""

from dataclasses import dataclass, field

from paint import Canvas, mix, radial, vgrad

STATES = ("normal", "hot", "pressed")


@dataclass
class Look:
    prefix: str
    finish: str  # gel, luna, metal, silver or glass
    form_colour: tuple  # form colour of the style table, RGB: corners blend toward it
    faces: dict  # state -> (top colour, bottom colour) of a button face
    border: dict  # state -> outline colour
    text: tuple  # colour of glyphs on faces
    accent: tuple  # marks, progress fill, selected tab line
    radius: float  # corner radius of a button face, in pixels
    # Title bar: picture height, widths of the left, client and right pictures, title-button
    # frame size, the buttons' top inside the pictures, whether the buttons are see-through.
    title_height: int = 23
    title_widths: tuple = (48, 49, 48)
    title_button: int = 19
    title_button_top: int = 2
    title_buttons_transparent: bool = False
    title_stops: list = field(default_factory=list)  # vertical profile of the title bar
    round_buttons: bool = False  # title buttons are balls rather than rounded squares
    title_faces: dict = None  # faces of the title buttons, when they differ from `faces`
    title_border: tuple = None  # outline of the title buttons, when it differs from `border`
    close_faces: dict = None  # faces of the close title button, when it has its own colour
    title_glyph: tuple = (60, 60, 60)  # glyph colour on a title button
    glyph_hot: tuple = None  # glyph colour on a hot or pressed title button
    border_colour: tuple = (0, 0, 0)  # the form's border colour from the style table, RGB

    def face(self, cv: Canvas, mask, box, state):
        """Paint a control face of the given state into `mask` (box = its logical bounds)."""
        self.face_with(cv, mask, box, self.faces[state], self.border[state], state)

    def face_with(self, cv: Canvas, mask, box, colours, border, state):
        x0, y0, x1, y1 = box
        w, h = x1 - x0, y1 - y0
        top, bottom = colours
        paint = getattr(self, "_" + self.finish)
        paint(cv, mask, box, w, h, top, bottom, state)
        cv.stroke_inside(mask, 1, border)

    # -- finishes -----------------------------------------------------------------------------
    def _gel(self, cv, mask, box, w, h, top, bottom, state):
        x0, y0, x1, y1 = box
        cv.fill(mask, vgrad(y0, y1, [(0.0, top), (0.5, mix(top, bottom, 0.4)), (1.0, bottom)]))
        # Light gathers at the bottom of a gel drop and a bright reflection sits on its top half.
        cv.fill(mask, radial((x0 + x1) / 2, y1, w * 0.55, h * 0.6,
                             [(0.0, lighten_a(bottom, 0.55, 200)), (1.0, lighten_a(bottom, 0.5, 0))]))
        inset = max(1.0, min(w, h) * 0.12)
        hl = cv.intersect(cv.rrect((x0 + inset, y0 + 1, x1 - inset, y0 + h * 0.52),
                                   max(1.0, self.radius * 0.7)), mask)
        cv.fill(hl, vgrad(y0 + 1, y0 + h * 0.52, [(0.0, (255, 255, 255, 235)),
                                                  (1.0, (255, 255, 255, 50))]))

    def _luna(self, cv, mask, box, w, h, top, bottom, state):
        x0, y0, x1, y1 = box
        cv.fill(mask, vgrad(y0, y1, [(0.0, mix(top, (255, 255, 255), 0.5)), (0.12, top),
                                     (0.85, bottom), (1.0, mix(bottom, (0, 0, 0), 0.08))]))
        inner = cv.grow(mask, -1)
        if state == "hot":
            cv.stroke_inside(inner, 2, (250, 190, 70), 0.9)
        elif state == "pressed":
            cv.stroke_inside(inner, 1, (0, 0, 0), 0.12)
        else:
            cv.stroke_inside(inner, 1, (255, 255, 255), 0.55)

    def _metal(self, cv, mask, box, w, h, top, bottom, state):
        x0, y0, x1, y1 = box
        cv.fill(mask, vgrad(y0, y1, [(0.0, top), (0.48, mix(top, bottom, 0.45)),
                                     (0.52, mix(top, bottom, 0.7)), (1.0, bottom)]))
        cv.fill(cv.intersect(cv.rrect((x0, y0 + 1, x1, y0 + 2), 0), mask), (200, 220, 255),
                0.55 if state != "pressed" else 0.15)
        if state == "hot":
            cv.fill(mask, radial((x0 + x1) / 2, y1, w * 0.6, h * 0.7,
                                 [(0.0, (90, 200, 255, 170)), (1.0, (90, 200, 255, 0))]))

    def _silver(self, cv, mask, box, w, h, top, bottom, state):
        x0, y0, x1, y1 = box
        cv.fill(mask, vgrad(y0, y1, [(0.0, top), (0.5, mix(top, bottom, 0.35)),
                                     (0.5, mix(top, bottom, 0.55)), (1.0, bottom)]))
        cv.stroke_inside(cv.grow(mask, -1), 1, (255, 255, 255), 0.7 if state != "pressed" else 0.2)
        if state == "hot":
            cv.fill(cv.intersect(cv.rrect((x0, y1 - 3, x1, y1), 0), mask), self.accent, 0.85)

    def _glass(self, cv, mask, box, w, h, top, bottom, state):
        x0, y0, x1, y1 = box
        cv.fill(mask, vgrad(y0, y1, [(0.0, top), (1.0, bottom)]))
        cv.fill(mask, radial((x0 + x1) / 2, y1 + h * 0.1, w * 0.6, h * 0.6,
                             [(0.0, (150, 230, 255, 190)), (1.0, (150, 230, 255, 0))]))
        hl = cv.intersect(cv.rrect((x0 + 1, y0 + 1, x1 - 1, y0 + h * 0.48),
                                   max(1.0, self.radius - 1)), mask)
        cv.fill(hl, vgrad(y0, y0 + h * 0.48, [(0.0, (255, 255, 255, 200)),
                                              (1.0, (255, 255, 255, 70))]))
        cv.stroke_inside(cv.grow(mask, -1), 1, (255, 255, 255), 0.45)


def lighten_a(c, t, alpha):
    return mix(c[:3], (255, 255, 255), t) + (alpha,)


def _rgb(bgr):
    """Colour of the style table (0x00BBGGRR) as an RGB tuple."""
    return (bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF)


MACOS = Look(
    prefix="MACOS", finish="gel", form_colour=_rgb(0x00E7E7E7),
    faces={"normal": ((250, 251, 252), (206, 210, 216)),
           "hot": ((92, 150, 232), (150, 214, 255)),
           "pressed": ((40, 92, 180), (96, 160, 235))},
    border={"normal": (140, 144, 150), "hot": (52, 92, 160), "pressed": (30, 60, 120)},
    text=(40, 40, 40), accent=(60, 130, 220), radius=11,
    title_height=23, title_widths=(48, 49, 48), title_button=17, title_button_top=4,
    title_stops=[(0.0, (252, 252, 252)), (0.15, (236, 236, 236)), (0.9, (204, 204, 204)),
                 (1.0, (150, 150, 150))],
    round_buttons=True,
    title_faces={"normal": ((150, 156, 168), (222, 226, 234)),
                 "hot": ((60, 120, 220), (140, 210, 255)),
                 "pressed": ((30, 70, 150), (80, 150, 230))},
    title_border=(100, 104, 112),
    close_faces={"normal": ((150, 156, 168), (222, 226, 234)),
                 "hot": ((200, 50, 44), (255, 150, 130)),
                 "pressed": ((130, 26, 22), (220, 90, 80))},
    title_glyph=(70, 72, 78), glyph_hot=(255, 255, 255), border_colour=_rgb(0x007F7F7F),
)

WINXP = Look(
    prefix="WINXP", finish="luna", form_colour=_rgb(0x00DEEBEF),
    faces={"normal": ((252, 252, 250), (226, 222, 210)),
           "hot": ((255, 255, 252), (232, 228, 216)),
           "pressed": ((214, 208, 194), (238, 236, 228))},
    border={"normal": (0, 60, 116), "hot": (0, 60, 116), "pressed": (0, 48, 96)},
    text=(20, 30, 60), accent=(50, 180, 60), radius=3,
    title_height=29, title_widths=(35, 37, 35), title_button=21, title_button_top=5,
    title_stops=[(0.0, (0, 88, 238)), (0.05, (60, 150, 255)), (0.14, (8, 100, 246)),
                 (0.5, (0, 82, 228)), (0.86, (0, 70, 214)), (1.0, (0, 50, 170))],
    title_faces={"normal": ((110, 170, 255), (20, 84, 230)),
                 "hot": ((150, 200, 255), (50, 120, 250)),
                 "pressed": ((10, 60, 190), (60, 130, 240))},
    title_border=(255, 255, 255),
    close_faces={"normal": ((236, 120, 90), (200, 50, 20)),
                 "hot": ((255, 160, 130), (232, 80, 40)),
                 "pressed": ((170, 40, 10), (210, 80, 50))},
    title_glyph=(255, 255, 255), glyph_hot=(255, 255, 255), border_colour=_rgb(0x00C82C00),
)

DEEPBLUE = Look(
    prefix="DEEPBLUE", finish="metal", form_colour=_rgb(0x00E8E8E8),
    faces={"normal": ((78, 104, 156), (22, 36, 74)),
           "hot": ((104, 140, 204), (30, 56, 110)),
           "pressed": ((16, 28, 60), (54, 78, 128))},
    border={"normal": (10, 18, 40), "hot": (40, 150, 230), "pressed": (6, 12, 30)},
    text=(230, 238, 250), accent=(60, 160, 240), radius=3,
    title_height=32, title_widths=(97, 98, 97), title_button=19, title_button_top=2,
    title_stops=[(0.0, (10, 18, 40)), (0.06, (88, 118, 176)), (0.12, (58, 86, 142)),
                 (0.45, (32, 52, 100)), (0.72, (18, 32, 70)), (0.8, (36, 60, 110)),
                 (1.0, (14, 24, 52))],
    title_glyph=(200, 214, 240), glyph_hot=(150, 225, 255),
)

PROTEIN = Look(
    prefix="PROTEIN", finish="silver", form_colour=_rgb(0x00FBFBFB),
    faces={"normal": ((254, 254, 254), (210, 212, 218)),
           "hot": ((255, 255, 255), (222, 224, 230)),
           "pressed": ((196, 198, 204), (232, 234, 238))},
    border={"normal": (138, 140, 148), "hot": (190, 40, 40), "pressed": (110, 112, 120)},
    text=(50, 52, 58), accent=(210, 40, 40), radius=4,
    title_height=23, title_widths=(441, 1, 1), title_button=19, title_button_top=2,
    title_buttons_transparent=True,
    title_stops=[(0.0, (120, 124, 132)), (0.08, (246, 247, 249)), (0.5, (214, 216, 222)),
                 (0.92, (184, 187, 194)), (1.0, (130, 134, 142))],
    close_faces={"normal": ((250, 250, 250), (206, 208, 214)),
                 "hot": ((240, 90, 80), (180, 20, 20)),
                 "pressed": ((150, 16, 16), (200, 50, 44))},
    title_glyph=(70, 72, 80), glyph_hot=(200, 30, 30),
)

BLUEGLASS = Look(
    prefix="BLUEGLASS", finish="glass", form_colour=_rgb(0x00E7E7E7),
    faces={"normal": ((120, 170, 230), (40, 96, 180)),
           "hot": ((140, 200, 255), (50, 130, 230)),
           "pressed": ((30, 76, 150), (70, 130, 210))},
    border={"normal": (24, 60, 120), "hot": (30, 90, 170), "pressed": (16, 44, 96)},
    text=(255, 255, 255), accent=(70, 150, 240), radius=6,
    title_height=33, title_widths=(162, 179, 101), title_button=19, title_button_top=6,
    title_buttons_transparent=True,
    title_stops=[(0.0, (30, 70, 140)), (0.04, (200, 228, 255)), (0.1, (130, 180, 240)),
                 (0.48, (70, 130, 215)), (0.52, (40, 96, 190)), (0.9, (60, 130, 220)),
                 (1.0, (30, 70, 140))],
    round_buttons=True,
    close_faces={"normal": ((206, 80, 70), (140, 24, 16)),
                 "hot": ((240, 110, 96), (196, 40, 24)),
                 "pressed": ((120, 16, 8), (176, 50, 40))},
    title_glyph=(255, 255, 255), glyph_hot=(255, 255, 255),
)

LOOKS = [MACOS, WINXP, DEEPBLUE, PROTEIN, BLUEGLASS]
