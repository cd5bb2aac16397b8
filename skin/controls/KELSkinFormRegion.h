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

// Gives the window the region of the bitmap (redrawing it); the window owns the region then.
void BitmapToWindowRegion(HWND window, const TBitmap& bitmap, TColor key);

} // namespace kel
