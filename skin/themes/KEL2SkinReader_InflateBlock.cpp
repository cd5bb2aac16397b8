// InflateBlock: the inner loop of the DEFLATE decoder, one table entry per literal/length symbol
// (or two literals), one per distance.
#include "skin/themes/KEL2SkinReader_InflateState.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <atomic>
#include <cstddef>
#include <cstring>

// The loop's helpers are lambdas over its local state. Should the compiler call one instead of
// inlining it, that state would live in memory instead of registers: measured a tenth slower.
#if defined(__GNUC__)
#define KEL_ALWAYS_INLINE __attribute__((always_inline))
#else
#define KEL_ALWAYS_INLINE
#endif

// A second copy of the loop for processors with BMI2, where the compiler can target it.
#if defined(__GNUC__) && defined(__x86_64__)
#define KEL_INFLATE_BMI2 1
#else
#define KEL_INFLATE_BMI2 0
#endif

namespace kel::inflate_detail {
namespace {

// Appends `length` (3 or more) bytes copied from `distance` bytes back; the source may overlap
// the destination, which then repeats the pattern. May write up to kCopySlack bytes past the
// copy's end.
inline uint8_t* CopyMatch(uint8_t* out, size_t distance, size_t length) {
    const uint8_t* from = out - distance;
    uint8_t* const end = out + length;
    if (distance >= 8) {
        // Each word reads only bytes that are already in place. Five words unconditionally
        // cover most matches without a loop whose end the processor would have to guess.
        const auto copyWord = [&]() KEL_ALWAYS_INLINE {
            uint64_t word;
            std::memcpy(&word, from, 8);
            std::memcpy(out, &word, 8);
            out += 8;
            from += 8;
        };
        copyWord();
        copyWord();
        copyWord();
        copyWord();
        copyWord();
        while (out < end) {
            copyWord();
            copyWord();
        }
    } else if (distance == 1) {
        std::memset(out, *from, length);
    } else {
        // Word copies that step by the distance: each reads the bytes the one before has just
        // written, so every word holds the pattern from its start.
        do {
            uint64_t word;
            std::memcpy(&word, from, 8);
            std::memcpy(out, &word, 8);
            out += distance;
            from += distance;
        } while (out < end);
    }
    return end;
}

// Appends the one or two literal bytes of a table entry. Always stores two: the window has room
// past the limit.
inline uint8_t* PutLiterals(uint8_t* out, uint32_t entry) {
    const uint32_t bytes = TDecodeTable::Value(entry);
    out[0] = static_cast<uint8_t>(bytes);
    out[1] = static_cast<uint8_t>(bytes >> 8);
    return out + 1 + ((entry & TDecodeTable::kSecondLiteral) != 0);
}

// The whole loop, inlined into each of the entry points below so that each compiles it for its
// own instruction set.
KEL_ALWAYS_INLINE inline void DecodeBlock(TInflateState& state, const THuffmanTree& literals,
                                          const THuffmanTree& distances) {
    using Table = TDecodeTable;
    using inflate_tables::kDistanceMainBits;
    using inflate_tables::kLiteralMainBits;
    // Everything the loop touches lives in locals: window stores may alias any memory, so
    // fields of `state` or of the trees would be reloaded after each of them. The tables are
    // indexed with constant widths, which frees registers; every tree is built at them.
    const uint32_t* const literalTable = literals.Table().entries;
    const uint32_t* const distanceTable = distances.Table().entries;
    if (literals.Table().mainBits != kLiteralMainBits ||
        distances.Table().mainBits != kDistanceMainBits)
        throw TRefused{};
    const auto decodeLiteral = [&](uint64_t from) KEL_ALWAYS_INLINE {
        return Table::Decode(literalTable, kLiteralMainBits, from);
    };
    const auto decodeDistance = [&](uint64_t from) KEL_ALWAYS_INLINE {
        return Table::Decode(distanceTable, kDistanceMainBits, from);
    };
    uint8_t* const window = state.window;

    uint64_t bits = 0;
    unsigned count = 0;
    // The next input byte, and the end of the positions from which 8 bytes can be loaded at once.
    const uint8_t* in = nullptr;
    const uint8_t* inFastEnd = nullptr;
    uint8_t* out = nullptr;
    uint8_t* limit = nullptr;

    const auto store = [&]() KEL_ALWAYS_INLINE {
        state.bits = bits;
        state.count = count & Table::kShiftMask;
        state.inPos = static_cast<size_t>(in - state.input);
        state.outPos = static_cast<size_t>(out - window);
    };
    const auto reload = [&]() KEL_ALWAYS_INLINE {
        bits = state.bits;
        count = state.count;
        in = state.input + state.inPos;
        inFastEnd = state.input + (state.inEnd >= 8 ? state.inEnd - 7 : 0);
        out = window + state.outPos;
        limit = window + state.Limit();
    };
    reload();
    // Above its low 6 bits, `count` collects leftovers of the entries' upper bits: subtracting
    // whole entries saves an instruction between one table load and the next, and as no entry
    // consumes more bits than are valid, the low 6 bits stay the exact count.
    const auto validBits = [&]() KEL_ALWAYS_INLINE { return count & Table::kShiftMask; };
    const auto consume = [&](uint32_t entry) KEL_ALWAYS_INLINE {
        bits >>= entry & Table::kShiftMask;
        count -= entry;
    };

    // Tops the bit buffer up to at least 56 bits: a length code with its extra bits and a
    // distance code with its extra bits (48), or two entries of up to 15 bits each and a third
    // code. Only bits above the valid ones change, so an entry decoded before stays valid.
    const auto refill = [&]() KEL_ALWAYS_INLINE {
        if (in < inFastEnd) {
            bits |= LoadLittleEndian64(in) << validBits();
            in += (63 - validBits()) >> 3;
            count |= kFilledBits;
        } else {
            store();
            state.FillBits();
            reload();
        }
    };
    const auto flushIfFull = [&]() KEL_ALWAYS_INLINE {
        if (out >= limit) {
            store();
            state.Flush();
            reload();
        }
    };

    // The next entry is always decoded ahead, so that its table load overlaps the work before.
    refill();
    uint32_t entry = decodeLiteral(bits);
    for (;;) {
        if (entry & Table::kLiteral) {
            out = PutLiterals(out, entry);
            consume(entry);
            entry = decodeLiteral(bits);
            if (entry & Table::kLiteral) {
                out = PutLiterals(out, entry);
                consume(entry);
                entry = decodeLiteral(bits);
            }
            refill();
            flushIfFull();
            continue;
        }
        if (entry & Table::kSpecial) {
            if (!(entry & Table::kEndOfBlock)) throw TRefused{}; // no code, or 286 and 287
            consume(entry);
            break;
        }
        const size_t length = Table::ValueWithExtra(entry, bits);
        consume(entry);

        entry = decodeDistance(bits);
        if (entry & Table::kSpecial) throw TRefused{}; // no code, or codes 30 and 31
        const size_t distance = Table::ValueWithExtra(entry, bits);
        consume(entry);
        // Flushes keep 32 KB of history, so this only bites before the first flush.
        if (distance > static_cast<size_t>(out - window)) throw TRefused{};

        refill();
        entry = decodeLiteral(bits);
        out = CopyMatch(out, distance, length);
        flushIfFull();
    }
    store();
}

#if KEL_INFLATE_BMI2
// With BMI2 the variable shifts and bit extractions of the loop are single instructions without
// flags: measured 3 to 7 % faster. Chosen at run time, as not every x86-64 processor has it.
__attribute__((target("bmi2"))) void
DecodeBlockBmi2(TInflateState& state, const THuffmanTree& literals, const THuffmanTree& distances) {
    DecodeBlock(state, literals, distances);
}

bool ProcessorHasBmi2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("bmi2") != 0;
    }();
    return has;
}
#endif

} // namespace

namespace {
std::atomic<bool> gPortableBlockLoop{false};
} // namespace

void UsePortableBlockLoop(bool portable) {
    gPortableBlockLoop.store(portable, std::memory_order_relaxed);
}

void InflateBlock(TInflateState& state, const THuffmanTree& literals,
                  const THuffmanTree& distances) {
#if KEL_INFLATE_BMI2
    if (!gPortableBlockLoop.load(std::memory_order_relaxed) && ProcessorHasBmi2()) {
        DecodeBlockBmi2(state, literals, distances);
        return;
    }
#endif
    DecodeBlock(state, literals, distances);
}

} // namespace kel::inflate_detail
