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

// Largest picture the decoder accepts, in pixels; larger headers are refused before allocating.
constexpr int64_t kMaxBmpPixels = 64LL * 1024 * 1024;

// Decodes a whole BMP file. Raises EInvalidGraphic("Bitmap image is not valid") for anything that
// is not a valid BMP, and never allocates more than the file can describe.
TPixelImage DecodeBmp(const uint8_t* data, size_t size);

// Encodes a picture as a 24-bit bottom-up BMP file (used by tools and tests).
std::vector<uint8_t> EncodeBmp24(const TPixelImage& image);

// Converts between a DIB pixel (0x00RRGGBB) and a colour value (0x00BBGGRR).
constexpr uint32_t PixelToColor(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
constexpr uint32_t ColorToPixel(uint32_t color) { return PixelToColor(color); }

} // namespace kel
