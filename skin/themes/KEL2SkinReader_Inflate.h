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

// A canonical Huffman code turned into a single-level decoding table indexed by the next MaxBits
// input bits (first input bit = bit 0 of the index).
class THuffmanTree {
public:
    // Entry layout: bits 0-15 symbol, 16-23 code length, 24-31 extra bits after the code.
    static constexpr uint32_t kNoCode = 0xFFFFFFFFu; // no code reaches this index
    static constexpr int kMaxCodeLimit = 15;
    static constexpr size_t kMaxSymbols = 4095;

    // The table itself is stored packed in 16 bits, so that the large tables of 14- and 15-bit
    // codes stay closer to the processor: bits 0-3 code length, bits 4-15 symbol. The extra bits
    // are left to the caller, who knows them per symbol.
    static constexpr uint16_t kNoPackedCode = 0xFFFF;
    static constexpr unsigned PackedLength(uint16_t packed) { return packed & 0xFu; }
    static constexpr unsigned PackedSymbol(uint16_t packed) { return packed >> 4; }

    explicit THuffmanTree(int codeLimit);

    int CodeLimit() const { return codeLimit_; }
    int MaxBits() const { return maxBits_; }

    // Builds the table from lengths[first .. first + count - 1]. Symbols from `firstExtraSymbol`
    // on carry extraBits[symbol - firstExtraSymbol] extra bits. When the result is OverSubscribed
    // or Unusable the tree is left empty (MaxBits 0, no code).
    TCodeSpace Build(const uint8_t* lengths, size_t first, size_t count, size_t firstExtraSymbol,
                     const uint8_t* extraBits);

    // The entry for `index`, which must be below 2^MaxBits.
    uint32_t Lookup(uint32_t index) const;
    // The packed table of 2^MaxBits entries.
    const uint16_t* PackedEntries() const { return table_.data(); }

private:
    void MakeEmpty();

    int codeLimit_;
    int maxBits_ = 0;
    std::vector<uint16_t> table_;
    size_t firstExtraSymbol_ = 0;
    std::vector<uint8_t> extraBits_; // for the symbols from firstExtraSymbol_ on
};

// The trees of fixed-Huffman blocks, built on first use and shared read-only afterwards.
const THuffmanTree& FixedLiteralTree();
const THuffmanTree& FixedDistanceTree();

} // namespace kel
