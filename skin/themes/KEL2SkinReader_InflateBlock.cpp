// InflateBlock: the inner loop of the DEFLATE decoder, one table lookup per symbol.
#include "skin/themes/KEL2SkinReader_InflateState.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <array>
#include <cstring>

namespace kel::inflate_detail {
namespace {

using namespace inflate_tables;

// Masks of the extra bits per length and distance code, so that the inner loop needs no shift
// to form them.
template <size_t N> constexpr std::array<uint16_t, N> ExtraBitMasks(const uint8_t (&extraBits)[N]) {
    std::array<uint16_t, N> masks{};
    for (size_t i = 0; i < N; ++i) masks[i] = static_cast<uint16_t>((1u << extraBits[i]) - 1);
    return masks;
}
constexpr std::array<uint16_t, 31> kLengthExtraMask = ExtraBitMasks(kLengthExtraBits);
constexpr std::array<uint16_t, 32> kDistanceExtraMask = ExtraBitMasks(kDistanceExtraBits);

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
    uint8_t* const window = state.window;

    uint64_t bits = 0;
    unsigned count = 0;
    // The next input byte, and the end of the positions from which 8 bytes can be loaded at once.
    const uint8_t* in = nullptr;
    const uint8_t* inFastEnd = nullptr;
    uint8_t* out = nullptr;
    uint8_t* limit = nullptr;

    const auto store = [&] {
        state.bits = bits;
        state.count = count;
        state.inPos = static_cast<size_t>(in - state.input);
        state.outPos = static_cast<size_t>(out - window);
    };
    const auto reload = [&] {
        bits = state.bits;
        count = state.count;
        in = state.input + state.inPos;
        inFastEnd = state.input + (state.inEnd >= 8 ? state.inEnd - 7 : 0);
        out = window + state.outPos;
        limit = window + state.Limit();
    };
    reload();
    const auto consume = [&](unsigned n) {
        bits >>= n;
        count -= n;
    };
    // Literal entries are those below symbol 256; kNoPackedCode is far above.
    constexpr uint16_t kFirstNonLiteral = 256 << 4;

    for (;;) {
        if (in < inFastEnd) {
            bits |= LoadLittleEndian64(in) << count;
            in += (63 - count) >> 3;
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
        const size_t length =
            kLengthBase[symbol - kFirstLengthSymbol] +
            ((bits >> codeLength) & kLengthExtraMask[symbol - kFirstLengthSymbol]);
        consume(codeLength + extraBits);

        entry = distanceTable[bits & distanceMask];
        const unsigned distanceCode = Tree::PackedSymbol(entry);
        if (distanceCode >= kDistanceCodes) throw TRefused{}; // codes 30, 31 or no code
        codeLength = Tree::PackedLength(entry);
        extraBits = kDistanceExtraBits[distanceCode];
        const size_t distance =
            kDistanceBase[distanceCode] + ((bits >> codeLength) & kDistanceExtraMask[distanceCode]);
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
