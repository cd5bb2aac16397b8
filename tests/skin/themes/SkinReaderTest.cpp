// Tsk2SkinFileReader over skin files made by our packer: lookups, the three outcomes of a load, and
// no temporary file left behind on any of them. Runs natively and under Wine.
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"
#include "tools/skintool/SkinPacker.h"

#include "framework/SysUtils.h"

namespace kel::reader_test {
namespace {

using namespace skintool;

class SkinReaderTest : public ReaderFixture {
protected:
    std::string Pack(const std::string& name, const Bytes& skinData,
                     const std::string& password = "") const {
        return Write(name, BuildSkinArchive(skinData, password));
    }

    // Expects construction to raise exactly the reader's refusal.
    void ExpectReadError(const std::string& skin, const std::string& password = "") const {
        try {
            Tsk2SkinFileReader reader(skin, password);
            ADD_FAILURE() << "the skin file was accepted";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Failed to read skin file!");
        }
    }
};

TEST_F(SkinReaderTest, LookupsIgnoreCaseAndTheFirstEntryWins) {
    const Bytes skinData = BuildSkinData({
        BitmapEntry("SKIN2_TITLEBAR1", TestBmp(30, 8, 1)),
        IntegerEntry("SKIN2_TITLEBARICONPOSX", 5),
        BooleanEntry("SKIN2_TITLEFIVESECT", 2),
        StringEntry("AUTHOR", "someone"),
        BitmapEntry("skin2_titlebar1", TestBmp(4, 4, 2)),
        IntegerEntry("Skin2_TitleBarIconPosX", 99),
        BooleanEntry("SKIN2_TITLEBTNTRANS", 0),
        BooleanEntry("skin2_titlefivesect", 0),
        IntegerEntry("SKIN2_TRANSCOLOR", -1 - 0x7FFFFFFF),
    });
    const Tsk2SkinFileReader reader(Pack("skin.skn", skinData), "");
    ASSERT_TRUE(reader.Loaded());

    const TPixelImage* bitmap = reader.GetBitmap("Skin2_TitleBar1");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width, 30);
    EXPECT_EQ(bitmap->Pixels, TestPicture(30, 8, 1).Pixels);
    EXPECT_EQ(reader.GetBitmap("SKIN2_TITLEBAR1"), bitmap) << "the reader keeps one bitmap";
    EXPECT_EQ(reader.GetInteger("skin2_titlebariconposx"), 5);
    EXPECT_TRUE(reader.GetBool("SKIN2_TITLEFIVESECT")) << "byte value 2 is true";
    EXPECT_FALSE(reader.GetBool("SKIN2_TITLEBTNTRANS"));
    EXPECT_EQ(reader.GetInteger("SKIN2_TRANSCOLOR"), -1 - 0x7FFFFFFF);

    // Absent names, and names present only in another table.
    EXPECT_EQ(reader.GetBitmap("SKIN2_BUTTON"), nullptr);
    EXPECT_EQ(reader.GetBitmap("SKIN2_TITLEBARICONPOSX"), nullptr);
    EXPECT_EQ(reader.GetInteger("SKIN2_TITLEBAR1"), -1);
    EXPECT_EQ(reader.GetInteger("AUTHOR"), -1);
    EXPECT_FALSE(reader.GetBool("SKIN2_BUTTONTRANS"));
    EXPECT_EQ(reader.GetBitmap(""), nullptr);
}

TEST_F(SkinReaderTest, AChainOfOnlyTheTerminatorLoadsEmpty) {
    const Tsk2SkinFileReader reader(Pack("empty.skn", BuildSkinData({})), "");
    EXPECT_TRUE(reader.Loaded());
    EXPECT_EQ(reader.GetBitmap("SKIN2_TITLEBAR1"), nullptr);
    EXPECT_EQ(reader.GetInteger("SKIN2_TITLEBARICONPOSX"), -1);
    EXPECT_FALSE(reader.GetBool("SKIN2_TITLEFIVESECT"));
}

TEST_F(SkinReaderTest, EncryptedSkinFileLoadsOnlyWithItsPassword) {
    const std::string skin =
        Pack("enc.skn", BuildSkinData({IntegerEntry("SKIN2_TITLEBARICONPOSX", 3)}), "pass word");
    const Tsk2SkinFileReader withoutPassword(skin, "");
    EXPECT_FALSE(withoutPassword.Loaded());
    EXPECT_EQ(withoutPassword.GetInteger("SKIN2_TITLEBARICONPOSX"), -1);
    EXPECT_FALSE(Tsk2SkinFileReader(skin, "pass Word").Loaded());
    const Tsk2SkinFileReader withPassword(skin, "pass word");
    EXPECT_TRUE(withPassword.Loaded());
    EXPECT_EQ(withPassword.GetInteger("SKIN2_TITLEBARICONPOSX"), 3);
    // A password on an unencrypted file is not used.
    EXPECT_TRUE(Tsk2SkinFileReader(Pack("plain.skn", BuildSkinData({})), "unused").Loaded());
}

TEST_F(SkinReaderTest, UnreadableFilesRaise) {
    ExpectReadError(Path("missing.skn"));
    ExpectReadError(Write("garbage.skn", Bytes(1000, 'S')));
    Bytes zipStart = BuildSkinArchive(BuildSkinData({}), "");
    zipStart[0] = 'P';
    ExpectReadError(Write("pk.skn", zipStart));
}

TEST_F(SkinReaderTest, MalformedSkinDataRaisesAfterRemovingTheTemporaryFile) {
    // A looping chain, and a boolean record of 4 bytes, inside intact archives.
    TSkinDataImage loop;
    loop.FirstRecord(24).Record(24, "A", srtInteger, 200, 4, 101).Record(101, "B", 9, 0, 0, 24);
    loop.Int(200, 1);
    ExpectReadError(Pack("loop.skn", loop.bytes()));
    TSkinDataImage wideBool;
    wideBool.FirstRecord(24).Record(24, "B", srtBoolean, 200, 4, 101).Terminator(101).Int(200, 1);
    ExpectReadError(Pack("bool.skn", wideBool.bytes()), "");
}

TEST_F(SkinReaderTest, UndecodableBitmapRaisesTheCodecsError) {
    Bytes notBmp = TestBmp(8, 8);
    notBmp[0] = 'X';
    const std::string skin = Pack("bmp.skn", BuildSkinData({BitmapEntry("SKIN2_BUTTON", notBmp)}));
    EXPECT_THROW(Tsk2SkinFileReader(skin, ""), EInvalidGraphic);
}

TEST_F(SkinReaderTest, WrongRecordedSizeIsNotLoadedWithoutException) {
    Bytes archive = BuildSkinArchive(BuildSkinData({IntegerEntry("X", 1)}), "");
    const size_t central = LoadLE32(archive.data() + archive.size() - 22 + 16);
    StoreLE32(archive.data() + central + 24, LoadLE32(archive.data() + central + 24) + 1);
    EXPECT_FALSE(Tsk2SkinFileReader(Write("size.skn", archive), "").Loaded());
}

} // namespace
} // namespace kel::reader_test
