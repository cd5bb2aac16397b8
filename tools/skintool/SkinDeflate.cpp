#include "tools/skintool/SkinDeflate.h"

#include "framework/SysUtils.h"

#include <zlib.h>

#include <algorithm>

namespace kel::skintool {

std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size) {
    z_stream z{};
    // Raw stream (negative window bits), the full 32 KB window, the most memory for speed.
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Exception("zlib could not start compressing");
    std::vector<uint8_t> out;
    std::vector<uint8_t> piece(1 << 16);
    size_t done = 0;
    int rc = Z_OK;
    do {
        // zlib counts in 32-bit units: the input goes in slices.
        const size_t slice = std::min<size_t>(size - done, 1u << 30);
        z.next_in = const_cast<Bytef*>(data + done);
        z.avail_in = static_cast<uInt>(slice);
        done += slice;
        const int flush = done == size ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = piece.data();
            z.avail_out = static_cast<uInt>(piece.size());
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR) break;
            out.insert(out.end(), piece.data(), z.next_out);
        } while (z.avail_out == 0);
    } while (done < size && rc != Z_STREAM_ERROR);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw Exception("zlib could not compress the skin data");
    return out;
}

} // namespace kel::skintool
