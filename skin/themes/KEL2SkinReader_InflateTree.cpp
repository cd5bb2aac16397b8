// THuffmanTree: canonical Huffman codes as single-level decoding tables, and the two fixed trees.
#include "skin/themes/KEL2SkinReader_Inflate.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <array>
#include <cstring>

namespace kel {
namespace {

// Huffman codes are sent most significant bit first, but the bit reader indexes tables with the
// first input bit as bit 0, so every code is stored bit-reversed.
constexpr std::array<uint8_t, 256> MakeByteReversal() {
    std::array<uint8_t, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        unsigned reversed = 0;
        for (unsigned bit = 0; bit < 8; ++bit)
            if (value & (1u << bit)) reversed |= 0x80u >> bit;
        table[value] = static_cast<uint8_t>(reversed);
    }
    return table;
}
constexpr std::array<uint8_t, 256> kByteReversal = MakeByteReversal();

uint32_t ReverseBits(uint32_t code, int length) {
    const uint32_t reversed16 =
        (uint32_t{kByteReversal[code & 0xFF]} << 8) | kByteReversal[(code >> 8) & 0xFF];
    return reversed16 >> (16 - length);
}

THuffmanTree BuildFixedTree(const uint8_t* lengths, size_t count, size_t firstExtraSymbol,
                            const uint8_t* extraBits) {
    THuffmanTree tree(THuffmanTree::kMaxCodeLimit);
    tree.Build(lengths, 0, count, firstExtraSymbol, extraBits);
    return tree;
}

} // namespace

THuffmanTree::THuffmanTree(int codeLimit)
    : codeLimit_(codeLimit < 1 ? 1 : (codeLimit > kMaxCodeLimit ? kMaxCodeLimit : codeLimit)) {
    MakeEmpty();
}

void THuffmanTree::MakeEmpty() {
    maxBits_ = 0;
    table_.assign(1, kNoPackedCode);
    extraBits_.clear();
}

uint32_t THuffmanTree::Lookup(uint32_t index) const {
    const uint16_t packed = table_[index];
    if (packed == kNoPackedCode) return kNoCode;
    const uint32_t symbol = PackedSymbol(packed);
    const uint32_t extra = symbol >= firstExtraSymbol_ ? extraBits_[symbol - firstExtraSymbol_] : 0;
    return symbol | PackedLength(packed) << 16 | extra << 24;
}

TCodeSpace THuffmanTree::Build(const uint8_t* lengths, size_t first, size_t count,
                               size_t firstExtraSymbol, const uint8_t* extraBits) {
    int lengthCount[kMaxCodeLimit + 1] = {};
    int maxBits = 0;
    if (count > kMaxSymbols) {
        MakeEmpty();
        return TCodeSpace::Unusable;
    }
    for (size_t i = 0; i < count; ++i) {
        const int length = lengths[first + i];
        if (length > codeLimit_) {
            MakeEmpty();
            return TCodeSpace::Unusable;
        }
        ++lengthCount[length];
        if (length > maxBits) maxBits = length;
    }
    const size_t codes = count - static_cast<size_t>(lengthCount[0]);
    lengthCount[0] = 0;

    // Walk the code space level by level: `unused` is the number of free codes of the current
    // length; it must never go negative, and is 0 at the end exactly when the code is complete.
    int unused = 1;
    for (int bits = 1; bits <= codeLimit_; ++bits) {
        unused = unused * 2 - lengthCount[bits];
        if (unused < 0) {
            MakeEmpty();
            return TCodeSpace::OverSubscribed;
        }
    }
    TCodeSpace space = TCodeSpace::Incomplete;
    if (codes == 0)
        space = TCodeSpace::Empty;
    else if (unused == 0)
        space = TCodeSpace::Complete;
    else if (codes == 1 && lengthCount[1] == 1)
        space = TCodeSpace::SingleCode;

    maxBits_ = maxBits;
    const size_t tableSize = size_t{1} << maxBits;
    // A complete code sets every entry below, so only incomplete ones need the "no code" fill.
    if (space == TCodeSpace::Complete)
        table_.resize(tableSize);
    else
        table_.assign(tableSize, kNoPackedCode);
    firstExtraSymbol_ = firstExtraSymbol;
    extraBits_.assign(extraBits,
                      extraBits + (firstExtraSymbol < count ? count - firstExtraSymbol : 0));

    uint32_t nextCode[kMaxCodeLimit + 1] = {};
    uint32_t code = 0;
    for (int bits = 1; bits <= codeLimit_; ++bits) {
        code = (code + static_cast<uint32_t>(lengthCount[bits - 1])) << 1;
        nextCode[bits] = code;
    }

    // Symbols ordered by code length, in symbol order within one length (canonical order).
    uint16_t sorted[kMaxSymbols];
    size_t groupStart[kMaxCodeLimit + 1] = {};
    for (int bits = 2; bits <= maxBits; ++bits)
        groupStart[bits] = groupStart[bits - 1] + static_cast<size_t>(lengthCount[bits - 1]);
    for (size_t symbol = 0; symbol < count; ++symbol)
        if (lengths[first + symbol] != 0)
            sorted[groupStart[lengths[first + symbol]]++] = static_cast<uint16_t>(symbol);

    // Grow the table one code length at a time: doubling the table so far repeats every shorter
    // code for the new top index bit, then each code of this length takes its single slot. Slots
    // left over are prefixes of longer codes, filled at their own lengths, or stay "no code".
    uint16_t* const table = table_.data();
    size_t next = 0;
    for (int length = 1; length <= maxBits; ++length) {
        const size_t half = size_t{1} << (length - 1);
        std::memcpy(table + half, table, half * sizeof(uint16_t));
        for (int i = 0; i < lengthCount[length]; ++i) {
            const size_t symbol = sorted[next++];
            table[ReverseBits(nextCode[length]++, length)] =
                static_cast<uint16_t>(symbol << 4 | static_cast<size_t>(length));
        }
    }
    return space;
}

const THuffmanTree& FixedLiteralTree() {
    static const THuffmanTree tree = [] {
        uint8_t lengths[288];
        for (int symbol = 0; symbol < 288; ++symbol)
            lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
        return BuildFixedTree(lengths, 288, inflate_tables::kFirstLengthSymbol,
                              inflate_tables::kLengthExtraBits);
    }();
    return tree;
}

const THuffmanTree& FixedDistanceTree() {
    static const THuffmanTree tree = [] {
        uint8_t lengths[32];
        for (uint8_t& length : lengths) length = 5;
        return BuildFixedTree(lengths, 32, 0, inflate_tables::kDistanceExtraBits);
    }();
    return tree;
}

} // namespace kel
