#include "skin/controls/KELSkinFormRegion.h"

namespace kel {

namespace {

// Adds the one-row rectangle [left, right] x [y] to the region.
void AddRun(HRGN region, int left, int right, int y) {
    const TRegionHandle row(CreateRectRgn(left, y, right + 1, y + 1));
    CombineRgn(region, region, row.get(), RGN_OR);
}

} // namespace

TRegionHandle CreateSkinRegionPerPixel(TBitmap& bitmap, TColor key) {
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (!region) throw EOutOfResources("Out of system resources");
    TCanvas& canvas = bitmap.Canvas();
    for (int y = 0; y < bitmap.Height(); ++y) {
        bool inside = false;
        int x1 = 0, x2 = 0;
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (canvas.Pixel(x, y) != key) {
                if (!inside) {
                    x1 = x;
                    inside = true;
                }
                x2 = x;
            } else if (inside) {
                AddRun(region.get(), x1, x2, y);
                inside = false;
            }
        }
        if (inside) AddRun(region.get(), x1, x2, y);
    }
    return region;
}

} // namespace kel
