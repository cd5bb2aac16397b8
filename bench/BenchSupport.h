// Shared by the native benchmarks: zlib's raw inflate as the peer, and the median of timings.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel::bench {

// zlib's raw inflate (no wrapper) with the same buffer sizes as our decoder: `read(buffer, size)`
// fills up to 16 KB of input, `write(data, size)` takes up to 32 KB of output. True when the
// stream ended properly.
template <class Read, class Write> bool ZlibInflateRaw(Read&& read, Write&& write) {
    std::vector<uint8_t> input(16384), output(32768);
    z_stream z{};
    inflateInit2(&z, -15);
    int status = Z_OK;
    while (status == Z_OK) {
        if (z.avail_in == 0) {
            z.next_in = input.data();
            z.avail_in = static_cast<uInt>(read(input.data(), input.size()));
            if (z.avail_in == 0) break;
        }
        z.next_out = output.data();
        z.avail_out = static_cast<uInt>(output.size());
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) break;
        write(output.data(), output.size() - z.avail_out);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END;
}

// zlib's raw deflate (no wrapper) of `size` bytes at a compression level and memory level.
inline std::vector<uint8_t> ZlibDeflateRaw(const uint8_t* data, size_t size, int level,
                                           int memLevel) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -15, memLevel, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(size)));
    z.next_in = const_cast<uint8_t*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace kel::bench
