// The skin data parser on hand-made record chains: what it reads, what it skips, and that every
// malformed chain is refused without reading out of bounds or looping.
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"

#include "framework/SysUtils.h"

namespace kel::reader_test {
namespace {

// Records what the parser reports, one line per entry.
class TRecordingVisitor : public TSkinDataVisitor {
public:
    std::vector<std::string> Lines;
    void Bitmap(const std::string& name, TPixelImage&& image) override {
        Lines.push_back("bitmap " + name + " " + std::to_string(image.Width) + "x" +
                        std::to_string(image.Height));
    }
    void Integer(const std::string& name, int32_t value) override {
        Lines.push_back("integer " + name + " " + std::to_string(value));
    }
    void Boolean(const std::string& name, uint8_t value) override {
        Lines.push_back("boolean " + name + " " + std::to_string(value));
    }
    void String(const std::string& name, std::string&& text) override {
        Lines.push_back("string " + name + " " + text);
    }
};

std::vector<std::string> Parse(const Bytes& data) {
    TRecordingVisitor visitor;
    ParseSkinData(data.data(), data.size(), visitor);
    return visitor.Lines;
}

void ExpectRefused(const Bytes& data) {
    try {
        Parse(data);
        FAIL() << "a malformed skin data file was accepted";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Failed to read skin file!");
    }
}

TEST(SkinDataParser, ReadsEveryTypeInChainOrderWhereverRecordsLie) {
    // Records placed backwards in the file, data before and after them.
    const Bytes bmp = TestBmp(7, 3);
    TSkinDataImage image;
    image.FirstRecord(400)
        .Record(400, "SKIN2_BUTTON", srtBitmap, 1000, static_cast<uint32_t>(bmp.size()), 300)
        .Data(1000, bmp)
        .Record(300, "SKIN2_TITLEBARICONPOSX", srtInteger, 24, 4, 200)
        .Int(24, -5)
        .Record(200, "SKIN2_TITLEFIVESECT", srtBoolean, 28, 1, 100)
        .Data(28, {2})
        .Record(100, "AUTHOR", srtString, 30, 5, 600)
        .Data(30, {'h', 'e', 'l', 'l', 'o'})
        .Terminator(600);
    EXPECT_EQ(
        Parse(image.bytes()),
        (std::vector<std::string>{"bitmap SKIN2_BUTTON 7x3", "integer SKIN2_TITLEBARICONPOSX -5",
                                  "boolean SKIN2_TITLEFIVESECT 2", "string AUTHOR hello"}));
}

TEST(SkinDataParser, TerminatorAloneGivesNoEntriesAndIsNeverRead) {
    // A terminator of all zero bytes: its name, type and data fields are not looked at.
    EXPECT_TRUE(Parse(TSkinDataImage().FirstRecord(24).Terminator(24).bytes()).empty());
    // A terminator whose other fields are garbage (type 0 with data far outside the file).
    TSkinDataImage garbage;
    garbage.FirstRecord(24).Record(24, "NOT AN ENTRY", srtBitmap, 0xFFFFFF00u, 0xFFFFFFFFu, 0);
    EXPECT_TRUE(Parse(garbage.bytes()).empty());
}

TEST(SkinDataParser, SkipsUnknownTypesAndTakesNamesUpTo64Bytes) {
    const std::string longName(64, 'N'); // fills the field: no terminating zero
    TSkinDataImage image;
    image.FirstRecord(24)
        .Record(24, "FUTURE", 4, 0xFFFFFFF0u, 0xFFFF, 101) // data outside: never read
        .Record(101, "ALSO_FUTURE", 255, 0, 0, 178)
        .Record(178, longName, srtInteger, 400, 4, 255)
        .Terminator(255)
        .Int(400, 7);
    EXPECT_EQ(Parse(image.bytes()), (std::vector<std::string>{"integer " + longName + " 7"}));
}

TEST(SkinDataParser, StringsMayBeEmptyAndHoldAnyBytes) {
    TSkinDataImage image;
    image.FirstRecord(24)
        .Record(24, "EMPTY", srtString, 0, 0, 101)
        .Record(101, "ZEROS", srtString, 300, 3, 178)
        .Data(300, {'a', 0, 'b'})
        .Terminator(178);
    const auto lines = Parse(image.bytes());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "string EMPTY ");
    EXPECT_EQ(lines[1], std::string("string ZEROS a\0b", 16));
}

TEST(SkinDataParser, RefusesMalformedHeaders) {
    ExpectRefused({});
    ExpectRefused(Bytes(23, 0));
    ExpectRefused(TSkinDataImage().FirstRecord(24).Terminator(24).HeaderLength(25).bytes());
    ExpectRefused(TSkinDataImage().FirstRecord(24).Terminator(24).HeaderLength(0).bytes());
}

TEST(SkinDataParser, RefusesChainsThatLeaveTheFileOrLoop) {
    // First record outside, or only partly inside the file.
    ExpectRefused(TSkinDataImage(200).FirstRecord(5000).bytes());
    ExpectRefused(TSkinDataImage(200).FirstRecord(150).bytes());
    ExpectRefused(TSkinDataImage(200).FirstRecord(0xFFFFFFFFu).bytes());
    // A next-record offset pointing past the end.
    ExpectRefused(TSkinDataImage().FirstRecord(24).Record(24, "A", 9, 0, 0, 90000).bytes());
    // A record pointing at itself, and two records pointing at each other.
    ExpectRefused(TSkinDataImage().FirstRecord(24).Record(24, "A", 9, 0, 0, 24).bytes());
    TSkinDataImage pair;
    pair.FirstRecord(24)
        .Record(24, "A", srtInteger, 300, 4, 101)
        .Record(101, "B", srtBoolean, 304, 1, 24)
        .Int(300, 1);
    ExpectRefused(pair.bytes());
}

TEST(SkinDataParser, RefusesDataOutsideTheFileAndWrongValueSizes) {
    const auto single = [](uint8_t type, uint32_t offset, uint32_t size) {
        return TSkinDataImage(400)
            .FirstRecord(24)
            .Record(24, "X", type, offset, size, 101)
            .Terminator(101)
            .bytes();
    };
    for (uint8_t type : {srtBitmap, srtString}) {
        ExpectRefused(single(type, 390, 11));        // runs past the end by one byte
        ExpectRefused(single(type, 401, 0));         // starts past the end
        ExpectRefused(single(type, 8, 0xFFFFFFFFu)); // size wraps 32 bits
        ExpectRefused(single(type, 0xFFFFFFFFu, 2)); // offset wraps 32 bits
    }
    EXPECT_EQ(Parse(single(srtString, 390, 10)).size(), 1u); // ends exactly at the end
    ExpectRefused(single(srtInteger, 300, 3));
    ExpectRefused(single(srtInteger, 300, 8));
    ExpectRefused(single(srtInteger, 398, 4));
    ExpectRefused(single(srtBoolean, 300, 0));
    ExpectRefused(single(srtBoolean, 300, 2));
    ExpectRefused(single(srtBoolean, 400, 1));
}

TEST(SkinDataParser, BitmapDataThatIsNoPictureRaisesTheCodecsError) {
    TSkinDataImage image(400);
    image.FirstRecord(24).Record(24, "SKIN2_BUTTON", srtBitmap, 200, 100, 101).Terminator(101);
    EXPECT_THROW(Parse(image.bytes()), EInvalidGraphic);
}

TEST(SkinDataParser, RecordsSharingDataCannotMultiplyMemory) {
    // Thousands of distinct records that all point at one large string: sharing is allowed, but
    // the copies together may not exceed the largest skin data file.
    const uint32_t dataSize = 8u * 1024 * 1024;
    const uint32_t records = kMaxEntrySize / dataSize + 2;
    TSkinDataImage image;
    uint32_t at = 24 + dataSize;
    image.FirstRecord(at).Data(24, Bytes(dataSize, 'x'));
    for (uint32_t i = 0; i < records; ++i, at += kSkinRecordSize)
        image.Record(at, "S", srtString, 24, dataSize, at + kSkinRecordSize);
    image.Terminator(at);
    ExpectRefused(image.bytes());
}

} // namespace
} // namespace kel::reader_test
