// Portable decoder of Windows BMP files (every variant Windows itself loads) into 32-bit pixels.
// Platform-neutral: the native build tests and fuzzes it, TBitmap uses it on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel {

// A decoded picture: Width x Height pixels, rows top to bottom, each pixel a 32-bit value laid
// out as in a 32-bit DIB section (0x00RRGGBB; the high byte is 0).
struct TPixelImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;

    bool Empty() const { return Width == 0 || Height == 0; }
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// The message of every refusal.
constexpr const char* kInvalidBitmapMessage = "Bitmap image is not valid";

// Largest picture the decoder accepts, in pixels; larger headers are refused before allocating.
constexpr int64_t kMaxBmpPixels = 64LL * 1024 * 1024;

// Ceilings on the pictures of one skin (a skin folder or the skin data of a skin file), far above
// any real skin (a few hundred thousand pixels in all) and far below what small hostile files can
// claim: an RLE8 or 1-bit BMP of 8192 x 8192 pixels takes 131 KB to 8 MB on disk and 256 MB
// decoded.
constexpr int64_t kMaxSkinPicturePixels = 16LL * 1024 * 1024; // 4096 x 4096, 64 MB decoded
constexpr int64_t kMaxSkinPixels = 32LL * 1024 * 1024;        // all pictures: 128 MB decoded

// A bound on what decoded pictures may cost. While a budget is in force on a thread, every picture
// the decoder makes on that thread is charged to it before its pixels are allocated; a picture of
// more than `perPicture` pixels, or more than what is left of `total`, is refused as invalid
// (EInvalidGraphic(kInvalidBitmapMessage)) without being decoded. Budgets nest: the one made last
// is in force until it goes, then the one before it again.
class TPixelBudget {
public:
    TPixelBudget(int64_t perPicture, int64_t total);
    ~TPixelBudget();
    TPixelBudget(const TPixelBudget&) = delete;
    TPixelBudget& operator=(const TPixelBudget&) = delete;

    int64_t Spent() const { return spent_; }

    // Charges a picture of `pixels` to the budget in force on this thread, if any; raises
    // EInvalidGraphic when it does not fit.
    static void Charge(int64_t pixels);

private:
    int64_t perPicture_;
    int64_t total_;
    int64_t spent_ = 0;
    TPixelBudget* outer_;
};

// Longest BMP file worth reading: the largest accepted picture at 4 bytes per pixel plus room for
// headers and palette. Readers of files and streams refuse longer input without reading it.
constexpr int64_t kMaxBmpFileSize = kMaxBmpPixels * 4 + 1024 * 1024;

// Decodes a whole BMP file. Raises EInvalidGraphic(kInvalidBitmapMessage) for anything that
// is not a valid BMP, and never allocates more than the file can describe.
//
// Accepted: the OS/2 core header (12 bytes), the OS/2 2.x header (16 or 64 bytes) and the Windows
// headers of 40, 52, 56, 108 and 124 bytes; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed,
// RLE8, RLE4 and bit-field masks (16 and 32 bits per pixel); bottom-up and top-down rows. A width
// or height of 0 gives an empty image. Palette indices beyond the stored palette give black, as
// do pixels an RLE stream leaves unwritten; RLE runs past the right edge are cut, and the stream
// ends once it moves beyond the last row. An RLE picture may hold at most 512 pixels per byte of
// compressed data plus 65536, which bounds what a small file can make the decoder allocate.
TPixelImage DecodeBmp(const uint8_t* data, size_t size);

// Decodes a packed DIB: a bitmap without the 14-byte file header, as bitmap resources and the
// clipboard store it. The pixel data follows header, masks and palette directly.
TPixelImage DecodeDib(const uint8_t* data, size_t size);

// Encodes a picture as a 24-bit bottom-up BMP file (used by tools and tests). Raises
// EInvalidGraphic if the pixel count does not match the size.
std::vector<uint8_t> EncodeBmp24(const TPixelImage& image);

// Converts between a DIB pixel (0x00RRGGBB) and a colour value (0x00BBGGRR).
constexpr uint32_t PixelToColor(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
constexpr uint32_t ColorToPixel(uint32_t color) {
    return PixelToColor(color);
}

} // namespace kel
