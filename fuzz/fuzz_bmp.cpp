// Fuzz target of the BMP codec, as a file and as a packed DIB: any input decodes or is refused
// with the bitmap error, and a decoded picture is consistent and survives a 24-bit round trip.
#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"

#include <cstdlib>
#include <cstring>

namespace {

using Decoder = kel::TPixelImage (*)(const uint8_t*, size_t);

void Check(Decoder decode, const uint8_t* data, size_t size) {
    kel::TPixelImage image;
    try {
        image = decode(data, size);
    } catch (const kel::EInvalidGraphic& e) {
        if (std::strcmp(e.what(), kel::kInvalidBitmapMessage) != 0) std::abort();
        return;
    }
    const bool empty = image.Width == 0 && image.Height == 0;
    if (image.Empty() != empty || image.Width < 0 || image.Height < 0) std::abort();
    if (image.Pixels.size() != static_cast<size_t>(image.Width) * image.Height) std::abort();
    if (static_cast<int64_t>(image.Pixels.size()) > kel::kMaxBmpPixels) std::abort();
    for (uint32_t pixel : image.Pixels)
        if (pixel >> 24 != 0) std::abort();

    const std::vector<uint8_t> file = kel::EncodeBmp24(image);
    const kel::TPixelImage again = kel::DecodeBmp(file.data(), file.size());
    if (again.Width != image.Width || again.Height != image.Height || again.Pixels != image.Pixels)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(&kel::DecodeBmp, data, size);
    Check(&kel::DecodeDib, data, size);
    return 0;
}
