// Shared drawing and geometry routines of the window frame, title bar and menus: colour
// gradients, the three-part stretchable strip, rectangles and the work area, colours by channel,
// and whether a form paints as active. Each works on what the caller passes and keeps nothing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/win/Controls.h"
#include "framework/win/Graphics.h"

namespace kel {

class TCustomForm;

// True when left <= x <= right and top <= y <= bottom: the right and bottom edges count as
// inside, unlike the system's PtInRect.
bool PointInRect(POINT point, const RECT& rect);

// The work area of the monitor nearest the main form's window; the system work area without a
// main form.
RECT GetWorkArea();

// Left, top, width and height of the control from a rectangle, each through its own setter.
void SetBoundsFromRect(TControl& control, const RECT& rect);

// red + green * 256 + blue * 65536 of the low bytes.
TColor MakeColor(int red, int green, int blue);
struct TColorChannels {
    uint8_t Red, Green, Blue;
};
// The channels of a colour; a system colour is resolved first.
TColorChannels SplitColor(TColor color);

// One pen line per row from the top colour to the bottom colour; nothing for an empty rectangle.
void GradientFillVertical(TCanvas& canvas, const RECT& rect, TColor top, TColor bottom);
// One pen line per column from the left colour to the right colour.
void GradientFillHorizontal(TCanvas& canvas, const RECT& rect, TColor left, TColor right);

// A strip of three equal frames (left cap, stretchable middle, right cap) drawn into the
// rectangle; narrower than one frame, only the left part of the left cap shows. With `masked`,
// pixels of the mask colour stay transparent.
void DrawThreePartStrip(const TBitmap& strip, TCanvas& canvas, const RECT& rect, TColor maskColor,
                        bool masked);

// Whether the form paints its frame as active: the form's own flag, refined by the application's
// focus and the main form's MDI state.
bool IsFormActive(const TCustomForm* form);

} // namespace kel
