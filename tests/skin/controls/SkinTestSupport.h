// Helpers of the skinned-control tests: bitmaps drawn from text, window regions read back.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/win/Graphics.h"
#include "skin/controls/KELSkinFormRegion.h"

namespace kel::test {

// A bitmap drawn from rows of text: '.' is fuchsia, the skin's key colour; every other character
// is a colour of its own ('#' dark blue).
inline void DrawPattern(TBitmap& bitmap, const std::vector<std::string>& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = height ? static_cast<int>(rows[0].size()) : 0;
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const char c = rows[y][x];
            const TColor color = c == '.' ? clFuchsia : c == '#' ? 0x803010 : 0x010101u * c;
            bitmap.ScanLine(y)[x] = ColorToPixel(color);
        }
}

inline void FillBitmap(TBitmap& bitmap, int width, int height, TColor color) {
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.ScanLine(y)[x] = ColorToPixel(color);
}

// The rectangles a region consists of, as the system keeps them.
inline std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !GetRegionData(region, size, reinterpret_cast<RGNDATA*>(buffer.data())))
        return {};
    const auto* data = reinterpret_cast<const RGNDATA*>(buffer.data());
    std::vector<RECT> rects(data->rdh.nCount);
    std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    return rects;
}

// The window's region, or nullptr when it has none.
inline TRegionHandle WindowRegion(HWND window) {
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) return nullptr;
    return region;
}

} // namespace kel::test
