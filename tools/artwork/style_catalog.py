"""Every built-in style bitmap resource: its name and how it is drawn.

This table is the one source for the style pictures the generator writes and for the resource
script that compiles them into the program.
"""

import style_extras as extras
import style_widgets as widgets
from dataclasses import replace

from style_looks import LOOKS, MACOS, PROTEIN, WINXP
from style_titles import title_buttons, title_sections

# Button strips (three frames) have fixed sizes; so do the title pictures (see style_looks).
BUTTON_SIZES = {"MACOS": (252, 23), "WINXP": (54, 21), "DEEPBLUE": (222, 21),
                "PROTEIN": (222, 21), "BLUEGLASS": (231, 27)}

_WIDGETS = [
    ("CHECKBOX", widgets.checkbox),
    ("RADIOBUTTON", widgets.radiobutton),
    ("PROGRESSBAR", widgets.progressbar),
    ("TRACKBAR_BAR", widgets.trackbar_bar),
    ("TRACKBAR_SLIDER", widgets.trackbar_slider),
    ("TRACKBAR_SLIDER_V", lambda look: widgets.trackbar_slider(look, vertical=True)),
    ("SCROLLBAR_BUTTON", widgets.scrollbar_button),
    ("SCROLLBAR_TRACK", widgets.scrollbar_track),
    ("CHECKLIST", widgets.checklist),
    ("TAB", widgets.tab),
    ("TAB_LINE", widgets.tab_line),
    ("SIDECHENNEL_HANDLE", widgets.sidechannel_handle),
    ("SIDECHENNEL_BAR", widgets.sidechannel_bar),
]

_OWN_SCROLLBUTTON = ("MACOS", "WINXP")  # the other looks share MORE_SCROLLBUTTON

# MORE_SCROLLBUTTON serves dark and light looks alike, so it is plain silver with grey arrows.
_NEUTRAL = replace(PROTEIN, prefix="MORE", accent=(64, 68, 78),
                   border={"normal": (138, 140, 148), "hot": (100, 104, 114),
                           "pressed": (100, 104, 114)})


def _look_entries(look):
    titles = {}

    def sections():
        if not titles:
            titles["s"] = title_sections(look)
        return titles["s"]

    p = look.prefix
    entries = [
        (f"{p}_BUTTON", lambda: widgets.button(look, *BUTTON_SIZES[p])),
        (f"{p}_TITLEBTN", lambda: title_buttons(look, sections()[1])),
        (f"{p}_TITLE_LEFT", lambda: sections()[0]),
        (f"{p}_TITLE_CLIENT", lambda: sections()[1]),
        (f"{p}_TITLE_RIGHT", lambda: sections()[2]),
    ]
    entries += [(f"{p}_{element}", (lambda fn=fn: fn(look))) for element, fn in _WIDGETS]
    if p in _OWN_SCROLLBUTTON:
        entries.append((f"{p}_SCROLLBUTTON", lambda: widgets.scrollbutton(look)))
    return entries


def entries():
    """[(resource name, function returning the RGB picture)] in resource script order."""
    out = []
    for look in LOOKS:
        out += _look_entries(look)
    out += [
        ("MORE_SCROLLBUTTON", lambda: widgets.scrollbutton(_NEUTRAL)),
        ("MACOS_MENU_BAR", extras.macos_menu_bar),
        ("MACOS_MENU_SELECT", extras.macos_menu_select),
        ("MACOS_FORM_BACKGROUND", extras.macos_form_background),
        ("PROTEIN_FORM_BACKGROUND", extras.protein_form_background),
        ("MACOS_COMBOBOX_BUTTON", lambda: widgets.combobox_button(MACOS)),
        ("WINXP_COMBOBOX_BUTTON", lambda: widgets.combobox_button(WINXP)),
        ("MENU_CHECKED", extras.menu_checked),
    ]
    return out


def names():
    return [name for name, _ in entries()]
