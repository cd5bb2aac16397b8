#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"

namespace kel {

TPixelImage DecodeBmp(const uint8_t*, size_t) { throw EInvalidGraphic("Bitmap image is not valid"); }
std::vector<uint8_t> EncodeBmp24(const TPixelImage&) { return {}; }

} // namespace kel
