"""Aqua: a light demo skin of glossy sea-blue glass with round gel title buttons.

Three-part title: left end, the bar (stretched) and the right end with a glass plate behind the
buttons. The window stays a plain rectangle (no region), so no picture carries the transparent
colour except the title-button strip around its round buttons. The bottom is three pictures.
"""

from demo_skin_parts import TRANSPARENT, FrameStyle, SkinFolder, lower_frame
from paint import Canvas, flatten, radial, vgrad
from style_looks import Look
from style_titles import title_buttons

HEIGHT = 30
LEFT, BAR, RIGHT = 48, 8, 76  # widths of the three title pictures
BOTTOM_END = 16  # width of the bottom's left and right pictures

BORDER = (36, 110, 150)
DEEP = (24, 120, 176)
BAR_STOPS = [(0.0, (232, 248, 255)), (0.08, (206, 238, 250)), (0.48, (150, 214, 240)),
             (0.5, (112, 196, 232)), (0.9, (150, 218, 244)), (1.0, (120, 196, 228))]

FRAME = FrameStyle(side=5, bottom=6, radius=0,
                   body=[(0.0, (126, 202, 234)), (1.0, (96, 176, 214))], border=BORDER,
                   highlight=(255, 255, 255), highlight_opacity=0.55, inner=(70, 150, 192))

BUTTONS = Look(
    prefix="AQUA", finish="gel", form_colour=(240, 247, 251),
    faces={"normal": ((40, 130, 196), (120, 210, 245)),
           "hot": ((30, 150, 230), (140, 230, 255)),
           "pressed": ((14, 80, 140), (60, 150, 210))},
    border={"normal": (20, 84, 130), "hot": (16, 90, 150), "pressed": (10, 56, 100)},
    text=(255, 255, 255), accent=DEEP, radius=9,
    title_height=HEIGHT, title_button=19, title_button_top=6, title_buttons_transparent=True,
    round_buttons=True,
    close_faces={"normal": ((196, 56, 40), (250, 150, 120)),
                 "hot": ((226, 70, 46), (255, 176, 140)),
                 "pressed": ((130, 26, 16), (210, 84, 60))},
    title_glyph=(255, 255, 255), glyph_hot=(255, 255, 255),
)


def _title_bar():
    """The whole bar in one drawing: [left | bar ... | right]."""
    w = LEFT + 60 + RIGHT
    cv = Canvas(w, HEIGHT)
    whole = cv.rrect((0, 0, w, HEIGHT), 0)
    cv.fill(whole, vgrad(0, HEIGHT, BAR_STOPS))
    # Light pooling at the left end, and a darker glass plate the buttons sit on.
    cv.fill(whole, radial(0, HEIGHT * 0.6, LEFT * 0.9, HEIGHT * 0.7,
                          [(0.0, (255, 255, 255, 110)), (1.0, (255, 255, 255, 0))]))
    plate = cv.rrect((w - RIGHT + 5, 4, w - 5, HEIGHT - 3), 11)
    cv.fill(plate, vgrad(4, HEIGHT - 3, [(0.0, (30, 110, 160, 70)), (1.0, (30, 110, 160, 25))]))
    cv.stroke_inside(plate, 1, (255, 255, 255), 0.5)
    cv.stroke_inside(cv.grow(whole, -1), 1, (255, 255, 255), 0.5)
    cv.stroke_inside(whole, 1, BORDER)
    cv.fill(cv.rrect((0, HEIGHT - 1, w, HEIGHT), 0), FRAME.inner)
    return flatten(cv.result(), BAR_STOPS[0][1])


def build():
    bar = _title_bar()
    w = bar.width
    client = bar.crop((LEFT + 30, 0, LEFT + 31, HEIGHT)).resize((BAR, HEIGHT))
    right_end = bar.crop((w - RIGHT, 0, w, HEIGHT))
    left, right, bottom = lower_frame(FRAME, 2 * BOTTOM_END + 8)
    skin = SkinFolder(name="Aqua", comment=__doc__.split("\n\n")[0])
    skin.pictures["SKIN2_TITLEBAR1"] = bar.crop((0, 0, LEFT, HEIGHT))
    skin.pictures["SKIN2_TITLEBAR2"] = client
    skin.pictures["SKIN2_TITLEBAR3"] = right_end
    # A three-part title reads no fourth and fifth picture; they hold the bar and the right end,
    # the parts a five-part reading would put there.
    skin.pictures["SKIN2_TITLEBAR4"] = client
    skin.pictures["SKIN2_TITLEBAR5"] = right_end
    skin.pictures["SKIN2_TITLEBUTTONS"] = title_buttons(BUTTONS, client)
    skin.pictures["SKIN2_FORMLEFTBORDER"] = left
    skin.pictures["SKIN2_FORMRIGHTBORDER"] = right
    skin.pictures["SKIN2_FORMBOTTOMBORDER1"] = bottom.crop((0, 0, BOTTOM_END, FRAME.bottom))
    skin.pictures["SKIN2_FORMBOTTOMBORDER2"] = bottom.crop((BOTTOM_END, 0, BOTTOM_END + 8,
                                                            FRAME.bottom))
    skin.pictures["SKIN2_FORMBOTTOMBORDER3"] = bottom.crop((bottom.width - BOTTOM_END, 0,
                                                            bottom.width, FRAME.bottom))
    skin.colours.update({
        "SKIN2_TRANSCOLOR": TRANSPARENT,
        "SKIN2_TITLEFONTCOLOR": (12, 52, 84),
        "SKIN2_FORMCOLOR": (240, 247, 251),
        "SKIN2_MENUBARSTARTCOLOR": (252, 254, 255),
        "SKIN2_MENUBARENDCOLOR": (218, 238, 248),
        "SKIN2_TOPSELECTEDMENUCOLOR": (52, 158, 214),
        "SKIN2_TOPSELECTEDMENUBORDERCOLOR": (24, 110, 166),
        "SKIN2_TOPSELECTEDMENUFONTCOLOR": (255, 255, 255),
        "SKIN2_TOPMENUFONTCOLOR": (14, 48, 76),
        "SKIN2_LEFTBARSTARTCOLOR": (150, 214, 240),
        "SKIN2_LEFTBARENDCOLOR": (222, 242, 251),
        "SKIN2_MENUITEMCOLOR": (255, 255, 255),
        "SKIN2_MENUITEMFONTCOLOR": (14, 48, 76),
        "SKIN2_SELECTEDMENUCOLOR": (206, 236, 250),
        "SKIN2_SELECTEDMENUBORDERCOLOR": (52, 158, 214),
        "SKIN2_SELECTEDMENUFONTCOLOR": (8, 40, 66),
    })
    skin.integers.update({
        "SKIN2_TITLEBARICONPOSX": 10, "SKIN2_TITLEBARICONPOSY": 8, "SKIN2_TITLEBARCAPTIONTOP": 9,
        "SKIN2_TITLEBARBUTTONPOSX": 8, "SKIN2_TITLEBARBUTTONPOSY": BUTTONS.title_button_top,
        # No region is cut; the limits would scan the whole pictures.
        "SKIN2_TITLEBARREGIONMINY": 0, "SKIN2_TITLEBARREGIONMAXY": HEIGHT - 1,
        "SKIN2_BOTTOMREGIONMINY": 0, "SKIN2_BOTTOMREGIONMAXY": FRAME.bottom - 1,
    })
    skin.booleans.update({
        "SKIN2_TITLEFIVESECT": False, "SKIN2_BOTTOMBORDERTHREESECT": True,
        "SKIN2_TITLEBARNEEDREGION": False, "SKIN2_BOTTOMBORDERNEEDREGION": False,
        "SKIN2_TITLEBTNTRANS": True,
    })
    return skin
