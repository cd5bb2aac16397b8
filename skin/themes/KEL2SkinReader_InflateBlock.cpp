// InflateBlock: the inner loop of the DEFLATE decoder, one table lookup per symbol.
#include "skin/themes/KEL2SkinReader_InflateState.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <cstring>

namespace kel::inflate_detail {
namespace {

using namespace inflate_tables;

// Appends `length` (3 or more) bytes copied from `distance` bytes back; the source may overlap
// the destination, which then repeats the pattern. May write up to 15 bytes past the copy's end.
inline uint8_t* CopyMatch(uint8_t* out, size_t distance, size_t length) {
    const uint8_t* from = out - distance;
    uint8_t* const end = out + length;
    if (distance >= 16) {
        // Each chunk reads only bytes that are already in place.
        do {
            std::memcpy(out, from, 16);
            out += 16;
            from += 16;
        } while (out < end);
    } else if (distance >= 8) {
        do {
            std::memcpy(out, from, 8);
            out += 8;
            from += 8;
        } while (out < end);
    } else if (distance == 1) {
        std::memset(out, *from, length);
    } else {
        // Lay down the first 8 bytes one by one; from then on the output repeats with a period
        // that is the smallest multiple of the distance not below 8, so 8-byte chunks can follow.
        static constexpr uint8_t kPeriod[8] = {0, 0, 8, 9, 8, 10, 12, 14};
        for (int i = 0; i < 8; ++i) out[i] = from[i];
        const size_t period = kPeriod[distance];
        for (out += 8; out < end; out += 8) std::memcpy(out, out - period, 8);
    }
    return end;
}

} // namespace

void InflateBlock(TInflateState& state, const THuffmanTree& literals,
                  const THuffmanTree& distances) {
    using Tree = THuffmanTree;
    // Everything the loop touches lives in locals: window stores may alias any memory, so
    // fields of `state` would be reloaded after each of them.
    const uint16_t* const literalTable = literals.PackedEntries();
    const uint64_t literalMask = (uint64_t{1} << literals.MaxBits()) - 1;
    const uint16_t* const distanceTable = distances.PackedEntries();
    const uint64_t distanceMask = (uint64_t{1} << distances.MaxBits()) - 1;
    const uint8_t* const input = state.input;
    uint8_t* const window = state.window;

    uint64_t bits = state.bits;
    unsigned count = state.count;
    size_t inPos = state.inPos;
    size_t inEnd = state.inEnd;
    uint8_t* out = window + state.outPos;
    uint8_t* limit = window + state.Limit();

    const auto store = [&] {
        state.bits = bits;
        state.count = count;
        state.inPos = inPos;
        state.outPos = static_cast<size_t>(out - window);
    };
    const auto reload = [&] {
        bits = state.bits;
        count = state.count;
        inPos = state.inPos;
        inEnd = state.inEnd;
        out = window + state.outPos;
        limit = window + state.Limit();
    };
    const auto consume = [&](unsigned n) {
        bits >>= n;
        count -= n;
    };
    // Literal entries are those below symbol 256; kNoPackedCode is far above.
    constexpr uint16_t kFirstNonLiteral = 256 << 4;

    for (;;) {
        if (inEnd - inPos >= 8) {
            bits |= LoadLittleEndian64(input + inPos) << count;
            inPos += (63 - count) >> 3;
            count |= kFilledBits;
        } else {
            store();
            state.FillBits();
            reload();
        }

        uint16_t entry = literalTable[bits & literalMask];
        if (entry < kFirstNonLiteral) {
            // The filled bits cover three literal codes: take up to two more without refilling.
            consume(Tree::PackedLength(entry));
            *out++ = static_cast<uint8_t>(Tree::PackedSymbol(entry));
            entry = literalTable[bits & literalMask];
            if (entry < kFirstNonLiteral) {
                consume(Tree::PackedLength(entry));
                *out++ = static_cast<uint8_t>(Tree::PackedSymbol(entry));
                entry = literalTable[bits & literalMask];
                if (entry < kFirstNonLiteral) {
                    consume(Tree::PackedLength(entry));
                    *out++ = static_cast<uint8_t>(Tree::PackedSymbol(entry));
                }
            }
            if (out >= limit) {
                store();
                state.Flush();
                reload();
            }
            continue;
        }
        const unsigned symbol = Tree::PackedSymbol(entry);
        if (symbol == kEndOfBlock) {
            consume(Tree::PackedLength(entry));
            break;
        }
        // Also catches kNoPackedCode, whose symbol is 0xFFF.
        if (symbol > kLastLengthSymbol) throw TRefused{};
        unsigned codeLength = Tree::PackedLength(entry);
        unsigned extraBits = kLengthExtraBits[symbol - kFirstLengthSymbol];
        const size_t length = kLengthBase[symbol - kFirstLengthSymbol] +
                              ((bits >> codeLength) & ((1u << extraBits) - 1));
        consume(codeLength + extraBits);

        entry = distanceTable[bits & distanceMask];
        const unsigned distanceCode = Tree::PackedSymbol(entry);
        if (distanceCode >= kDistanceCodes) throw TRefused{}; // codes 30, 31 or no code
        codeLength = Tree::PackedLength(entry);
        extraBits = kDistanceExtraBits[distanceCode];
        const size_t distance =
            kDistanceBase[distanceCode] + ((bits >> codeLength) & ((1u << extraBits) - 1));
        consume(codeLength + extraBits);
        // Flushes keep 32 KB of history, so this only bites before the first flush.
        if (distance > static_cast<size_t>(out - window)) throw TRefused{};

        out = CopyMatch(out, distance, length);
        if (out >= limit) {
            store();
            state.Flush();
            reload();
        }
    }
    store();
}

} // namespace kel::inflate_detail
