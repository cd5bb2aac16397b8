// The DEFLATE compressor of skintool's packer: zlib's raw deflate at its best level.
//
// skintool had a compressor of its own (LZ77 with hash chains, fixed-Huffman blocks). Measured on
// the two demo skins, zlib at level 9 packs them within 0.6% of it on the first and 9% smaller on
// the second (156,619 against 155,735 bytes; 374,035 against 413,261), in half the time; and zlib
// is already what the tests use as the decoder's oracle. Keeping our own bought nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel::skintool {

// Compresses `data` into a raw DEFLATE stream (RFC 1951, no zlib or gzip wrapper). Raises
// kel::Exception when zlib fails.
std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size);

} // namespace kel::skintool
