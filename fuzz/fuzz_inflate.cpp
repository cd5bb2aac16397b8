// Differential fuzz target: our DEFLATE decoder against zlib's raw inflate on the same bytes.
// Whenever zlib decodes an input, ours must give the same bytes; whatever ours writes must agree
// with zlib's output; and ours may accept only what zlib accepts (stored blocks whose NLEN is not
// the complement of LEN included). Output is capped at kOutputCap in both, so every input runs in
// bounded time and memory.
#include "skin/themes/KEL2SkinReader_Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kOutputCap = 1 << 20;

struct TOutputCapReached {};

class TMemoryInput : public kel::TInputStream {
public:
    TMemoryInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Read(uint8_t* buffer, size_t count) override {
        const size_t n = std::min(count, size_ - pos_);
        if (n > 0) std::memcpy(buffer, data_ + pos_, n);
        pos_ += n;
        return n;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class TCappedOutput : public kel::TOutputStream {
public:
    void Write(const uint8_t* data, size_t count) override {
        if (count > kOutputCap - bytes.size()) throw TOutputCapReached{};
        bytes.insert(bytes.end(), data, data + count);
    }
    std::vector<uint8_t> bytes;
};

enum class TVerdict { Accepted, Refused, OverCap };

struct TZlibResult {
    TVerdict verdict = TVerdict::Refused;
    const uint8_t* bytes = nullptr; // valid until the next call
    size_t size = 0;
};

TZlibResult DecodeWithZlib(const uint8_t* data, size_t size) {
    static std::vector<uint8_t> buffer(kOutputCap + 1); // one byte more tells "over the cap"
    TZlibResult result;
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) std::abort();
    z.next_in = const_cast<uint8_t*>(data);
    z.avail_in = static_cast<uInt>(size);
    z.next_out = buffer.data();
    z.avail_out = static_cast<uInt>(buffer.size());
    const int rc = inflate(&z, Z_FINISH);
    result.bytes = buffer.data();
    result.size = z.total_out;
    if (z.total_out > kOutputCap)
        result.verdict = TVerdict::OverCap;
    else if (rc == Z_STREAM_END)
        result.verdict = TVerdict::Accepted;
    inflateEnd(&z);
    return result;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TZlibResult zlib = DecodeWithZlib(data, size);

    TMemoryInput input(data, size);
    TCappedOutput output;
    TVerdict ours = TVerdict::Refused;
    try {
        if (kel::Inflate(input, output)) ours = TVerdict::Accepted;
    } catch (const TOutputCapReached&) {
        ours = TVerdict::OverCap;
    }

    // Both decoders write correct bytes up to the point where they stop.
    const size_t common = std::min(output.bytes.size(), zlib.size);
    Check(std::equal(output.bytes.begin(), output.bytes.begin() + common, zlib.bytes));
    if (zlib.verdict == TVerdict::Accepted) {
        Check(ours == TVerdict::Accepted);
        Check(output.bytes.size() == zlib.size);
    }
    // Ours never writes more than zlib decodes, and accepts nothing zlib refuses.
    Check(output.bytes.size() <= zlib.size);
    if (ours == TVerdict::Accepted) Check(zlib.verdict == TVerdict::Accepted);
    if (ours == TVerdict::OverCap) Check(zlib.verdict == TVerdict::OverCap);
    return 0;
}
