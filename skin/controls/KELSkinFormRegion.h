// Window regions cut from a skin bitmap: the union of every pixel whose colour differs from a key
// colour. Coordinates are the bitmap's own, so pixel (0, 0) is the window's top-left corner.
#pragma once

#include <windows.h>

#include "framework/win/Graphics.h"
#include "framework/win/Handles.h"

namespace kel {

using TRegionHandle = gdi::UniqueGdi<HRGN>;

// Reads the pixels directly, joins rows whose runs repeat into taller rectangles and creates the
// region from the whole rectangle list at once. Raises EOutOfResources when GDI refuses.
TRegionHandle CreateSkinRegion(const TBitmap& bitmap, TColor key);

// The same region built the plain way: every pixel read through the bitmap's canvas and one
// rectangle region combined in per run of non-key pixels. Kept as the yardstick for the fast one.
TRegionHandle CreateSkinRegionPerPixel(TBitmap& bitmap, TColor key);

// Most rectangles a window's region may hold. Under Wine a window's region goes to the X server as
// one SHAPE request of 8 bytes per rectangle after a 16-byte header, and a request may not exceed
// 65,535 four-byte words: 32,765 rectangles pass, from 32,767 on the server refuses the request
// (BadLength) and Xlib's default error handler ends the process (measured under Xvfb). Long
// before that limit the window system slows down, more than in proportion: measured under Wine
// and Xvfb, 8,192 rectangles add about a second before the window shows, 16,000 from 4 to 20
// seconds, 24,000 about a minute and 32,000 more than a minute and a half, depending on how many
// rectangles share a row. No drawn skin comes near a few thousand; the limit leaves room for the
// largest real outlines and keeps a hostile one from stalling or ending the program.
constexpr size_t kMaxWindowRegionRects = 8192;

// The number of rectangles the system keeps for the region.
size_t RegionRectCount(HRGN region);

// The region a window may be given for the bitmap: CreateSkinRegion's when it has at most
// kMaxWindowRegionRects rectangles; otherwise the outline on a grid of 2, 4, 8, ... pixels, the
// finest that fits, where a cell belongs to the region when any of its pixels does. The coarse
// outline never cuts away a visible pixel: it only adds key-coloured fringes, as the bounding
// rectangle would, but keeps the picture's shape as far as the limit allows. `cellUsed`, when
// given, receives the grid (1: exact).
TRegionHandle CreateWindowSkinRegion(const TBitmap& bitmap, TColor key, int* cellUsed = nullptr);

// Gives the window CreateWindowSkinRegion's region (redrawing it); the window owns it then.
void BitmapToWindowRegion(HWND window, const TBitmap& bitmap, TColor key);

} // namespace kel
