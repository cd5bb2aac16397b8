// Helpers of the DEFLATE decoder tests: memory streams, zlib as the oracle, and a small bit-level
// writer for hand-made streams that zlib's compressor never emits.
#pragma once

#include "skin/themes/KEL2SkinReader_Inflate.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kel::inflate_test {

using Bytes = std::vector<uint8_t>;

// Hands out the data in reads of at most `chunk` bytes, to exercise every refill path.
class TMemoryInput : public TInputStream {
public:
    explicit TMemoryInput(const Bytes& data, size_t chunk = SIZE_MAX)
        : data_(data), chunk_(chunk) {}
    size_t Read(uint8_t* buffer, size_t count) override {
        const size_t n = std::min({count, chunk_, data_.size() - pos_});
        if (n > 0) std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    const Bytes& data_;
    size_t pos_ = 0;
    size_t chunk_;
};

// Keeps every byte and the size of every Write call.
class TRecordingOutput : public TOutputStream {
public:
    void Write(const uint8_t* data, size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
        writes.push_back(count);
    }
    Bytes bytes;
    std::vector<size_t> writes;
};

struct TDecoded {
    bool ok = false;
    Bytes bytes;
    std::vector<size_t> writes;
};

inline TDecoded DecodeWithOurs(const Bytes& stream, size_t chunk = SIZE_MAX) {
    TMemoryInput in(stream, chunk);
    TRecordingOutput out;
    TDecoded result;
    result.ok = Inflate(in, out);
    result.bytes = std::move(out.bytes);
    result.writes = std::move(out.writes);
    return result;
}

// zlib's verdict on a raw DEFLATE stream: the decoded bytes, or nothing when it refuses.
inline std::optional<Bytes> DecodeWithZlib(const Bytes& stream) {
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) throw std::runtime_error("inflateInit2");
    Bytes out;
    uint8_t buffer[16384];
    z.next_in = const_cast<uint8_t*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    int rc = Z_OK;
    do {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_FINISH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    } while (rc == Z_OK || (rc == Z_BUF_ERROR && z.avail_out == 0));
    inflateEnd(&z);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

inline Bytes CompressWithZlib(const Bytes& data, int level, int strategy = Z_DEFAULT_STRATEGY) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK)
        throw std::runtime_error("deflateInit2");
    Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
    z.next_in = const_cast<uint8_t*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

// Deterministic test data.
inline Bytes RandomBytes(size_t size, uint32_t seed) {
    Bytes data(size);
    for (uint8_t& byte : data) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(seed >> 24);
    }
    return data;
}

inline Bytes TextLike(size_t size, uint32_t seed) {
    static const char* const words[] = {"the ",    "skin ",   "button ", "window ", "of ",
                                        "a ",      "bitmap ", "theme ",  "frame ",  "menu ",
                                        "title ",  "bar ",    "colour ", "and ",    "is ",
                                        "drawn\n", "with ",   "each ",   "state. ", "pressed "};
    Bytes data;
    while (data.size() < size) {
        seed = seed * 1664525u + 1013904223u;
        const char* word = words[(seed >> 16) % 20];
        data.insert(data.end(), word, word + std::strlen(word));
    }
    data.resize(size);
    return data;
}

// Writes bits least significant first, as DEFLATE packs them.
class TBitWriter {
public:
    void Put(uint64_t value, unsigned n) {
        for (unsigned i = 0; i < n; ++i) PutBit(static_cast<uint32_t>((value >> i) & 1));
    }
    // Huffman codes go most significant bit first.
    void PutCode(uint32_t code, unsigned length) {
        for (unsigned i = length; i-- > 0;) PutBit((code >> i) & 1);
    }
    void AlignToByte() {
        while (bitCount_ != 0) PutBit(0);
    }
    Bytes Finish() {
        AlignToByte();
        return bytes_;
    }

private:
    void PutBit(uint32_t bit) {
        if (bitCount_ == 0) bytes_.push_back(0);
        bytes_.back() |= static_cast<uint8_t>(bit << bitCount_);
        bitCount_ = (bitCount_ + 1) & 7;
    }
    Bytes bytes_;
    unsigned bitCount_ = 0;
};

// Canonical codes for a list of code lengths (RFC 1951 section 3.2.2).
inline std::vector<uint32_t> CanonicalCodes(const Bytes& lengths) {
    unsigned counts[16] = {};
    for (uint8_t length : lengths) ++counts[length];
    counts[0] = 0;
    uint32_t next[16] = {};
    uint32_t code = 0;
    for (unsigned bits = 1; bits < 16; ++bits) next[bits] = code = (code + counts[bits - 1]) << 1;
    std::vector<uint32_t> codes(lengths.size());
    for (size_t i = 0; i < lengths.size(); ++i)
        if (lengths[i] != 0) codes[i] = next[lengths[i]]++;
    return codes;
}

// Writes the symbols of one Huffman-coded block with the given code lengths.
class TBlockWriter {
public:
    TBlockWriter(TBitWriter& writer, Bytes literalLengths, Bytes distanceLengths)
        : writer_(writer), literalLengths_(std::move(literalLengths)),
          distanceLengths_(std::move(distanceLengths)),
          literalCodes_(CanonicalCodes(literalLengths_)),
          distanceCodes_(CanonicalCodes(distanceLengths_)) {}

    void Symbol(unsigned symbol) {
        writer_.PutCode(literalCodes_[symbol], literalLengths_[symbol]);
    }
    void DistanceCode(unsigned code) {
        writer_.PutCode(distanceCodes_[code], distanceLengths_[code]);
    }
    void Literal(uint8_t byte) { Symbol(byte); }
    void Literals(const Bytes& bytes) {
        for (uint8_t byte : bytes) Literal(byte);
    }
    void Match(unsigned length, unsigned distance) {
        using namespace inflate_tables;
        unsigned symbol = 28;
        while (kLengthBase[symbol] > length) --symbol;
        Symbol(kFirstLengthSymbol + symbol);
        writer_.Put(length - kLengthBase[symbol], kLengthExtraBits[symbol]);
        unsigned code = 29;
        while (kDistanceBase[code] > distance) --code;
        DistanceCode(code);
        writer_.Put(distance - kDistanceBase[code], kDistanceExtraBits[code]);
    }
    void End() { Symbol(inflate_tables::kEndOfBlock); }

private:
    TBitWriter& writer_;
    Bytes literalLengths_;
    Bytes distanceLengths_;
    std::vector<uint32_t> literalCodes_;
    std::vector<uint32_t> distanceCodes_;
};

inline Bytes FixedLiteralLengths() {
    Bytes lengths(288);
    for (size_t i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    return lengths;
}

inline TBlockWriter BeginFixedBlock(TBitWriter& writer, bool final) {
    writer.Put(final ? 1 : 0, 1);
    writer.Put(1, 2);
    return TBlockWriter(writer, FixedLiteralLengths(), Bytes(32, 5));
}

// One code-length symbol of a dynamic header with the value of its extra bits.
struct TLengthOp {
    unsigned symbol;
    unsigned extra = 0;
};

// A code-length code in which 0-15 have 4-bit codes and the repeat codes have none.
inline std::array<uint8_t, 19> PlainCodeLengthCode() {
    std::array<uint8_t, 19> lengths{};
    for (unsigned i = 0; i < 16; ++i) lengths[i] = 4;
    return lengths;
}
// A complete code-length code that also has the repeat codes 16, 17 and 18.
inline std::array<uint8_t, 19> RepeatingCodeLengthCode() {
    std::array<uint8_t, 19> lengths{};
    for (unsigned i = 0; i < 16; ++i) lengths[i] = 5;
    lengths[16] = 2;
    lengths[17] = 3;
    lengths[18] = 3;
    return lengths;
}

// Writes a dynamic block header field by field, as given, valid or not.
inline void PutDynamicHeader(TBitWriter& writer, bool final, unsigned literalCount,
                             unsigned distanceCount, const std::array<uint8_t, 19>& codeLengthCode,
                             const std::vector<TLengthOp>& ops, unsigned codeLengthCount = 19) {
    using inflate_tables::kCodeLengthOrder;
    writer.Put(final ? 1 : 0, 1);
    writer.Put(2, 2);
    writer.Put(literalCount - 257, 5);
    writer.Put(distanceCount - 1, 5);
    writer.Put(codeLengthCount - 4, 4);
    for (unsigned i = 0; i < codeLengthCount; ++i)
        writer.Put(codeLengthCode[kCodeLengthOrder[i]], 3);
    const Bytes lengths(codeLengthCode.begin(), codeLengthCode.end());
    const std::vector<uint32_t> codes = CanonicalCodes(lengths);
    static const unsigned extraBits[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
    for (const TLengthOp& op : ops) {
        writer.PutCode(codes[op.symbol], lengths[op.symbol]);
        writer.Put(op.extra, extraBits[op.symbol]);
    }
}

// Code lengths as a header lists them with the repeat codes: 16 for runs of a length, 17 and 18
// for runs of zeros.
inline std::vector<TLengthOp> RunLengthOps(const Bytes& lengths) {
    std::vector<TLengthOp> ops;
    for (size_t i = 0; i < lengths.size();) {
        size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == lengths[i]) ++run;
        if (lengths[i] == 0 && run >= 11) {
            const size_t n = std::min<size_t>(run, 138);
            ops.push_back({18, static_cast<unsigned>(n - 11)});
            i += n;
        } else if (lengths[i] == 0 && run >= 3) {
            ops.push_back({17, static_cast<unsigned>(run - 3)});
            i += run;
        } else if (run >= 4) {
            const size_t n = std::min<size_t>(run - 1, 6);
            ops.push_back({lengths[i]});
            ops.push_back({16, static_cast<unsigned>(n - 3)});
            i += 1 + n;
        } else {
            ops.push_back({lengths[i]});
            ++i;
        }
    }
    return ops;
}

// Writes a well-formed dynamic header for the given codes and returns the block's writer.
inline TBlockWriter BeginDynamicBlock(TBitWriter& writer, bool final, const Bytes& literalLengths,
                                      const Bytes& distanceLengths) {
    std::vector<TLengthOp> ops;
    for (uint8_t length : literalLengths) ops.push_back({length});
    for (uint8_t length : distanceLengths) ops.push_back({length});
    PutDynamicHeader(writer, final, static_cast<unsigned>(literalLengths.size()),
                     static_cast<unsigned>(distanceLengths.size()), PlainCodeLengthCode(), ops);
    return TBlockWriter(writer, literalLengths, distanceLengths);
}

} // namespace kel::inflate_test
