// The DEFLATE decoder on broken and hostile streams: every stream here is refused by zlib too, and
// ours refuses it cleanly, writing nothing that was not decoded from real input.
#include "tests/skin/themes/InflateTestSupport.h"

#include <gtest/gtest.h>

namespace kel::inflate_test {
namespace {

void ExpectRefused(const Bytes& stream) {
    EXPECT_FALSE(DecodeWithZlib(stream).has_value()) << "zlib accepts the test stream";
    for (size_t chunk : {size_t{1}, SIZE_MAX}) {
        const TDecoded decoded = DecodeWithOurs(stream, chunk);
        EXPECT_FALSE(decoded.ok);
        EXPECT_TRUE(decoded.bytes.empty());
    }
}

// A literal/length code with 'a', the end-of-block code and length 3, and one distance code.
Bytes SmallLiteralLengths() {
    Bytes lengths(258, 0);
    lengths['a'] = 1;
    lengths[256] = 2;
    lengths[257] = 2;
    return lengths;
}

TEST(InflateRefusal, HeaderCountsOutOfRange) {
    for (unsigned literalCount : {286u, 287u, 288u})
        for (unsigned distanceCount : {30u, 31u, 32u}) {
            if (literalCount == 286 && distanceCount == 30) continue;
            Bytes literals(literalCount, 0), distances(distanceCount, 0);
            literals[256] = 1;
            literals['a'] = 1;
            TBitWriter writer;
            BeginDynamicBlock(writer, true, literals, distances).End();
            ExpectRefused(writer.Finish());
        }
}

TEST(InflateRefusal, ReservedBlockType) {
    for (uint8_t first : {0x07, 0x06}) { // final or not, type 3
        SCOPED_TRACE(first);
        ExpectRefused({first, 0, 0, 0, 0, 0, 0, 0});
    }
}

TEST(InflateRefusal, FixedCodesOutsideTheAlphabet) {
    for (unsigned symbol : {286u, 287u}) {
        TBitWriter writer;
        TBlockWriter block = BeginFixedBlock(writer, true);
        block.Literal('a');
        block.Symbol(symbol);
        block.DistanceCode(0);
        block.End();
        ExpectRefused(writer.Finish());
    }
    for (unsigned code : {30u, 31u}) {
        TBitWriter writer;
        TBlockWriter block = BeginFixedBlock(writer, true);
        block.Literal('a');
        block.Symbol(257);
        block.DistanceCode(code);
        block.End();
        ExpectRefused(writer.Finish());
    }
}

TEST(InflateRefusal, DistanceBeforeTheFirstByte) {
    TBitWriter writer;
    TBlockWriter block = BeginFixedBlock(writer, true);
    block.Literals({'a', 'b'});
    block.Match(3, 3);
    block.End();
    ExpectRefused(writer.Finish());

    TBitWriter empty;
    TBlockWriter first = BeginFixedBlock(empty, true);
    first.Match(258, 1);
    first.End();
    ExpectRefused(empty.Finish());
}

TEST(InflateRefusal, BitPatternsNoCodeCovers) {
    // Literal code: the end-of-block code alone (0); input bit 1 is no code.
    Bytes onlyEnd(257, 0);
    onlyEnd[256] = 1;
    TBitWriter literal;
    BeginDynamicBlock(literal, true, onlyEnd, Bytes(1, 0));
    literal.Put(1, 1);
    ExpectRefused(literal.Finish());

    // Distance code: a single code 0; a match followed by distance bit 1.
    TBitWriter distance;
    TBlockWriter block = BeginDynamicBlock(distance, true, SmallLiteralLengths(), Bytes(1, 1));
    block.Literal('a');
    block.Symbol(257);
    distance.Put(1, 1);
    block.End();
    ExpectRefused(distance.Finish());

    // No distance code at all, yet a match.
    TBitWriter none;
    TBlockWriter noDistances = BeginDynamicBlock(none, true, SmallLiteralLengths(), Bytes(2, 0));
    noDistances.Literal('a');
    noDistances.Symbol(257);
    none.Put(0, 8);
    ExpectRefused(none.Finish());
}

// A dynamic block with the given codes holding `repeat` times "a" and, when the code has one, the
// end-of-block code: a stream that would decode if its header were accepted.
Bytes BlockOfA(const Bytes& literals, const Bytes& distances, size_t repeat = 1) {
    TBitWriter writer;
    Bytes all = literals;
    all.insert(all.end(), distances.begin(), distances.end());
    PutDynamicHeader(writer, true, static_cast<unsigned>(literals.size()),
                     static_cast<unsigned>(distances.size()), RepeatingCodeLengthCode(),
                     RunLengthOps(all));
    TBlockWriter block(writer, literals, distances);
    for (size_t i = 0; i < repeat; ++i) block.Literal('a');
    if (literals[256] != 0) block.End();
    return writer.Finish();
}

TEST(InflateRefusal, CodeSetsThatAreIncompleteOrOverSubscribed) {
    const Bytes literals = SmallLiteralLengths();
    EXPECT_TRUE(DecodeWithOurs(BlockOfA(literals, Bytes(1, 1))).ok); // the sound form

    // Literal/length codes: incomplete (one 1-bit and one 2-bit code) and over-subscribed.
    Bytes incomplete = literals;
    incomplete[257] = 0;
    ExpectRefused(BlockOfA(incomplete, Bytes(1, 1)));
    Bytes over = literals;
    over['b'] = 2;
    ExpectRefused(BlockOfA(over, Bytes(1, 1)));
    // A lone end-of-block code longer than 1 bit.
    Bytes loneLong(257, 0);
    loneLong[256] = 2;
    ExpectRefused(BlockOfA(loneLong, Bytes(1, 1), 0));
    // No end-of-block code, in a complete code: refused at the header, before the block's
    // literals fill more than a flush.
    Bytes noEnd = literals;
    noEnd[256] = 0;
    noEnd['b'] = 2;
    ExpectRefused(BlockOfA(noEnd, Bytes(1, 1), 70000));
    // Distance codes: incomplete (1 and 2 bits), a lone 2-bit code, over-subscribed.
    ExpectRefused(BlockOfA(literals, Bytes{1, 2}));
    ExpectRefused(BlockOfA(literals, Bytes{0, 2}));
    ExpectRefused(BlockOfA(literals, Bytes{1, 1, 1}));
}

TEST(InflateRefusal, CodeLengthCodesThatAreIncompleteOrOverSubscribed) {
    // Lengths listed one by one ('a', end-of-block and one distance code at 1 bit), then "a": a
    // stream that decodes with any code-length code giving 0 and 1 their usual 4-bit codes.
    const auto blockAfter = [](const std::array<uint8_t, 19>& codeLengthCode) {
        Bytes all(258, 0);
        all['a'] = all[256] = all[257] = 1;
        std::vector<TLengthOp> ops;
        for (uint8_t length : all) ops.push_back({length});
        TBitWriter writer;
        PutDynamicHeader(writer, true, 257, 1, codeLengthCode, ops);
        TBlockWriter block(writer, Bytes(all.begin(), all.end() - 1), Bytes(1, 1));
        block.Literal('a');
        block.End();
        return writer.Finish();
    };
    EXPECT_TRUE(DecodeWithOurs(blockAfter(PlainCodeLengthCode())).ok); // the sound form

    std::array<uint8_t, 19> incomplete = PlainCodeLengthCode();
    incomplete[15] = 0;
    std::array<uint8_t, 19> over = PlainCodeLengthCode();
    over[16] = 4;
    std::array<uint8_t, 19> lone{};
    lone[1] = 1;
    for (const auto& broken : {incomplete, over, lone, std::array<uint8_t, 19>{}})
        ExpectRefused(blockAfter(broken));
}

TEST(InflateRefusal, RepeatsWithoutAPreviousLengthOrPastTheEnd) {
    // 257 literal/length and 1 distance lengths. The runs overshoot the 258 entries by a little;
    // cut at the end they would give a sound code for the block that follows.
    const auto refused = [](std::vector<TLengthOp> ops, uint8_t literal) {
        TBitWriter writer;
        PutDynamicHeader(writer, true, 257, 1, RepeatingCodeLengthCode(), ops);
        Bytes literals(257, 0);
        literals[literal] = literals[256] = 1;
        TBlockWriter block(writer, literals, Bytes(1, 0));
        block.Literal(literal);
        block.End();
        ExpectRefused(writer.Finish());
    };
    refused({{16, 0}}, 0);                                   // a repeat of nothing
    refused({{18, 127}, {18, 106}, {1}, {16, 0}}, 255);      // 255 zeros, 1, three more 1s
    refused({{18, 127}, {18, 106}, {1}, {1}, {17, 0}}, 255); // ..., 1, 1, three zeros
    refused({{1}, {18, 127}, {18, 106}, {1}, {18, 0}}, 0);   // 1, 255 zeros, 1, eleven zeros
}

TEST(InflateRefusal, InputEndingBeforeTheFinalBlock) {
    ExpectRefused({});
    ExpectRefused({0x00});       // a stored block whose length would come from padding
    ExpectRefused({0x00, 0x00}); // same, non-final; must not loop on zero padding
    ExpectRefused({0x02});       // a fixed block ended by padding zeros, not final
    TBitWriter writer;
    TBlockWriter block = BeginFixedBlock(writer, false);
    block.Literals({'o', 'k'});
    block.End();
    ExpectRefused(writer.Finish());
}

TEST(InflateRefusal, StoredBlockWhoseNlenIsNotTheComplementOfLen) {
    // zlib: "invalid stored block lengths". LEN 5, NLEN 0, then "hello".
    ExpectRefused({0x01, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'});
    ExpectRefused({0x01, 0x05, 0x00, 0xFA, 0x7F, 'h', 'e', 'l', 'l', 'o'}); // one bit off
    ExpectRefused({0x01, 0x00, 0x00, 0x00, 0x00});                          // empty, NLEN 0
    // The same lengths right: accepted.
    const TDecoded hello = DecodeWithOurs({0x01, 0x05, 0x00, 0xFA, 0xFF, 'h', 'e', 'l', 'l', 'o'});
    ASSERT_TRUE(hello.ok);
    EXPECT_EQ(hello.bytes, Bytes({'h', 'e', 'l', 'l', 'o'}));
}

TEST(InflateRefusal, ZeroBytesEndAtTheFirstStoredBlock) {
    // All zero bits read as non-final empty stored blocks with NLEN 0: refused at once, however
    // much input follows (before the NLEN check, /dev/zero decoded forever).
    ExpectRefused(Bytes(1 << 20, 0));
    // Valid empty stored blocks, non-final, are taken one by one until the input ends.
    Bytes empties;
    for (int i = 0; i < 10000; ++i) empties.insert(empties.end(), {0x00, 0x00, 0x00, 0xFF, 0xFF});
    ExpectRefused(empties);
    empties.insert(empties.end(), {0x01, 0x00, 0x00, 0xFF, 0xFF});
    EXPECT_TRUE(DecodeWithOurs(empties).ok);
}

TEST(InflateRefusal, PaddingBitsNeverReachTheOutput) {
    // 'a' has the 1-bit code 0, so zero padding decodes as more 'a's: a stream cut 36 bytes
    // before the first flush would cross it with bytes that are not in the input.
    TBitWriter writer;
    BeginDynamicBlock(writer, false, SmallLiteralLengths(), Bytes(1, 1));
    for (int i = 0; i < 65500; ++i) writer.Put(0, 1);
    ExpectRefused(writer.Finish());
}

TEST(InflateRefusal, EveryTruncationOfAValidStream) {
    // Output larger than a flush, so that padding bits could reach the output stream; what is
    // written before the refusal must be a prefix of the real data.
    Bytes data = TextLike(50000, 77);
    const Bytes random = RandomBytes(20000, 5);
    data.insert(data.end(), random.begin(), random.end());
    for (int level : {0, 1, 9}) {
        const Bytes stream = CompressWithZlib(data, level);
        size_t step = 1;
        for (size_t size = 0; size < stream.size(); size += step) {
            // Every cut near the start and the end, sampled in between.
            step = (size < 400 || stream.size() - size < 200) ? 1 : 1021;
            const Bytes cut(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(size));
            const TDecoded decoded = DecodeWithOurs(cut);
            ASSERT_FALSE(decoded.ok) << "level " << level << " cut at " << size;
            ASSERT_LE(decoded.bytes.size(), data.size());
            ASSERT_TRUE(std::equal(decoded.bytes.begin(), decoded.bytes.end(), data.begin()))
                << "level " << level << " cut at " << size;
        }
    }
}

TEST(InflateRefusal, StreamErrorsPassThrough) {
    struct TFailingInput : TInputStream {
        size_t Read(uint8_t*, size_t) override { throw std::runtime_error("disk gone"); }
    } input;
    struct TFailingOutput : TOutputStream {
        void Write(const uint8_t*, size_t) override { throw std::runtime_error("disk full"); }
    } failingOutput;
    TRecordingOutput output;
    EXPECT_THROW(Inflate(input, output), std::runtime_error);
    const Bytes stream = CompressWithZlib(TextLike(1000, 1), 6);
    TMemoryInput memory(stream);
    EXPECT_THROW(Inflate(memory, failingOutput), std::runtime_error);
}

} // namespace
} // namespace kel::inflate_test
