#include "tools/skintool/SkinDeflate.h"

#include <algorithm>
#include <array>

namespace kel::skintool {
namespace {

constexpr size_t kWindowSize = 32768;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChainSteps = 128;
constexpr size_t kBlockInput = 65535; // also the largest stored block
constexpr uint16_t kEndOfBlock = 256;

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// One output symbol: a literal byte (distance 0) or a match.
struct TSymbol {
    uint16_t value; // literal byte or match length
    uint16_t distance;
};

template <size_t N> size_t CodeFor(const std::array<uint16_t, N>& bases, uint32_t value) {
    return static_cast<size_t>(std::upper_bound(bases.begin(), bases.end(), value) -
                               bases.begin()) -
           1;
}

uint32_t Reverse(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
    return reversed;
}

class TBitWriter {
public:
    explicit TBitWriter(std::vector<uint8_t>& out) : out_(out) {}

    // Writes the low `count` bits of `value`, least significant first.
    void Put(uint32_t value, int count) {
        buffer_ |= static_cast<uint64_t>(value) << filled_;
        filled_ += count;
        while (filled_ >= 8) {
            out_.push_back(static_cast<uint8_t>(buffer_));
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    // Huffman codes go most significant bit first.
    void PutCode(uint32_t code, int length) { Put(Reverse(code, length), length); }
    void AlignToByte() {
        if (filled_ > 0) Put(0, 8 - filled_);
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t buffer_ = 0;
    int filled_ = 0;
};

// The fixed literal/length code of RFC 1951 section 3.2.6.
void PutFixedSymbol(TBitWriter& bits, uint32_t symbol) {
    if (symbol < 144)
        bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.PutCode(symbol - 256, 7);
    else
        bits.PutCode(0xC0 + symbol - 280, 8);
}

int FixedSymbolBits(uint32_t symbol) {
    if (symbol < 144) return 8;
    if (symbol < 256) return 9;
    if (symbol < 280) return 7;
    return 8;
}

int SymbolBits(const TSymbol& s) {
    if (s.distance == 0) return FixedSymbolBits(s.value);
    const size_t length = CodeFor(kLengthBase, s.value);
    const size_t distance = CodeFor(kDistanceBase, s.distance);
    return FixedSymbolBits(257 + static_cast<uint32_t>(length)) + kLengthExtra[length] + 5 +
           kDistanceExtra[distance];
}

void PutSymbol(TBitWriter& bits, const TSymbol& s) {
    if (s.distance == 0) {
        PutFixedSymbol(bits, s.value);
        return;
    }
    const size_t length = CodeFor(kLengthBase, s.value);
    PutFixedSymbol(bits, 257 + static_cast<uint32_t>(length));
    bits.Put(s.value - kLengthBase[length], kLengthExtra[length]);
    const size_t distance = CodeFor(kDistanceBase, s.distance);
    bits.PutCode(static_cast<uint32_t>(distance), 5);
    bits.Put(s.distance - kDistanceBase[distance], kDistanceExtra[distance]);
}

// Hash chains over the input: for each 3-byte prefix the most recent positions that start with it.
class TMatchFinder {
public:
    TMatchFinder(const uint8_t* data, size_t size)
        : data_(data), size_(size), head_(size_t{1} << kHashBits, kNone),
          prev_(kWindowSize, kNone) {}

    void Insert(size_t pos) {
        if (pos + kMinMatch > size_) return;
        const uint32_t h = Hash(pos);
        prev_[pos % kWindowSize] = head_[h];
        head_[h] = pos;
    }

    // The longest earlier match for `pos` of at most `limit` bytes: {length, distance}, length 0
    // when there is none of kMinMatch bytes.
    std::pair<size_t, size_t> Longest(size_t pos, size_t limit) const {
        size_t bestLength = 0, bestDistance = 0;
        if (limit < kMinMatch) return {0, 0};
        size_t candidate = head_[Hash(pos)];
        for (int step = 0; step < kMaxChainSteps && candidate != kNone; ++step) {
            if (candidate >= pos || pos - candidate > kWindowSize) break;
            size_t length = 0;
            while (length < limit && data_[candidate + length] == data_[pos + length]) ++length;
            if (length > bestLength) {
                bestLength = length;
                bestDistance = pos - candidate;
                if (length == limit) break;
            }
            const size_t older = prev_[candidate % kWindowSize];
            if (older == kNone || older >= candidate) break;
            candidate = older;
        }
        if (bestLength < kMinMatch) return {0, 0};
        return {bestLength, bestDistance};
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    uint32_t Hash(size_t pos) const {
        const uint32_t v = data_[pos] | (data_[pos + 1] << 8) | (data_[pos + 2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const uint8_t* data_;
    size_t size_;
    std::vector<size_t> head_;
    std::vector<size_t> prev_;
};

} // namespace

std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    TBitWriter bits(out);
    TMatchFinder matches(data, size);
    std::vector<TSymbol> symbols;
    size_t start = 0;
    do {
        const size_t end = std::min(size, start + kBlockInput);
        const bool final = end == size;
        symbols.clear();
        size_t fixedBits = 3 + 7; // block header and end of block
        for (size_t pos = start; pos < end;) {
            const auto [length, distance] = matches.Longest(pos, std::min(kMaxMatch, end - pos));
            const TSymbol s =
                length > 0 ? TSymbol{static_cast<uint16_t>(length), static_cast<uint16_t>(distance)}
                           : TSymbol{data[pos], 0};
            symbols.push_back(s);
            fixedBits += SymbolBits(s);
            const size_t advance = length > 0 ? length : 1;
            for (size_t i = 0; i < advance; ++i) matches.Insert(pos + i);
            pos += advance;
        }
        const size_t storedBits = 3 + 7 + 32 + 8 * (end - start);
        if (storedBits < fixedBits) {
            bits.Put(final ? 1 : 0, 1);
            bits.Put(0, 2);
            bits.AlignToByte();
            const auto length = static_cast<uint16_t>(end - start);
            bits.Put(length, 16);
            bits.Put(static_cast<uint16_t>(~length), 16);
            out.insert(out.end(), data + start, data + end);
        } else {
            bits.Put(final ? 1 : 0, 1);
            bits.Put(1, 2);
            for (const TSymbol& s : symbols) PutSymbol(bits, s);
            PutFixedSymbol(bits, kEndOfBlock);
        }
        start = end;
    } while (start < size);
    bits.AlignToByte();
    return out;
}

} // namespace kel::skintool
