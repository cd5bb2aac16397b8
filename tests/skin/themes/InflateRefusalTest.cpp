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

TEST(InflateRefusal, CodeSetsThatAreIncompleteOrOverSubscribed) {
    const auto dynamicBlock = [](const Bytes& literals, const Bytes& distances) {
        TBitWriter writer;
        PutDynamicHeader(writer, true, static_cast<unsigned>(literals.size()),
                         static_cast<unsigned>(distances.size()), RepeatingCodeLengthCode(), [&] {
                             Bytes all = literals;
                             all.insert(all.end(), distances.begin(), distances.end());
                             return RunLengthOps(all);
                         }());
        writer.Put(0, 32);
        return writer.Finish();
    };
    Bytes literals = SmallLiteralLengths();
    // Literal/length codes: incomplete (one 1-bit and one 2-bit code) and over-subscribed.
    Bytes incomplete = literals;
    incomplete[257] = 0;
    ExpectRefused(dynamicBlock(incomplete, Bytes(1, 1)));
    Bytes over = literals;
    over['b'] = 2;
    ExpectRefused(dynamicBlock(over, Bytes(1, 1)));
    // A lone literal code longer than 1 bit.
    Bytes loneLong(257, 0);
    loneLong[256] = 2;
    ExpectRefused(dynamicBlock(loneLong, Bytes(1, 1)));
    // No end-of-block code, in a complete code.
    Bytes noEnd = literals;
    noEnd[256] = 0;
    noEnd['b'] = 2;
    ExpectRefused(dynamicBlock(noEnd, Bytes(1, 1)));
    // Distance codes: incomplete (1 and 2 bits), a lone 2-bit code, over-subscribed.
    ExpectRefused(dynamicBlock(literals, Bytes{1, 2}));
    ExpectRefused(dynamicBlock(literals, Bytes{0, 2}));
    ExpectRefused(dynamicBlock(literals, Bytes{1, 1, 1}));

    // Code-length codes: incomplete, a lone 1-bit code, over-subscribed, empty.
    for (const auto& broken : {[] {
                                   auto code = PlainCodeLengthCode();
                                   code[15] = 0;
                                   return code;
                               }(),
                               [] {
                                   std::array<uint8_t, 19> code{};
                                   code[1] = 1;
                                   return code;
                               }(),
                               [] {
                                   auto code = PlainCodeLengthCode();
                                   code[16] = 4;
                                   return code;
                               }(),
                               std::array<uint8_t, 19>{}}) {
        TBitWriter writer;
        PutDynamicHeader(writer, true, 257, 1, broken, {});
        writer.Put(0, 64);
        ExpectRefused(writer.Finish());
    }
}

TEST(InflateRefusal, RepeatsWithoutAPreviousLengthOrPastTheEnd) {
    const std::array<uint8_t, 19> code = RepeatingCodeLengthCode();
    const auto refused = [&](std::vector<TLengthOp> ops) {
        TBitWriter writer;
        PutDynamicHeader(writer, true, 257, 1, code, ops);
        writer.Put(0, 64);
        ExpectRefused(writer.Finish());
    };
    refused({{16, 0}}); // repeat of nothing
    // 257 + 1 lengths: 254 zeros, then runs that overshoot the end by one.
    refused({{18, 127}, {18, 105}, {1}, {16, 3}}); // 138 + 116 + 1 + 6 = 261
    refused({{18, 127}, {18, 105}, {1}, {1}, {17, 0}});
    refused({{18, 127}, {18, 110}, {18, 0}});
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

TEST(InflateRefusal, EveryTruncationOfAValidStream) {
    // Output larger than a flush, so that padding bits could reach the output stream; what is
    // written before the refusal must be a prefix of the real data.
    Bytes data = TextLike(60000, 77);
    const Bytes random = RandomBytes(30000, 5);
    data.insert(data.end(), random.begin(), random.end());
    for (int level : {0, 1, 9}) {
        const Bytes stream = CompressWithZlib(data, level);
        size_t step = 1;
        for (size_t size = 0; size < stream.size(); size += step) {
            // Every cut near the start and the end, sampled in between.
            step = (size < 600 || stream.size() - size < 600) ? 1 : 257;
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
