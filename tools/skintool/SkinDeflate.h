// A small DEFLATE compressor for skintool's packer: LZ77 with hash chains over a 32 KB window,
// written as fixed-Huffman blocks, or as stored blocks where those come out smaller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel::skintool {

// Compresses `data` into a raw DEFLATE stream (RFC 1951, no zlib or gzip wrapper).
std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size);

} // namespace kel::skintool
