// The host window's region: rounded corners in the built-in styles, the outline of the title and
// bottom pictures with a file theme that asks for it, else the whole rectangle.
#include <algorithm>

#include "skin/controls/KELSkinFormRegion.h"
#include "skin/frame/KELForm.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

TRegionHandle Rect(int left, int top, int right, int bottom) {
    TRegionHandle region(CreateRectRgn(left, top, right, bottom));
    if (!region) throw EOutOfResources("Out of system resources");
    return region;
}

void Unite(HRGN target, HRGN other) {
    if (CombineRgn(target, target, other, RGN_OR) == ERROR)
        throw EOutOfResources("Out of system resources");
}

// A rounded rectangle whose two corners on one side (the bottom ones, or with `squareTop` the
// top ones) are squared off again.
TRegionHandle HalfRounded(int left, int top, int right, int bottom, int corner, bool squareTop) {
    TRegionHandle region(CreateRoundRectRgn(left, top, right, bottom, corner, corner));
    if (!region) throw EOutOfResources("Out of system resources");
    const int d = 2 * corner, w = right - 1;
    if (squareTop) {
        Unite(region.get(), Rect(left, top, d, top + d).get());
        Unite(region.get(), Rect(w - d, top, w, top + d).get());
    } else {
        const int h = bottom - 1;
        Unite(region.get(), Rect(left, h - d, d, h).get());
        Unite(region.get(), Rect(w - d, h - d, w, h).get());
    }
    return region;
}

// The region of a picture's rows in [first, last] that differ from the key, with every other row
// of the picture solid across `width`; placed at `top`. `mask` is scratch memory.
TRegionHandle PictureRows(const TBitmap& picture, TColor key, int first, int last, int width,
                          int top, TBitmap& mask) {
    const int height = picture.Height();
    mask.SetSize(std::max(width, 1), std::max(height, 1));
    const uint32_t keyPixel = ColorToPixel(key & 0xFFFFFF), solid = keyPixel ^ 1;
    for (int y = 0; y < height; ++y) {
        uint32_t* row = mask.ScanLine(y);
        if (y < first || y > last) {
            std::fill(row, row + width, solid);
            continue;
        }
        const uint32_t* source = picture.ScanLine(y);
        const int copied = std::min(width, picture.Width());
        std::copy(source, source + copied, row);
        std::fill(row + copied, row + width, keyPixel); // a run ends at the picture's edge
    }
    TRegionHandle region =
        height > 0 && width > 0 ? CreateWindowSkinRegion(mask, key & 0xFFFFFF) : Rect(0, 0, 0, 0);
    OffsetRgn(region.get(), 0, top);
    return region;
}

// The scanned rows of a picture of `height` rows: from `first` (0 for -1) to the theme's last row,
// or to the picture's last row when the limits are the wrong way round; kept inside the picture.
void ScannedRows(int height, int first, int lastLimit, int& from, int& to) {
    from = first == -1 ? 0 : first;
    to = from >= lastLimit ? height - 1 : lastLimit;
    from = std::clamp(from, 0, std::max(0, height));
    to = std::min(to, height - 1);
}

} // namespace

void TkelForm::UpdateRegion(bool redraw) {
    if (closing_ || !host_ || !host_->HandleAllocated()) return;
    HWND window = host_->Handle();
    RECT outer;
    GetWindowRect(window, &outer);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    TRegionHandle region;
    if (ResolveUIStyle(fileTheme_, uiStyle_).UseFileTheme) {
        const bool mdiSized = IsMDIChild() && (IsZoomed(window) || IsIconic(window));
        if ((titleRegion_ || bottomRegion_) && !mdiSized) {
            titleBar_->UpdateSections(); // the full title image for the present width
            region.reset(RegionFromPictures(w, h));
        } else {
            region = Rect(0, 0, w, h);
        }
    } else if (Designing()) {
        return;
    } else {
        const int half = h / 2, r = RoundCorner();
        const int rb = std::max(0, RoundCornerBottom());
        region = HalfRounded(0, 0, w + 1, half + 1, r, false);
        Unite(region.get(), HalfRounded(0, half, w + 1, h + 1, rb, true).get());
    }
    if (SetWindowRgn(window, region.get(), redraw)) region.release();
}

HRGN TkelForm::RegionFromPictures(int w, int h) {
    TGraphic* graphic = nullptr;
    const TBitmap* title = nullptr;
    if (titleBar_->Visible() && titleBar_->GetTitleGraphic(-1, graphic))
        title = dynamic_cast<TBitmap*>(graphic);
    const int hT = title && titleRegion_ ? title->Height() : 0;
    if (bottomRegion_) UpdateBottomImage(w);
    const int hM = bottomRegion_ && bottomImageWidth_ >= 0 ? bottomImage_.Height() : 0;
    TRegionHandle region = Rect(0, 0, 0, 0);
    int from = 0, to = -1;
    if (hT > 0) {
        ScannedRows(hT, titleFirstRow_, titleLastRow_, from, to);
        Unite(region.get(),
              PictureRows(*title, transparentColor_, from, to, w, 0, regionMask_).get());
    }
    Unite(region.get(), Rect(0, hT, w, h - hM).get());
    if (hM > 0) {
        ScannedRows(hM, bottomFirstRow_, bottomLastRow_, from, to);
        Unite(region.get(),
              PictureRows(bottomImage_, transparentColor_, from, to, w, h - hM, regionMask_).get());
    }
    return region.release();
}

} // namespace kel
