// Inflate: the block loop of the DEFLATE decoder, with the header of dynamic blocks.
#include "skin/themes/KEL2SkinReader_Inflate.h"
#include "skin/themes/KEL2SkinReader_InflateState.h"
#include "skin/themes/KEL2SkinReader_InflateTables.h"

#include <algorithm>
#include <optional>

namespace kel {
namespace {

using namespace inflate_detail;
using namespace inflate_tables;

// The dynamic trees, kept over the blocks of one stream so that their tables are reused.
struct TDynamicTrees {
    THuffmanTree codeLengths{7, 7};
    THuffmanTree literals{THuffmanTree::kMaxCodeLimit, kLiteralMainBits};
    THuffmanTree distances{THuffmanTree::kMaxCodeLimit, kDistanceMainBits};
};

// Reads the code lengths of a dynamic block, run-length coded with the code-length code.
void ReadCodeLengths(TInflateState& state, const THuffmanTree& codeLengthTree, uint8_t* lengths,
                     unsigned total) {
    const TDecodeTable table = codeLengthTree.Table();
    unsigned filled = 0;
    while (filled < total) {
        state.FillBits();
        const uint32_t entry = table.Decode(state.bits);
        if (entry & TDecodeTable::kSpecial) throw TRefused{}; // no code
        const unsigned symbol = TDecodeTable::Value(entry);
        state.Consume(TDecodeTable::Consumed(entry));
        if (symbol < 16) {
            lengths[filled++] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint8_t repeated = 0;
        unsigned repeat = 0;
        if (symbol == 16) {
            if (filled == 0) throw TRefused{}; // nothing to repeat
            repeated = lengths[filled - 1];
            repeat = 3 + state.Get(2);
        } else if (symbol == 17) {
            repeat = 3 + state.Get(3);
        } else {
            repeat = 11 + state.Get(7);
        }
        if (repeat > total - filled) throw TRefused{};
        std::fill_n(lengths + filled, repeat, repeated);
        filled += repeat;
    }
}

// Reads the header of a dynamic block and builds its trees; refuses any header whose codes zlib
// would not accept either.
void ReadDynamicTrees(TInflateState& state, TDynamicTrees& trees) {
    const unsigned literalCount = state.Get(5) + 257;
    const unsigned distanceCount = state.Get(5) + 1;
    const unsigned codeLengthCount = state.Get(4) + 4;
    if (literalCount > kMaxLiteralCodes || distanceCount > kMaxDistanceCodes) throw TRefused{};

    uint8_t codeLengthLengths[kCodeLengthCodes] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i)
        codeLengthLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(state.Get(3));
    if (trees.codeLengths.Build(codeLengthLengths, 0, kCodeLengthCodes, kCodeLengthAlphabet) !=
        TCodeSpace::Complete)
        throw TRefused{};

    uint8_t lengths[kMaxLiteralCodes + kMaxDistanceCodes] = {};
    ReadCodeLengths(state, trees.codeLengths, lengths, literalCount + distanceCount);
    // A block without an end-of-block code could never end.
    if (lengths[kEndOfBlock] == 0) throw TRefused{};

    // Only a lone code of length 1 may leave half of the code space unused, and the distance code
    // may be empty when the block holds no matches.
    const TCodeSpace literalSpace =
        trees.literals.Build(lengths, 0, literalCount, kLiteralLengthAlphabet);
    if (literalSpace != TCodeSpace::Complete && literalSpace != TCodeSpace::SingleCode)
        throw TRefused{};
    const TCodeSpace distanceSpace =
        trees.distances.Build(lengths, literalCount, distanceCount, kDistanceAlphabet);
    if (distanceSpace != TCodeSpace::Complete && distanceSpace != TCodeSpace::SingleCode &&
        distanceSpace != TCodeSpace::Empty)
        throw TRefused{};
}

} // namespace

bool Inflate(TInputStream& in, TOutputStream& out) {
    try {
        TInflateState state(in, out);
        // Made on the first dynamic block: streams of stored blocks need no tables.
        std::optional<TDynamicTrees> trees;
        bool finalBlock = false;
        do {
            finalBlock = state.Get(1) != 0;
            switch (state.Get(2)) {
            case 0:
                state.CopyStoredBlock();
                break;
            case 1:
                InflateBlock(state, FixedLiteralTree(), FixedDistanceTree());
                break;
            case 2:
                if (!trees) trees.emplace();
                ReadDynamicTrees(state, *trees);
                InflateBlock(state, trees->literals, trees->distances);
                break;
            default:
                throw TRefused{}; // block type 3 is reserved
            }
        } while (!finalBlock);
        state.FinishOutput();
        return true;
    } catch (const TRefused&) {
        return false;
    }
}

} // namespace kel
