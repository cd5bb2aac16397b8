// The DEFLATE decoder on valid streams: Huffman tables, zlib's output at every level and strategy,
// stored blocks, the 32 KB output pieces, and hand-made streams zlib's compressor never emits.
#include "tests/skin/themes/InflateTestSupport.h"
#include "skin/themes/KEL2SkinReader_InflateState.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kel::inflate_test {
namespace {

// --- THuffmanTree

TEST(HuffmanTree, BuildsBitReversedCanonicalEntriesWithExtraBits) {
    // The example code of RFC 1951 section 3.2.2: A-H with lengths 3,3,3,3,3,2,4,4.
    const uint8_t lengths[] = {9, 3, 3, 3, 3, 3, 2, 4, 4};
    const uint8_t extra[] = {1, 2}; // for G and H
    THuffmanTree tree(15);
    EXPECT_EQ(tree.Build(lengths, 1, 8, 6, extra), TCodeSpace::Complete);
    EXPECT_EQ(tree.MaxBits(), 4);
    // F = 00, A = 010 (input bits 0,1,0 -> index 0b010), H = 1111.
    for (uint32_t high = 0; high < 4; ++high)
        EXPECT_EQ(tree.Lookup(high << 2), 5u | 2u << 16 | 0u << 24); // F: symbol 5, 2 bits
    EXPECT_EQ(tree.Lookup(0b0010), 0u | 3u << 16);
    EXPECT_EQ(tree.Lookup(0b1010), 0u | 3u << 16);
    EXPECT_EQ(tree.Lookup(0b0111), 6u | 4u << 16 | 1u << 24); // G = 1110
    EXPECT_EQ(tree.Lookup(0b1111), 7u | 4u << 16 | 2u << 24); // H = 1111
}

TEST(HuffmanTree, ClassifiesTheCodeSpace) {
    THuffmanTree tree(7);
    const uint8_t complete[] = {1, 2, 2};
    const uint8_t single[] = {0, 1, 0};
    const uint8_t singleLong[] = {0, 2, 0};
    const uint8_t empty[] = {0, 0, 0};
    const uint8_t incomplete[] = {1, 2, 0};
    const uint8_t over[] = {1, 1, 2};
    const uint8_t tooLong[] = {1, 8, 1};
    EXPECT_EQ(tree.Build(complete, 0, 3, 3, nullptr), TCodeSpace::Complete);
    EXPECT_EQ(tree.Build(single, 0, 3, 3, nullptr), TCodeSpace::SingleCode);
    EXPECT_EQ(tree.Lookup(0), 1u | 1u << 16);
    EXPECT_EQ(tree.Lookup(1), THuffmanTree::kNoCode);
    EXPECT_EQ(tree.Build(singleLong, 0, 3, 3, nullptr), TCodeSpace::Incomplete);
    EXPECT_EQ(tree.Build(incomplete, 0, 3, 3, nullptr), TCodeSpace::Incomplete);
    EXPECT_EQ(tree.Lookup(0b11), THuffmanTree::kNoCode);
    EXPECT_EQ(tree.Build(empty, 0, 3, 3, nullptr), TCodeSpace::Empty);
    EXPECT_EQ(tree.MaxBits(), 0);
    EXPECT_EQ(tree.Lookup(0), THuffmanTree::kNoCode);
    EXPECT_EQ(tree.Build(over, 0, 3, 3, nullptr), TCodeSpace::OverSubscribed);
    EXPECT_EQ(tree.MaxBits(), 0);
    EXPECT_EQ(tree.Lookup(0), THuffmanTree::kNoCode);
    EXPECT_EQ(tree.Build(tooLong, 0, 3, 3, nullptr), TCodeSpace::Unusable);
    EXPECT_EQ(tree.Lookup(0), THuffmanTree::kNoCode);
}

TEST(HuffmanTree, FixedTrees) {
    const THuffmanTree& literals = FixedLiteralTree();
    EXPECT_EQ(literals.CodeLimit(), 15);
    EXPECT_EQ(literals.MaxBits(), 9);
    EXPECT_EQ(&literals, &FixedLiteralTree()); // built once
    // 256 has the 7-bit code 0000000; 0 has 00110000 (input bits reversed: 0b00001100).
    EXPECT_EQ(literals.Lookup(0), 256u | 7u << 16);
    EXPECT_EQ(literals.Lookup(0b00001100), 0u | 8u << 16);
    // 284 = 11000100 carries 5 extra bits.
    EXPECT_EQ(literals.Lookup(0b00100011), 284u | 8u << 16 | 5u << 24);
    const THuffmanTree& distances = FixedDistanceTree();
    EXPECT_EQ(distances.MaxBits(), 5);
    EXPECT_EQ(distances.Lookup(0b10111), 29u | 5u << 16 | 13u << 24); // 29 = 11101
}

// Random code lengths over `symbols` symbols: a complete code up to 15 bits long made by
// splitting random leaves, given to random symbols; with `dropOne` one code is left out.
Bytes RandomCodeLengths(uint32_t& seed, size_t symbols, size_t codes, bool dropOne) {
    const auto next = [&seed](size_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<size_t>(seed >> 8) % bound;
    };
    std::vector<uint8_t> leaves = {0};
    while (leaves.size() < codes) {
        uint8_t& leaf = leaves[next(leaves.size())];
        if (leaf == 15) continue;
        leaves.push_back(++leaf);
    }
    if (dropOne) leaves.pop_back();
    Bytes lengths(symbols, 0);
    std::vector<size_t> order(symbols);
    for (size_t i = 0; i < symbols; ++i) order[i] = i;
    for (size_t i = symbols - 1; i > 0; --i) std::swap(order[i], order[next(i + 1)]);
    for (size_t i = 0; i < leaves.size(); ++i) lengths[order[i]] = leaves[i];
    return lengths;
}

// The decoding table (main table, subtables, paired literals, bases) says for every bit pattern
// what canonical decoding of the same code says.
TEST(HuffmanTree, DecodingTableAgreesWithCanonicalDecoding) {
    using Table = TDecodeTable;
    uint32_t seed = 99;
    for (int round = 0; round < 60; ++round) {
        const bool distances = round % 3 == 2;
        const size_t symbols = distances ? 30 : 286;
        const THuffmanAlphabet& alphabet =
            distances ? inflate_tables::kDistanceAlphabet : inflate_tables::kLiteralLengthAlphabet;
        const Bytes lengths =
            RandomCodeLengths(seed, symbols, 2 + seed % (symbols - 2), round % 4 == 1);
        THuffmanTree tree(15, distances ? 8 : 11);
        const TCodeSpace space = tree.Build(lengths.data(), 0, symbols, alphabet);
        ASSERT_TRUE(space == TCodeSpace::Complete || space == TCodeSpace::Incomplete ||
                    space == TCodeSpace::SingleCode);
        // The main table is as wide as asked for even when every code is shorter.
        const Table table = tree.Table();
        ASSERT_EQ(table.mainBits, distances ? 8u : 11u);
        const int indexBits = std::max(tree.MaxBits(), static_cast<int>(table.mainBits));
        for (uint32_t index = 0; index < (1u << indexBits); ++index) {
            const uint32_t entry = table.Decode(index);
            const uint32_t expected = tree.Lookup(index);
            SCOPED_TRACE(testing::Message() << "round " << round << " index " << index);
            if (expected == THuffmanTree::kNoCode) {
                ASSERT_EQ(entry, Table::kNoCode);
                continue;
            }
            const uint32_t symbol = expected & 0xFFFF, length = (expected >> 16) & 0xFF;
            const uint32_t extra = expected >> 24;
            ASSERT_EQ(Table::CodeLength(entry), length);
            if (!distances && symbol < 256) {
                ASSERT_TRUE(entry & Table::kLiteral);
                ASSERT_EQ(Table::Value(entry) & 0xFF, symbol);
                if (entry & Table::kSecondLiteral) {
                    const uint32_t second = tree.Lookup(index >> length);
                    ASSERT_LT(second & 0xFFFF, 256u);
                    ASSERT_EQ(Table::Value(entry) >> 8, second & 0xFFFF);
                    ASSERT_EQ(Table::Consumed(entry), length + ((second >> 16) & 0xFF));
                    ASSERT_LE(Table::Consumed(entry), 11u);
                } else {
                    ASSERT_EQ(Table::Consumed(entry), length);
                    // Unpaired only where the next code is no literal or does not fit too.
                    const uint32_t next = tree.Lookup(index >> length);
                    const bool nextIsLiteral =
                        next != THuffmanTree::kNoCode && (next & 0xFFFF) < 256;
                    ASSERT_FALSE(nextIsLiteral && length + ((next >> 16) & 0xFF) <= table.mainBits);
                }
            } else if (!distances && symbol == 256) {
                ASSERT_EQ(Table::Value(entry), 0u);
                ASSERT_EQ(entry & (Table::kLiteral | Table::kSubtable), 0u);
                ASSERT_TRUE(entry & Table::kSpecial && entry & Table::kEndOfBlock);
                ASSERT_EQ(Table::Consumed(entry), length);
            } else if (symbol >= (distances ? 30u : 286u)) {
                ASSERT_EQ(entry, Table::kNoCode);
            } else {
                const size_t i = distances ? symbol : symbol - 257;
                const uint16_t* bases =
                    distances ? inflate_tables::kDistanceBase : inflate_tables::kLengthBase;
                ASSERT_EQ(entry & (Table::kLiteral | Table::kSpecial), 0u);
                ASSERT_EQ(Table::Consumed(entry), length + extra);
                // With every extra bit set the value is the base plus the largest extra value.
                const uint64_t allExtraOnes = uint64_t{(1u << extra) - 1} << length;
                ASSERT_EQ(Table::ValueWithExtra(entry, index | allExtraOnes),
                          bases[i] + (1u << extra) - 1);
            }
        }
    }
}

// --- Streams made by zlib

Bytes ThisProgram() {
    std::ifstream file("/proc/self/exe", std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    bytes.resize(std::min<size_t>(bytes.size(), 64 * 1024));
    return bytes;
}

struct TSample {
    const char* name;
    Bytes data;
};

std::vector<TSample> Samples() {
    return {{"random", RandomBytes(20000, 7)},
            {"text", TextLike(70000, 3)},
            {"program", ThisProgram()},
            {"runs", [] {
                 Bytes data = RandomBytes(40000, 11);
                 for (size_t i = 0; i < data.size(); ++i)
                     if ((i / 300) % 2) data[i] = static_cast<uint8_t>(i / 3000);
                 return data;
             }()}};
}

TEST(Inflate, DecodesZlibOutputAtEveryLevelAndStrategy) {
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (const TSample& sample : Samples()) {
        for (int level = 0; level <= 9; ++level) {
            for (int strategy : strategies) {
                if (level == 0 && strategy != Z_DEFAULT_STRATEGY) continue; // all stored
                const Bytes stream = CompressWithZlib(sample.data, level, strategy);
                const TDecoded decoded = DecodeWithOurs(stream);
                ASSERT_TRUE(decoded.ok)
                    << sample.name << " level " << level << " strategy " << strategy;
                ASSERT_EQ(decoded.bytes, sample.data)
                    << sample.name << " level " << level << " strategy " << strategy;
            }
        }
    }
}

TEST(Inflate, PortableBlockLoopDecodesLikeTheFastestOne) {
    // On a processor with BMI2 the other tests run its copy of the loop; this one runs the copy
    // for every processor, over the same kinds of streams.
    struct TPortable {
        TPortable() { inflate_detail::UsePortableBlockLoop(true); }
        ~TPortable() { inflate_detail::UsePortableBlockLoop(false); }
    } portable;
    for (const TSample& sample : Samples()) {
        for (int level : {1, 6, 9}) {
            for (int strategy : {Z_DEFAULT_STRATEGY, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
                const Bytes stream = CompressWithZlib(sample.data, level, strategy);
                for (size_t chunk : {size_t{7}, SIZE_MAX}) {
                    const TDecoded decoded = DecodeWithOurs(stream, chunk);
                    ASSERT_TRUE(decoded.ok) << sample.name << " level " << level;
                    ASSERT_EQ(decoded.bytes, sample.data) << sample.name << " level " << level;
                }
            }
        }
    }
    // A stream cut in half is refused by this copy too.
    Bytes truncated = CompressWithZlib(TextLike(100000, 4), 6);
    truncated.resize(truncated.size() / 2);
    EXPECT_FALSE(DecodeWithOurs(truncated).ok);
}

TEST(Inflate, DecodesInputDeliveredInSmallReads) {
    const Bytes data = TextLike(150000, 5);
    for (int level : {0, 1, 9}) {
        const Bytes stream = CompressWithZlib(data, level);
        for (size_t chunk : {size_t{1}, size_t{3}, size_t{7}, size_t{4099}}) {
            const TDecoded decoded = DecodeWithOurs(stream, chunk);
            ASSERT_TRUE(decoded.ok) << "level " << level << " chunk " << chunk;
            ASSERT_EQ(decoded.bytes, data) << "level " << level << " chunk " << chunk;
        }
    }
}

TEST(Inflate, WritesOutputIn32KBPiecesThenTheRest) {
    const Bytes data = TextLike(200000, 9);
    const TDecoded decoded = DecodeWithOurs(CompressWithZlib(data, 6));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.bytes, data);
    ASSERT_GE(decoded.writes.size(), 2u);
    for (size_t i = 0; i + 1 < decoded.writes.size(); ++i) EXPECT_EQ(decoded.writes[i], 32768u);
    EXPECT_GT(decoded.writes.back(), 0u);
    EXPECT_LT(decoded.writes.back(), 65536u);
}

TEST(Inflate, StoredBlocks) {
    // A final stored block of 0 bytes: nothing to write, success.
    const TDecoded empty = DecodeWithOurs({0x01, 0x00, 0x00, 0xFF, 0xFF});
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.bytes.empty());

    // Empty stored blocks of sync flushes between compressed pieces, stored blocks after
    // compressed ones at any bit position, stored blocks larger than the window.
    const Bytes data = TextLike(120000, 21);
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes stream(300000);
    z.next_out = stream.data();
    z.avail_out = static_cast<uInt>(stream.size());
    const size_t pieces[] = {1, 17, 5000, 70000, 3, 44979};
    size_t offset = 0;
    int level = 1;
    for (size_t piece : pieces) {
        z.next_in = const_cast<uint8_t*>(data.data() + offset);
        z.avail_in = static_cast<uInt>(piece);
        offset += piece;
        ASSERT_EQ(deflate(&z, offset == data.size() ? Z_FINISH : Z_SYNC_FLUSH),
                  offset == data.size() ? Z_STREAM_END : Z_OK);
        level = level == 0 ? 9 : 0;
        if (offset != data.size()) {
            ASSERT_EQ(deflateParams(&z, level, Z_DEFAULT_STRATEGY), Z_OK);
        }
    }
    stream.resize(z.total_out);
    deflateEnd(&z);
    for (size_t chunk : {size_t{5}, SIZE_MAX}) {
        const TDecoded decoded = DecodeWithOurs(stream, chunk);
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.bytes, data);
    }
}

TEST(Inflate, FinalBlockEndingAnywhereInAWord) {
    // Streams of every length modulo 4 (and 8): the last word is completed with zero bytes.
    for (size_t size = 0; size < 64; ++size) {
        const Bytes data = TextLike(size, static_cast<uint32_t>(size));
        for (int level : {0, 6}) {
            const Bytes stream = CompressWithZlib(data, level);
            const TDecoded decoded = DecodeWithOurs(stream);
            ASSERT_TRUE(decoded.ok) << "size " << size << " stream " << stream.size();
            ASSERT_EQ(decoded.bytes, data);
        }
    }
}

// --- Hand-made streams, each checked against zlib as well

void ExpectSameAsZlib(const Bytes& stream, const Bytes& expected) {
    const std::optional<Bytes> oracle = DecodeWithZlib(stream);
    ASSERT_TRUE(oracle.has_value());
    ASSERT_EQ(*oracle, expected);
    const TDecoded decoded = DecodeWithOurs(stream);
    ASSERT_TRUE(decoded.ok);
    ASSERT_EQ(decoded.bytes, expected);
}

TEST(Inflate, DistanceOneLength258RepeatsOneByte) {
    TBitWriter writer;
    TBlockWriter block = BeginFixedBlock(writer, true);
    block.Literal('a');
    block.Match(258, 1);
    block.End();
    ExpectSameAsZlib(writer.Finish(), Bytes(259, 'a'));
}

TEST(Inflate, MatchesReachBack32768AcrossFlushes) {
    // 40,000 literals, then matches at the largest distance until well past two flushes, with
    // short and overlapping matches at other distances in between.
    const Bytes head = RandomBytes(40000, 99);
    Bytes expected = head;
    TBitWriter writer;
    TBlockWriter block = BeginFixedBlock(writer, false);
    block.Literals(head);
    const auto match = [&](unsigned length, unsigned distance) {
        block.Match(length, distance);
        for (unsigned i = 0; i < length; ++i)
            expected.push_back(expected[expected.size() - distance]);
    };
    for (unsigned i = 0; expected.size() < 140000; ++i) {
        match(258, 32768);
        match(3 + i % 250, 1 + (i * 7919) % 32768);
        match(10 + i % 7, 2 + i % 9); // overlapping, short distances
    }
    block.End();
    TBlockWriter last = BeginFixedBlock(writer, true);
    last.Match(258, 32768);
    for (unsigned i = 0; i < 258; ++i) expected.push_back(expected[expected.size() - 32768]);
    last.End();
    ExpectSameAsZlib(writer.Finish(), expected);
}

TEST(Inflate, AcceptsTheSparseCodesDeflateAllows) {
    // One distance code of length 1, used by a match.
    Bytes literalLengths(257, 0);
    literalLengths['x'] = 1;
    literalLengths[256] = 2;
    literalLengths.push_back(2); // 257: length 3
    Bytes distanceLengths(30, 0);
    distanceLengths[0] = 1;
    {
        TBitWriter writer;
        TBlockWriter block = BeginDynamicBlock(writer, true, literalLengths, distanceLengths);
        block.Literal('x');
        block.Match(3, 1);
        block.End();
        ExpectSameAsZlib(writer.Finish(), Bytes(4, 'x'));
    }
    // No distance code at all in a block of literals only.
    {
        TBitWriter writer;
        TBlockWriter block = BeginDynamicBlock(writer, true, literalLengths, Bytes(1, 0));
        block.Literal('x');
        block.End();
        ExpectSameAsZlib(writer.Finish(), Bytes(1, 'x'));
    }
    // A literal/length code of the end-of-block code alone, length 1: an empty block.
    {
        Bytes onlyEnd(257, 0);
        onlyEnd[256] = 1;
        TBitWriter writer;
        TBlockWriter block = BeginDynamicBlock(writer, true, onlyEnd, Bytes(1, 0));
        block.End();
        ExpectSameAsZlib(writer.Finish(), Bytes());
    }
}

TEST(Inflate, RepeatCodesFillTheCodeLengths) {
    // 'a'..'n', the end-of-block code and length 3 at 4 bits each (16 codes: complete), two
    // distance codes; the header uses 16, 17 and 18 for the runs.
    Bytes literalLengths(258, 0);
    for (unsigned i = 'a'; i <= 'n'; ++i) literalLengths[i] = 4;
    literalLengths[256] = 4;
    literalLengths[257] = 4;
    Bytes all = literalLengths;
    all.insert(all.end(), {1, 1});
    TBitWriter writer;
    PutDynamicHeader(writer, true, 258, 2, RepeatingCodeLengthCode(), RunLengthOps(all));
    TBlockWriter block(writer, literalLengths, Bytes{1, 1});
    block.Literals({'a', 'b', 'n'});
    block.Match(3, 2);
    block.End();
    ExpectSameAsZlib(writer.Finish(), Bytes{'a', 'b', 'n', 'b', 'n', 'b'});
}

} // namespace
} // namespace kel::inflate_test
