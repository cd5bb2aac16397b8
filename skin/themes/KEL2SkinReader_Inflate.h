// The DEFLATE decoder (raw RFC 1951 streams) that unpacks the data entry of a skin file.
// Platform-neutral: it reads from a TInputStream and writes to a TOutputStream.
#pragma once

#include "skin/themes/KEL2SkinReader_Streams.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel {

// Decodes a raw DEFLATE stream from `in` to `out` until the final block. Returns true when the
// final block was decoded and everything written; false when the stream is refused (header out of
// range, forbidden codes, truncated input, ...). Stream errors pass through as exceptions.
bool Inflate(TInputStream& in, TOutputStream& out);

// How a set of code lengths given to THuffmanTree::Build covers the code space. Only complete sets
// decode every bit pattern; the decoder accepts the others only where DEFLATE allows them.
enum class TCodeSpace {
    Complete,       // every bit pattern starts a code
    SingleCode,     // exactly one code, of length 1: half the patterns are no code
    Empty,          // no code at all
    Incomplete,     // any other set that leaves patterns uncovered
    OverSubscribed, // more codes than the lengths allow: no table is built
    Unusable,       // a length above CodeLimit, or more than kMaxSymbols: no table is built
};

// What the decoding-table entries of a tree carry for each symbol. Symbols from firstExtraSymbol
// on are followed by extraBits[symbol - firstExtraSymbol] extra bits and carry bases[...] as
// their value (their symbol number when there are no bases); symbols below `literals` are bytes
// of output, two of which may share an entry; symbols from symbolLimit on are refused.
struct THuffmanAlphabet {
    size_t firstExtraSymbol = 0;
    const uint8_t* extraBits = nullptr;
    const uint16_t* bases = nullptr;
    size_t literals = 0;
    size_t endOfBlock = SIZE_MAX;
    size_t symbolLimit = SIZE_MAX;
};

// A decoding table in the form the decoder's loops use: a main table indexed by the next
// mainBits input bits, whose entries either decode a symbol or point to a subtable for the bits
// of the longer codes. Entry layout:
//   bits 0-4   input bits the entry consumes: code length plus extra bits (for two literals both
//              codes; for a subtable pointer the subtable's index bits)
//   bit 5      always 0: the low 6 bits are the consumed count, so a shift by the whole entry
//              (which the processor takes modulo 64) consumes exactly these bits
//   bit 6      second literal: the high value byte follows the first
//   bit 7      literal: the low value byte is an output byte
//   bits 8-11  code length (of the first literal), where the extra bits start
//   bit 12     end of block (with bit 14)
//   bit 13     subtable pointer; the value is the subtable's position in the table
//   bit 14     special: end of block, or no code at all
//   bits 16-31 value: literal bytes, the length or distance base, or the symbol
struct TDecodeTable {
    static constexpr uint32_t kConsumeMask = 0x1F;
    static constexpr uint32_t kShiftMask = 0x3F; // the consumed count and the zero bit above it
    static constexpr uint32_t kSecondLiteral = 1u << 6;
    static constexpr uint32_t kLiteral = 1u << 7;
    static constexpr uint32_t kEndOfBlock = 1u << 12;
    static constexpr uint32_t kSubtable = 1u << 13;
    static constexpr uint32_t kSpecial = 1u << 14;
    static constexpr uint32_t kNoCode = kSpecial;

    static constexpr unsigned Consumed(uint32_t entry) { return entry & kConsumeMask; }
    static constexpr unsigned CodeLength(uint32_t entry) { return (entry >> 8) & 0xF; }
    static constexpr uint32_t Value(uint32_t entry) { return entry >> 16; }
    // The value of a length or distance entry plus the extra bits that follow the code in `bits`.
    // Such entries have bit 5 and bits 12-15 clear, so 6-bit masks keep exactly the consumed
    // count and the code length; 64-bit shifts take their count modulo 64 anyway, so these masks
    // cost no instruction (measured 2 % faster than masking the fields exactly).
    static uint32_t ValueWithExtra(uint32_t entry, uint64_t bits) {
        const uint64_t codeAndExtra = bits & ((uint64_t{1} << (entry & kShiftMask)) - 1);
        return Value(entry) + static_cast<uint32_t>(codeAndExtra >> ((entry >> 8) & 0x3F));
    }

    // The entry for the next input bits, which must hold at least the longest code.
    uint32_t Decode(uint64_t bits) const { return Decode(entries, mainBits, bits); }
    // The same for a table of `mainBits` index bits; the block loop passes a constant, so that
    // the compiler needs no register for the width.
    static uint32_t Decode(const uint32_t* entries, unsigned mainBits, uint64_t bits) {
        const uint32_t entry = entries[bits & ((uint64_t{1} << mainBits) - 1)];
        if (!(entry & kSubtable)) return entry;
        const uint64_t subIndex = (bits >> mainBits) & ((uint64_t{1} << Consumed(entry)) - 1);
        return entries[Value(entry) + subIndex];
    }

    const uint32_t* entries;
    unsigned mainBits;
};

// A canonical Huffman code, as a two-level decoding table and in canonical order for Lookup.
class THuffmanTree {
public:
    // Lookup's entry layout: bits 0-15 symbol, 16-23 code length, 24-31 extra bits after the code.
    static constexpr uint32_t kNoCode = 0xFFFFFFFFu; // no code reaches this index
    static constexpr int kMaxCodeLimit = 15;
    static constexpr size_t kMaxSymbols = 4095;

    // `mainBits` is the width of the main decoding table, whatever the longest code: shorter
    // codes fill it repeatedly, longer ones go to subtables. A small main table stays in the
    // first-level cache and is quick to build for every block.
    explicit THuffmanTree(int codeLimit, int mainBits = 10);

    int CodeLimit() const { return codeLimit_; }
    int MaxBits() const { return maxBits_; }

    // Builds the code from lengths[first .. first + count - 1]. When the result is
    // OverSubscribed or Unusable the tree is left empty (MaxBits 0, no code).
    TCodeSpace Build(const uint8_t* lengths, size_t first, size_t count,
                     const THuffmanAlphabet& alphabet);
    // The same for an alphabet of plain symbols where those from `firstExtraSymbol` on carry
    // extraBits[symbol - firstExtraSymbol] extra bits.
    TCodeSpace Build(const uint8_t* lengths, size_t first, size_t count, size_t firstExtraSymbol,
                     const uint8_t* extraBits);

    // The entry for the code at the start of `index`, which must be below 2^MaxBits, or kNoCode.
    uint32_t Lookup(uint32_t index) const;
    // The decoding table; valid until the next Build.
    TDecodeTable Table() const { return {table_.data(), static_cast<unsigned>(mainBits_)}; }

private:
    void MakeEmpty();
    void PairLiterals(const uint16_t* codeOf, const uint8_t* lengthOf, size_t literals);

    int codeLimit_;
    int mainBits_;
    int maxBits_ = 0;
    std::vector<uint32_t> table_;
    // Canonical order: the number of codes of each length and the symbols sorted by code length.
    int lengthCount_[kMaxCodeLimit + 1] = {};
    std::vector<uint16_t> sorted_;
    size_t firstExtraSymbol_ = 0;
    std::vector<uint8_t> extraBits_; // for the symbols from firstExtraSymbol_ on
};

// The trees of fixed-Huffman blocks, built on first use and shared read-only afterwards.
const THuffmanTree& FixedLiteralTree();
const THuffmanTree& FixedDistanceTree();

} // namespace kel
