// skintool's packer and commands: the packer's DEFLATE streams, packed skin files against
// Info-ZIP unzip and our own reader, the skin folder format, and the list/extract/pack commands.
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_Crypto.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"
#include "tools/skintool/SkinDeflate.h"
#include "tools/skintool/SkinPacker.h"

#include "framework/SysUtils.h"

#include <zlib.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace kel::reader_test {
namespace {

Bytes ZlibInflate(const Bytes& stream, size_t expected) {
    Bytes out(expected + 1);
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<uint8_t*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    EXPECT_EQ(status, Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u) << "bytes after the final block";
    return out;
}

Bytes Random(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes data(size);
    for (uint8_t& b : data) b = static_cast<uint8_t>(random());
    return data;
}

TEST(SkinPacker, Crc32MatchesZlibAlsoWhenContinued) {
    const Bytes data = Random(100000, 1);
    for (size_t size : {size_t{0}, size_t{1}, size_t{3}, size_t{1000}, size_t{1013}, data.size()}) {
        EXPECT_EQ(Crc32(data.data(), size), crc32(0, data.data(), static_cast<uInt>(size)));
        EXPECT_EQ(Crc32(data.data() + size / 2, size - size / 2, Crc32(data.data(), size / 2)),
                  crc32(0, data.data(), static_cast<uInt>(size)));
    }
}

TEST(SkinPacker, DeflateRoundTripsThroughZlib) {
    Bytes repeatedBlock = Random(32768, 2); // matches exactly the window size back
    const Bytes copy = repeatedBlock;
    repeatedBlock.insert(repeatedBlock.end(), copy.begin(), copy.end());
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
        text += "SKIN2_ENTRY " + std::to_string(i % 97) + "\n";
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"one byte", {42}},
        {"incompressible, several stored blocks", Random(200000, 3)},
        {"one long run", Bytes(1 << 20, 0x7E)},
        {"text", Bytes(text.begin(), text.end())},
        {"window-size distance", repeatedBlock},
        {"bitmap", TestBmp(300, 200, 9)},
    };
    for (const auto& [name, data] : cases) {
        SCOPED_TRACE(name);
        const Bytes stream = skintool::DeflateRaw(data.data(), data.size());
        EXPECT_EQ(ZlibInflate(stream, data.size()), data);
        EXPECT_LE(stream.size(), data.size() + data.size() / 1000 + 64); // stored-block overhead
    }
    const Bytes run(1 << 20, 0);
    EXPECT_LT(skintool::DeflateRaw(run.data(), run.size()).size(), run.size() / 100);
}

class PackedSkinTest : public ReaderFixture {
protected:
    int Shell(const std::string& command) const {
        const std::string line = "cd '" + Path("") + "' && " + command;
        const int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Captures a command's standard output.
    std::string Capture(const std::string& command, int& exitCode) const {
        const std::string file = Path("captured.txt");
        exitCode = Shell(command + " >'" + file + "' 2>/dev/null");
        const Bytes bytes = ReadWholeFile(file, kMaxEntrySize);
        return std::string(bytes.begin(), bytes.end());
    }

    std::vector<skintool::TSkinEntry> SampleEntries() const {
        return {skintool::BitmapEntry("SKIN2_BUTTON", TestBmp(90, 21, 4)),
                skintool::IntegerEntry("SKIN2_FORMCOLOR", 0x00C08040),
                skintool::BooleanEntry("SKIN2_BUTTONTRANS", 2),
                skintool::StringEntry("AUTHOR", "a skin maker")};
    }
};

TEST_F(PackedSkinTest, UnzipAcceptsPackedFilesOnceTheyStartWithPK) {
    const Bytes skinData = skintool::BuildSkinData(SampleEntries());
    for (const std::string password : {"", "open sesame"}) {
        SCOPED_TRACE(password);
        Bytes archive = skintool::BuildSkinArchive(skinData, password);
        ASSERT_EQ(archive[0], 'S');
        archive[0] = 'P';
        Write("packed.zip", archive);
        const std::string option = password.empty() ? "" : "-P '" + password + "' ";
        EXPECT_EQ(Shell("unzip -qq -t " + option + "packed.zip >/dev/null 2>&1"), 0);
        ASSERT_EQ(Shell("unzip -qq -o " + option + "packed.zip -d unpacked >/dev/null 2>&1"), 0);
        EXPECT_EQ(ReadWholeFile(Path("unpacked/SKINDATA.SK2"), kMaxEntrySize), skinData);
    }
}

TEST_F(PackedSkinTest, ReaderLoadsWhatThePackerWrites) {
    const std::string skin = Write(
        "packed.skn", skintool::BuildSkinArchive(skintool::BuildSkinData(SampleEntries()), "pw"));
    EXPECT_FALSE(Tsk2SkinFileReader(skin, "").Loaded());
    const Tsk2SkinFileReader reader(skin, "pw");
    ASSERT_TRUE(reader.Loaded());
    ASSERT_NE(reader.GetBitmap("SKIN2_BUTTON"), nullptr);
    EXPECT_EQ(reader.GetBitmap("SKIN2_BUTTON")->Pixels, TestPicture(90, 21, 4).Pixels);
    EXPECT_EQ(reader.GetInteger("SKIN2_FORMCOLOR"), 0x00C08040);
    EXPECT_TRUE(reader.GetBool("SKIN2_BUTTONTRANS"));
}

TEST_F(PackedSkinTest, SkinFolderFormat) {
    fs::create_directories(Path("skin"));
    WriteWholeFile(Path("skin/SKIN2_BUTTON.bmp"), TestBmp(9, 4));
    WriteWholeFile(Path("skin/SKIN2_MENUBAR.BMP"), TestBmp(5, 3));
    WriteWholeFile(Path("skin/readme.txt"), {'x'});
    const std::string lines = "# a comment\r\n"
                              "\n"
                              "integer SKIN2_TITLEBARICONPOSX -5\n"
                              "  color SKIN2_FORMCOLOR 0xFF00000F\n"
                              "boolean SKIN2_TITLEFIVESECT 2\n"
                              "string AUTHOR  two blanks kept \r\n"
                              "string EMPTY\n";
    WriteWholeFile(Path("skin/entries.txt"), Bytes(lines.begin(), lines.end()));
    const auto entries = skintool::ReadSkinFolder(Path("skin"));
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].Name, "SKIN2_BUTTON");
    EXPECT_EQ(entries[1].Name, "SKIN2_MENUBAR");
    EXPECT_EQ(LoadLE32(entries[2].Data.data()), static_cast<uint32_t>(-5));
    EXPECT_EQ(LoadLE32(entries[3].Data.data()), 0xFF00000Fu);
    EXPECT_EQ(entries[4].Data, Bytes{2});
    EXPECT_EQ(std::string(entries[5].Data.begin(), entries[5].Data.end()), " two blanks kept ");
    EXPECT_TRUE(entries[6].Data.empty());

    const std::string longName(65, 'N');
    for (const std::string& bad :
         {std::string("integer X"), std::string("integer X 1 2"), std::string("boolean X 256"),
          std::string("number X 1"), std::string("integer X five"), "integer " + longName + " 1"}) {
        SCOPED_TRACE(bad);
        WriteWholeFile(Path("skin/entries.txt"), Bytes(bad.begin(), bad.end()));
        EXPECT_THROW(skintool::BuildSkinData(skintool::ReadSkinFolder(Path("skin"))), Exception);
    }
    WriteWholeFile(Path("skin/entries.txt"), {});
    WriteWholeFile(Path("skin/BROKEN.bmp"), {'B', 'M', 1, 2, 3});
    EXPECT_THROW(skintool::ReadSkinFolder(Path("skin")), Exception);
}

#ifdef KEL_SKINTOOL_PATH
TEST_F(PackedSkinTest, SkintoolPackListAndExtract) {
    const std::string tool = KEL_SKINTOOL_PATH;
    fs::create_directories(Path("skin"));
    WriteWholeFile(Path("skin/SKIN2_BUTTON.bmp"), TestBmp(12, 5));
    const std::string lines = "boolean SKIN2_BUTTONTRANS 1\ninteger SKIN2_TITLEBARICONPOSX 7\n"
                              "string AUTHOR me\n";
    WriteWholeFile(Path("skin/entries.txt"), Bytes(lines.begin(), lines.end()));
    ASSERT_EQ(Shell(tool + " pack skin plain.skn 2>/dev/null"), 0);
    ASSERT_EQ(Shell(tool + " pack skin secret.skn --password pw 2>/dev/null"), 0);

    int exitCode = -1;
    const std::string expected = "loaded\nbitmap SKIN2_BUTTON 12x5\nboolean SKIN2_BUTTONTRANS 1\n"
                                 "integer SKIN2_TITLEBARICONPOSX 7\nstring AUTHOR me\n";
    EXPECT_EQ(Capture(tool + " list plain.skn", exitCode), expected);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Capture(tool + " list secret.skn --password pw", exitCode), expected);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Capture(tool + " list secret.skn", exitCode), "not loaded\n");
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(Capture(tool + " list missing.skn", exitCode), ""); // the reason goes to stderr
    EXPECT_EQ(exitCode, 1);

    EXPECT_EQ(Shell(tool + " extract secret.skn out.sk2 --password pw"), 0);
    EXPECT_TRUE(fs::exists(Path("out.sk2")));
    EXPECT_EQ(Shell(tool + " extract secret.skn out2.sk2"), 2);
    EXPECT_EQ(Shell(tool + " extract missing.skn out3.sk2"), 1);
    EXPECT_FALSE(fs::exists(Path("out2.sk2")) || fs::exists(Path("out3.sk2")));
    EXPECT_EQ(Shell(tool + " extract plain.skn plain.skn 2>/dev/null"), 1);
    EXPECT_EQ(Shell(tool + " extract plain.skn ./plain.skn 2>/dev/null"), 1);
    EXPECT_EQ(Capture(tool + " list plain.skn", exitCode), expected) << "the skin file is intact";
}
#endif

} // namespace
} // namespace kel::reader_test
