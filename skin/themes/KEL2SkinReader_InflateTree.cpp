// THuffmanTree: canonical Huffman codes as two-level decoding tables, and the two fixed trees.
#include "skin/themes/KEL2SkinReader_Inflate.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <algorithm>
#include <array>

namespace kel {
namespace {

using Table = TDecodeTable;

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

// The decoding-table entry of `symbol` with a code of `length` bits.
uint32_t MakeEntry(const THuffmanAlphabet& alphabet, size_t symbol, unsigned length) {
    const uint32_t codeLength = length << 8;
    if (symbol >= alphabet.symbolLimit) return Table::kNoCode;
    if (symbol == alphabet.endOfBlock)
        return Table::kSpecial | Table::kEndOfBlock | codeLength | length;
    if (symbol < alphabet.literals)
        return static_cast<uint32_t>(symbol) << 16 | Table::kLiteral | codeLength | length;
    if (symbol < alphabet.firstExtraSymbol || !alphabet.extraBits)
        return static_cast<uint32_t>(symbol) << 16 | codeLength | length;
    const size_t i = symbol - alphabet.firstExtraSymbol;
    const uint32_t value = alphabet.bases ? alphabet.bases[i] : static_cast<uint32_t>(symbol);
    return value << 16 | codeLength | (length + alphabet.extraBits[i]);
}

THuffmanTree BuildFixedTree(const uint8_t* lengths, size_t count, const THuffmanAlphabet& alphabet,
                            int mainBits) {
    // The fixed codes are at most 9 bits long: no subtables.
    THuffmanTree tree(THuffmanTree::kMaxCodeLimit, mainBits);
    tree.Build(lengths, 0, count, alphabet);
    return tree;
}

} // namespace

THuffmanTree::THuffmanTree(int codeLimit, int mainBits)
    : codeLimit_(std::clamp(codeLimit, 1, kMaxCodeLimit)),
      mainBits_(std::clamp(mainBits, 1, kMaxCodeLimit)) {
    MakeEmpty();
}

void THuffmanTree::MakeEmpty() {
    maxBits_ = 0;
    table_.assign(size_t{1} << mainBits_, Table::kNoCode);
    std::fill(std::begin(lengthCount_), std::end(lengthCount_), 0);
    sorted_.clear();
    extraBits_.clear();
}

// Canonical decoding, one bit at a time: the codes of each length are consecutive numbers that
// follow on from those of the length before.
uint32_t THuffmanTree::Lookup(uint32_t index) const {
    uint32_t code = 0, firstCode = 0;
    size_t offset = 0;
    for (int length = 1; length <= maxBits_; ++length) {
        code |= (index >> (length - 1)) & 1;
        const uint32_t count = static_cast<uint32_t>(lengthCount_[length]);
        if (code - firstCode < count) {
            const uint32_t symbol = sorted_[offset + code - firstCode];
            const uint32_t extra =
                symbol >= firstExtraSymbol_ ? extraBits_[symbol - firstExtraSymbol_] : 0;
            return symbol | static_cast<uint32_t>(length) << 16 | extra << 24;
        }
        offset += count;
        firstCode = (firstCode + count) << 1;
        code <<= 1;
    }
    return kNoCode;
}

TCodeSpace THuffmanTree::Build(const uint8_t* lengths, size_t first, size_t count,
                               size_t firstExtraSymbol, const uint8_t* extraBits) {
    THuffmanAlphabet alphabet;
    alphabet.firstExtraSymbol = firstExtraSymbol;
    alphabet.extraBits = extraBits;
    return Build(lengths, first, count, alphabet);
}

TCodeSpace THuffmanTree::Build(const uint8_t* lengths, size_t first, size_t count,
                               const THuffmanAlphabet& alphabet) {
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
    }
    for (int bits = 1; bits <= codeLimit_; ++bits)
        if (lengthCount[bits] != 0) maxBits = bits;
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
    std::copy(std::begin(lengthCount), std::end(lengthCount), lengthCount_);
    firstExtraSymbol_ = alphabet.firstExtraSymbol;
    if (alphabet.extraBits && firstExtraSymbol_ < count)
        extraBits_.assign(alphabet.extraBits, alphabet.extraBits + (count - firstExtraSymbol_));
    else
        extraBits_.clear();

    // Symbols ordered by code length, in symbol order within one length (canonical order), and
    // the canonical code of each. Symbols without a code are sorted behind all codes and then
    // dropped, which spares the loop a branch the processor could not predict.
    size_t groupStart[kMaxCodeLimit + 1] = {};
    for (int bits = 2; bits <= maxBits; ++bits)
        groupStart[bits] = groupStart[bits - 1] + static_cast<size_t>(lengthCount[bits - 1]);
    groupStart[0] = codes;
    sorted_.resize(count);
    uint16_t* const sorted = sorted_.data();
    for (size_t symbol = 0; symbol < count; ++symbol)
        sorted[groupStart[lengths[first + symbol]]++] = static_cast<uint16_t>(symbol);
    sorted_.resize(codes);
    uint16_t codeOf[kMaxSymbols];
    uint8_t lengthOf[kMaxSymbols];
    {
        size_t next = 0;
        uint32_t code = 0;
        for (int length = 1; length <= maxBits; ++length) {
            code <<= 1;
            for (int i = 0; i < lengthCount[length]; ++i, ++next, ++code) {
                codeOf[next] = static_cast<uint16_t>(code);
                lengthOf[next] = static_cast<uint8_t>(length);
            }
        }
    }

    // The main table grows one code length at a time: doubling the table so far repeats every
    // shorter code for the new top index bit, then each code of this length takes its one slot.
    // Slots no code reaches stay "no code". Past the longest code it only doubles. Every slot
    // is written before it is read, starting from slot 0.
    table_.resize(size_t{1} << mainBits_);
    uint32_t* table = table_.data();
    table[0] = Table::kNoCode;
    size_t next = 0;
    for (int length = 1; length <= mainBits_; ++length) {
        const size_t half = size_t{1} << (length - 1);
        std::copy(table, table + half, table + half);
        for (; next < codes && lengthOf[next] == length; ++next)
            table[ReverseBits(codeOf[next], length)] = MakeEntry(alphabet, sorted_[next], length);
    }
    if (alphabet.literals > 0) PairLiterals(codeOf, lengthOf, alphabet.literals);

    // Longer codes: the codes that share their first mainBits bits are consecutive in canonical
    // order and share one subtable, indexed by as many further bits as the longest of them has.
    while (next < codes) {
        const int shift = lengthOf[next] - mainBits_;
        const uint32_t prefix = static_cast<uint32_t>(codeOf[next]) >> shift;
        size_t end = next + 1;
        while (end < codes &&
               static_cast<uint32_t>(codeOf[end]) >> (lengthOf[end] - mainBits_) == prefix)
            ++end;
        const int subBits = lengthOf[end - 1] - mainBits_;
        const size_t subStart = table_.size();
        table_.resize(subStart + (size_t{1} << subBits), Table::kNoCode);
        table = table_.data();
        table[ReverseBits(prefix, mainBits_)] = static_cast<uint32_t>(subStart) << 16 |
                                                Table::kSubtable | static_cast<uint32_t>(subBits);
        for (; next < end; ++next) {
            const int length = lengthOf[next];
            const uint32_t entry =
                MakeEntry(alphabet, sorted_[next], static_cast<unsigned>(length));
            const size_t step = size_t{1} << (length - mainBits_);
            for (size_t i = ReverseBits(codeOf[next], length) >> mainBits_;
                 i < (size_t{1} << subBits); i += step)
                table[subStart + i] = entry;
        }
    }
    return space;
}

// Where the bits after a literal's code start another literal code that fits in the main table's
// index too, the entry carries both bytes. Only literal codes that leave room for the shortest
// literal code can start a pair, so only their slots are visited: in most blocks few or none.
void THuffmanTree::PairLiterals(const uint16_t* codeOf, const uint8_t* lengthOf, size_t literals) {
    const size_t codes = sorted_.size();
    size_t next = 0;
    while (next < codes && lengthOf[next] <= mainBits_ && sorted_[next] >= literals) ++next;
    if (next == codes || lengthOf[next] > mainBits_) return; // no literal in the main table
    const unsigned room = static_cast<unsigned>(mainBits_) - lengthOf[next];
    uint32_t* const table = table_.data();
    // Canonical order runs from the shortest codes up.
    for (; next < codes && lengthOf[next] <= room; ++next) {
        if (sorted_[next] >= literals) continue;
        const unsigned firstLength = lengthOf[next];
        const size_t firstBits = ReverseBits(codeOf[next], static_cast<int>(firstLength));
        const uint32_t firstByte = sorted_[next];
        // Slot `firstBits | rest << firstLength` is followed by the bits `rest`, whose entry still
        // holds its own first literal and code length even when it has been paired itself.
        for (size_t rest = 0; rest < (size_t{1} << (mainBits_ - firstLength)); ++rest) {
            const uint32_t second = table[rest];
            if (!(second & Table::kLiteral)) continue;
            const unsigned secondLength = Table::CodeLength(second);
            if (firstLength + secondLength > static_cast<unsigned>(mainBits_)) continue;
            const uint32_t bytes = firstByte | (Table::Value(second) & 0xFF) << 8;
            table[firstBits | rest << firstLength] = bytes << 16 | Table::kLiteral |
                                                     Table::kSecondLiteral | firstLength << 8 |
                                                     (firstLength + secondLength);
        }
    }
}

const THuffmanTree& FixedLiteralTree() {
    static const THuffmanTree tree = [] {
        uint8_t lengths[288];
        for (int symbol = 0; symbol < 288; ++symbol)
            lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
        return BuildFixedTree(lengths, 288, inflate_tables::kLiteralLengthAlphabet,
                              inflate_tables::kLiteralMainBits);
    }();
    return tree;
}

const THuffmanTree& FixedDistanceTree() {
    static const THuffmanTree tree = [] {
        uint8_t lengths[32];
        for (uint8_t& length : lengths) length = 5;
        return BuildFixedTree(lengths, 32, inflate_tables::kDistanceAlphabet,
                              inflate_tables::kDistanceMainBits);
    }();
    return tree;
}

} // namespace kel
