// The file theme tells programs why its last load failed: the read-only properties "LoadError"
// and "LoadErrorMessage", for each reason the reader records, on files of our packer. Under Wine.
#include "tests/skin/themes/FileThemeTestSupport.h"

namespace kel::filetheme_test {
namespace {

using FileThemeLoadError = FileThemeFixture;

std::string Message(const TkelFileTheme& theme) {
    return std::get<std::string>(GetPropValue(theme, "LoadErrorMessage"));
}

TEST_F(FileThemeLoadError, EachLoadTellsWhyItFailedOrNothing) {
    TkelFileTheme theme(nullptr);
    EXPECT_EQ(theme.LoadError(), sleNone);
    EXPECT_EQ(Message(theme), "");

    const std::string skin = Skin("enc.skn", 0, "pass word");
    theme.SetThemeFile(skin);
    EXPECT_FALSE(theme.Ready());
    EXPECT_EQ(GetOrdProp(theme, "LoadError"), sleNoPassword);
    EXPECT_EQ(Message(theme), "encrypted skin file and no password given");

    theme.SetPassword("pass Word");
    EXPECT_FALSE(theme.Ready());
    EXPECT_EQ(theme.LoadError(), sleWrongPassword);
    EXPECT_EQ(Message(theme), "wrong password");

    theme.SetPassword("pass word");
    EXPECT_TRUE(theme.Ready());
    EXPECT_EQ(theme.LoadError(), sleNone);
    EXPECT_EQ(Message(theme), "");

    // The properties are read-only: a stored value changes nothing.
    SetOrdProp(theme, "LoadError", sleCrcMismatch);
    SetPropValue(theme, "LoadErrorMessage", std::string("x"));
    EXPECT_EQ(theme.LoadError(), sleNone);
    EXPECT_EQ(Message(theme), "");

    theme.SetThemeFile(Path("nowhere\\kel-no-such-skin.skn"));
    EXPECT_TRUE(theme.Ready()) << "a file found nowhere changes nothing else";
    EXPECT_EQ(theme.LoadError(), sleFileMissing);
    EXPECT_EQ(Message(theme), "file not found");
}

TEST_F(FileThemeLoadError, AFileHeldByAnotherProgramCannotBeRead) {
    TkelFileTheme theme(nullptr);
    const std::string skin = Skin("held.skn");
    // Opened without sharing, as a program writing it would.
    HANDLE held = CreateFileA(skin.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    theme.SetThemeFile(skin);
    CloseHandle(held);
    EXPECT_FALSE(theme.Ready());
    EXPECT_EQ(theme.LoadError(), sleFileUnreadable);
    EXPECT_EQ(Message(theme), "file cannot be read");
    theme.SetThemeFile(skin);
    EXPECT_TRUE(theme.Ready());
}

TEST_F(FileThemeLoadError, DamagedFilesSayWhatIsDamaged) {
    TkelFileTheme theme(nullptr);
    const Bytes data = SkinData(0);
    // The CRC-32 of the central directory changed: data of the right size, but not the data.
    Bytes archive = SkinFile(0);
    const size_t central = LoadLE32(archive.data() + archive.size() - 22 + 16);
    archive[central + 16] ^= 1;
    theme.SetThemeFile(Write("crc.skn", archive));
    EXPECT_FALSE(theme.Ready());
    EXPECT_EQ(theme.LoadError(), sleCrcMismatch);
    EXPECT_EQ(Message(theme), "damaged data: CRC-32 mismatch");

    Bytes badHeader = data;
    StoreLE32(badHeader.data() + kSkinHeaderLengthField, 23);
    theme.SetThemeFile(Write("header.skn", skintool::BuildSkinArchive(badHeader, "")));
    EXPECT_EQ(theme.LoadError(), sleBadSkinData);
    EXPECT_EQ(Message(theme), "bad skin data tables");

    theme.SetThemeFile(Write("notskin.skn", Bytes(100, 'x')));
    EXPECT_EQ(theme.LoadError(), sleNotSkinFile);
    EXPECT_EQ(Message(theme), "not a skin file");

    const Bytes huge = reader_test::Rle8Bmp(8192, 8192);
    theme.SetThemeFile(
        Write("huge.skn",
              skintool::BuildSkinArchive(
                  skintool::BuildSkinData({skintool::BitmapEntry("SKIN2_BUTTON", huge)}), "")));
    EXPECT_EQ(theme.LoadError(), sleBadBitmap);
    EXPECT_EQ(Message(theme), "invalid or too large bitmap in the skin data");
}

} // namespace
} // namespace kel::filetheme_test
