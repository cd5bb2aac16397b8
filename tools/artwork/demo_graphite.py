"""Graphite: a dark demo skin whose caption sits on a lighter tab that grows with the caption.

Five-part title: left end with the icon, the caption tab (stretched to the caption's width), the
tab's curved end, the bar (stretched) and the right end. The window's top and bottom corners are
round; the region is cut from the title and bottom pictures along their transparent corners.
"""

from demo_skin_parts import TRANSPARENT, FrameStyle, SkinFolder, lower_frame
from paint import Canvas, flatten_keyed, mix, path, vgrad
from style_looks import Look
from style_titles import title_buttons

HEIGHT = 30  # title pictures; the top 3 rows lie over the window's top frame
RADIUS = 8  # top corners
LEFT, TAB, TAB_END, BAR, RIGHT = 26, 8, 40, 8, 14  # widths of the five title pictures

BORDER = (18, 20, 24)
ACCENT = (74, 144, 226)
BAR_STOPS = [(0.0, (96, 102, 114)), (0.1, (70, 75, 85)), (0.55, (52, 56, 64)),
             (1.0, (40, 43, 50))]
TAB_STOPS = [(0.0, (132, 140, 156)), (0.1, (102, 110, 126)), (0.55, (80, 87, 101)),
             (1.0, (62, 68, 80))]

FRAME = FrameStyle(side=5, bottom=7, radius=6,
                   body=[(0.0, (44, 47, 54)), (1.0, (34, 37, 43))], border=BORDER,
                   highlight=(120, 126, 138), highlight_opacity=0.45, inner=(26, 28, 33))

BUTTONS = Look(
    prefix="GRAPHITE", finish="metal", form_colour=(236, 237, 240),
    faces={"normal": ((92, 98, 110), (50, 54, 62)),
           "hot": ((112, 160, 222), (42, 88, 156)),
           "pressed": ((28, 54, 100), (64, 110, 176))},
    border={"normal": (22, 24, 28), "hot": (30, 70, 130), "pressed": (16, 34, 70)},
    text=(230, 234, 240), accent=ACCENT, radius=3,
    title_height=HEIGHT, title_button=20, title_button_top=6, title_buttons_transparent=True,
    close_faces={"normal": ((92, 98, 110), (50, 54, 62)),
                 "hot": ((238, 100, 86), (176, 32, 24)),
                 "pressed": ((130, 20, 14), (196, 58, 44))},
    title_glyph=(214, 220, 230), glyph_hot=(255, 255, 255),
)


def _title_bar():
    """The whole bar in one drawing: [left | tab ... | tab end | bar ... | right]."""
    tab_to, bar_from = LEFT + 40, LEFT + 40 + TAB_END
    w = bar_from + 60 + RIGHT
    cv = Canvas(w, HEIGHT)
    outer = cv.rrect((0, 0, w, HEIGHT + RADIUS), RADIUS)
    cv.fill(outer, vgrad(0, HEIGHT, BAR_STOPS))
    # The tab keeps its height for a few pixels after the caption, then sweeps down into the bar.
    tab = cv.intersect(outer, cv.polygon(path(
        (0, 0), ((tab_to, 0), (tab_to, 0), (tab_to + 8, 0)),
        ((tab_to + 22, 0), (tab_to + 16, HEIGHT), (tab_to + 35, HEIGHT)),
        ((tab_to + 35, HEIGHT), (0, HEIGHT), (0, HEIGHT)))))
    cv.shadow(tab, dx=2, dy=0, blur=2.5, opacity=0.45)
    cv.fill(tab, vgrad(0, HEIGHT, TAB_STOPS))
    cv.fill(cv.subtract(tab, cv.shift(tab, -1, 0)), (170, 178, 194), 0.5)
    # Gloss over the upper half, an accent line under the tab, a dark last row.
    cv.fill(cv.intersect(outer, cv.rrect((0, 0, w, HEIGHT * 0.5), 0)),
            vgrad(0, HEIGHT * 0.5, [(0.0, (255, 255, 255, 40)), (1.0, (255, 255, 255, 6))]))
    cv.fill(cv.intersect(tab, cv.rrect((0, HEIGHT - 3, w, HEIGHT - 1), 0)), ACCENT, 0.9)
    cv.fill(cv.rrect((0, HEIGHT - 1, w, HEIGHT), 0), BORDER)
    cv.stroke_inside(cv.grow(outer, -1), 1, (255, 255, 255), 0.16)
    cv.stroke_inside(outer, 1, BORDER)
    return flatten_keyed(cv.result(), BORDER), tab_to, bar_from


def _column(picture, x, width):
    """A one-pixel column of `picture` repeated to `width`: a section the title bar stretches."""
    return picture.crop((x, 0, x + 1, HEIGHT)).resize((width, HEIGHT))


def build():
    bar, tab_to, bar_from = _title_bar()
    sections = [bar.crop((0, 0, LEFT, HEIGHT)), _column(bar, (LEFT + tab_to) // 2, TAB),
                bar.crop((tab_to, 0, tab_to + TAB_END, HEIGHT)),
                _column(bar, bar_from + 30, BAR), bar.crop((bar.width - RIGHT, 0, bar.width, HEIGHT))]
    left, right, bottom = lower_frame(FRAME, 3 * 14)
    third = bottom.width // 3
    skin = SkinFolder(name="Graphite", comment=__doc__.split("\n\n")[0])
    for i, picture in enumerate(sections, start=1):
        skin.pictures[f"SKIN2_TITLEBAR{i}"] = picture
    skin.pictures["SKIN2_TITLEBUTTONS"] = title_buttons(BUTTONS, sections[3])
    skin.pictures["SKIN2_FORMLEFTBORDER"] = left
    skin.pictures["SKIN2_FORMRIGHTBORDER"] = right
    # The bottom is read as one strip of three equal frames; the middle and right frames are also
    # stored on their own, as a bottom in three pictures would name them.
    skin.pictures["SKIN2_FORMBOTTOMBORDER1"] = bottom
    skin.pictures["SKIN2_FORMBOTTOMBORDER2"] = bottom.crop((third, 0, 2 * third, FRAME.bottom))
    skin.pictures["SKIN2_FORMBOTTOMBORDER3"] = bottom.crop((2 * third, 0, 3 * third, FRAME.bottom))
    skin.colours.update({
        "SKIN2_TRANSCOLOR": TRANSPARENT,
        "SKIN2_TITLEFONTCOLOR": (238, 242, 248),
        "SKIN2_FORMCOLOR": (236, 237, 240),
        "SKIN2_MENUBARSTARTCOLOR": (250, 250, 251),
        "SKIN2_MENUBARENDCOLOR": (222, 224, 229),
        "SKIN2_TOPSELECTEDMENUCOLOR": ACCENT,
        "SKIN2_TOPSELECTEDMENUBORDERCOLOR": (40, 96, 170),
        "SKIN2_TOPSELECTEDMENUFONTCOLOR": (255, 255, 255),
        "SKIN2_TOPMENUFONTCOLOR": (32, 35, 41),
        "SKIN2_LEFTBARSTARTCOLOR": (206, 210, 218),
        "SKIN2_LEFTBARENDCOLOR": (234, 236, 240),
        "SKIN2_MENUITEMCOLOR": (251, 251, 252),
        "SKIN2_MENUITEMFONTCOLOR": (32, 35, 41),
        "SKIN2_SELECTEDMENUCOLOR": mix(ACCENT, (255, 255, 255), 0.78),
        "SKIN2_SELECTEDMENUBORDERCOLOR": ACCENT,
        "SKIN2_SELECTEDMENUFONTCOLOR": (14, 34, 66),
    })
    skin.integers.update({
        "SKIN2_TITLEBARICONPOSX": 10, "SKIN2_TITLEBARICONPOSY": 8, "SKIN2_TITLEBARCAPTIONTOP": 9,
        "SKIN2_TITLEBARBUTTONPOSX": 5, "SKIN2_TITLEBARBUTTONPOSY": BUTTONS.title_button_top,
        # Rows scanned for the region: the round corners, no more.
        "SKIN2_TITLEBARREGIONMINY": 0, "SKIN2_TITLEBARREGIONMAXY": RADIUS,
        "SKIN2_BOTTOMREGIONMINY": 0, "SKIN2_BOTTOMREGIONMAXY": FRAME.bottom - 1,
    })
    skin.booleans.update({
        "SKIN2_TITLEFIVESECT": True, "SKIN2_BOTTOMBORDERTHREESECT": False,
        "SKIN2_TITLEBARNEEDREGION": True, "SKIN2_BOTTOMBORDERNEEDREGION": True,
        "SKIN2_TITLEBTNTRANS": True,
    })
    return skin
