// TImageList: images of one size in a common-controls image list, drawn normally or greyed.
#include "framework/win/ImgList.h"
#include "framework/win/GraphicsSupport.h"

#include <algorithm>
#include <cstring>

namespace kel {

namespace {

void EnsureCommonControls() {
    static const bool initialised = [] {
        InitCommonControls();
        return true;
    }();
    (void)initialised;
}

// Pixels at least this bright (0..255 luminance) vanish in the greyed picture; darker ones are
// the "ink" that is embossed, so outlines and text stay readable while light faces disappear.
constexpr unsigned kGreyedInkLimit = 192;

bool IsInk(uint32_t pixel) {
    const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 299 + g * 587 + b * 114) / 1000 < kGreyedInkLimit;
}

// Paints `brushColor` wherever the monochrome source holds 0 and leaves the target elsewhere.
void PaintMonoInk(HDC target, int x, int y, int width, int height, HDC mono, TColor brushColor) {
    constexpr DWORD kRopDSPDxax = 0x00E20746; // result = source ? target : brush
    gdi::UniqueGdi<HBRUSH> brush(CreateSolidBrush(ColorToRGB(brushColor)));
    if (!brush) throw EOutOfResources("Out of system resources");
    gdi::ScopedSelect selected(target, brush.get());
    const COLORREF oldText = SetTextColor(target, RGB(255, 255, 255));
    const COLORREF oldBack = SetBkColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, width, height, mono, 0, 0, kRopDSPDxax);
    SetTextColor(target, oldText);
    SetBkColor(target, oldBack);
}

} // namespace

TImageList::TImageList(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxBmpPixels)
        throw EInvalidGraphicOperation("Invalid image size");
    EnsureCommonControls();
    list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 4);
    if (!list_) throw EOutOfResources("Out of system resources");
}

TImageList::~TImageList() {
    ImageList_Destroy(list_);
}

int TImageList::Count() const {
    return ImageList_GetImageCount(list_);
}

int TImageList::Add(const TBitmap& image) {
    return AddImage(image, false, clNone);
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    return AddImage(image, true, maskColor);
}

int TImageList::AddImage(const TBitmap& image, bool masked, TColor maskColor) {
    // The list gets a private copy of exactly one image: the caller's bitmap may be selected into
    // its canvas DC, and the masked add blackens the masked pixels of the bitmap it is given.
    const COLORREF key = ColorToRGB(maskColor);
    uint32_t* bits = nullptr;
    gdi::UniqueGdi<HBITMAP> copy = gdi::CreateDib32(width_, height_, &bits);
    // Outside the picture the image is transparent (masked) or black (unmasked).
    std::fill(bits, bits + static_cast<size_t>(width_) * height_, masked ? ColorToPixel(key) : 0);
    const int columns = std::min(width_, image.Width());
    for (int y = 0; y < std::min(height_, image.Height()); ++y)
        std::memcpy(bits + static_cast<size_t>(y) * width_, image.ScanLine(y),
                    static_cast<size_t>(columns) * sizeof(uint32_t));

    int index;
    if (masked) {
        index = ImageList_AddMasked(list_, copy.get(), key);
    } else {
        // An explicit all-opaque mask: a slot must not inherit the mask of an earlier image.
        const size_t maskBytes = static_cast<size_t>((width_ + 15) / 16 * 2) * height_;
        std::vector<uint8_t> zeros(maskBytes, 0);
        gdi::UniqueGdi<HBITMAP> mask(CreateBitmap(width_, height_, 1, 1, zeros.data()));
        if (!mask) throw EOutOfResources("Out of system resources");
        index = ImageList_Add(list_, copy.get(), mask.get());
    }
    if (index < 0) throw EOutOfResources("Out of system resources");
    if (masked_.size() <= static_cast<size_t>(index)) masked_.resize(index + 1);
    masked_[index] = masked;
    return index;
}

void TImageList::Clear() {
    ImageList_Remove(list_, -1);
    masked_.clear();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= Count()) return;
    HDC dc = canvas.Handle();
    if (!enabled) {
        DrawDisabled(dc, x, y, index);
        return;
    }
    // Images added through Handle() directly are unknown here: drawn with their mask.
    const bool masked = static_cast<size_t>(index) >= masked_.size() || masked_[index];
    ImageList_Draw(list_, index, dc, x, y, masked ? ILD_TRANSPARENT : ILD_NORMAL);
}

void TImageList::DrawDisabled(HDC dc, int x, int y, int index) {
    // The image as it shows on white: masked-out pixels come out white and so are never ink.
    TBitmap face(width_, height_);
    ImageList_Draw(list_, index, face.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);

    // Monochrome ink map, rows padded to 16 bits: 0 = ink, 1 = leave the target alone.
    const size_t rowBytes = static_cast<size_t>((width_ + 15) / 16 * 2);
    std::vector<uint8_t> monoBits(rowBytes * height_, 0xFF);
    for (int row = 0; row < height_; ++row) {
        const uint32_t* pixels = face.ScanLine(row);
        for (int column = 0; column < width_; ++column)
            if (IsInk(pixels[column]))
                monoBits[row * rowBytes + column / 8] &=
                    static_cast<uint8_t>(~(0x80u >> (column % 8)));
    }
    gdi::UniqueGdi<HBITMAP> mono(CreateBitmap(width_, height_, 1, 1, monoBits.data()));
    if (!mono) throw EOutOfResources("Out of system resources");
    gdi::UniqueDc monoDc = gdi::CreateMemoryDc();
    gdi::ScopedSelect selected(monoDc.get(), mono.get());

    // The classic greyed look: the ink in highlight one pixel down-right, then in shadow on top.
    PaintMonoInk(dc, x + 1, y + 1, width_, height_, monoDc.get(), clBtnHighlight);
    PaintMonoInk(dc, x, y, width_, height_, monoDc.get(), clBtnShadow);
}

} // namespace kel
