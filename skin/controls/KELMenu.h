// The drawing pieces of owner-drawn menus: hooking the measure and draw handlers into an item
// tree, framed and filled rectangles, separators, the MacOS item pictures, the flat border of a
// menu window and the system's menu font.
#pragma once

#include <windows.h>

#include "framework/win/Graphics.h"
#include "framework/win/Menus.h"

namespace kel {

// Gives the item and every sub-item, depth first in index order, the two handlers.
void HookMenuItems(TMenuItem& item, const TMenuMeasureEvent& measure, const TMenuDrawEvent& draw);

void FrameRectColor(TCanvas& canvas, const RECT& rect, TColor color);
void FillRectColor(TCanvas& canvas, const RECT& rect, TColor color);

// One line 2 pixels below the top, clear of the side bar: from left + bar width + 4 to right - 2
// reading left to right, from left + 2 to right - bar width - 4 otherwise.
void DrawMenuSeparator(TCanvas& canvas, const RECT& rect, TColor color, bool leftToRight,
                       int barWidth);

// The MacOS style's menu pictures stretched over the rectangle: the menu-bar picture cut to 12
// rows for a separator or 20 for an item, the selection picture cut to 20 rows.
void DrawMacMenuSeparator(TCanvas& canvas, const RECT& rect);
// The whole menu-bar and selection pictures stretched over a menu bar or one of its buttons.
void DrawMacMenuBar(TCanvas& canvas, const RECT& rect);
void DrawMacMenuBarSelection(TCanvas& canvas, const RECT& rect);
void DrawMacMenuItem(TCanvas& canvas, const RECT& rect);
void DrawMacMenuSelected(TCanvas& canvas, const RECT& rect);

// The flat border of a pop-up menu window: an outer frame, a white frame inside it, and lines in
// the line colour along the bottom, right and top edges. Drawn on the menu window's own window
// DC, which reaches the screen wherever the window is.
void DrawMenuOutline(HWND window, TColor outer, TColor line);

// A bitmap resource of the library, decoded on first use and kept for the program's life (the
// pictures never change). A missing resource raises EResNotFound each time it is asked for.
TBitmap& LibraryPicture(const char* name);

// The system's menu font and menu-text colour; the font stays as it is when the system does not
// say.
void UseSystemMenuFont(TFont& font);

} // namespace kel
