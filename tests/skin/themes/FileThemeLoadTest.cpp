// Loading skin files into a file theme: the manager's outcomes, the lookups with a file loaded,
// finding the file through the fallback folders, passwords, reloads and failed loads.
#include "skin/themes/KELThemesMgr.h"
#include "skin/themes/KELMgr.h"
#include "tests/skin/themes/FileThemeTestSupport.h"

namespace kel::filetheme_test {
namespace {

using reader_test::TestBmp;

// A skin file the reader refuses, for each way it can refuse one.
std::vector<std::pair<std::string, Bytes>> BrokenSkinFiles() {
    using namespace skintool;
    Bytes badBitmap = TestBmp(8, 8);
    badBitmap[0] = 'X';
    Bytes wrongSize = SkinFile(0);
    const size_t central = LoadLE32(wrongSize.data() + wrongSize.size() - 22 + 16);
    StoreLE32(wrongSize.data() + central + 24, LoadLE32(wrongSize.data() + central + 24) + 1);
    return {
        {"not an archive", Bytes(500, 'S')},
        {"empty file", Bytes()},
        {"encrypted, no password given", SkinFile(0, "secret")},
        {"undecodable bitmap",
         BuildSkinArchive(BuildSkinData({BitmapEntry("SKIN2_BUTTON", badBitmap)}), "")},
        {"decoded size not as recorded", wrongSize},
    };
}

using FileThemeManager = FileThemeFixture;

TEST_F(FileThemeManager, LoadKeepsContentOnlyForAFileThatIsNotThere) {
    TkelFileThemeMgr manager;
    ExpectNothingLoaded(manager);
    EXPECT_FALSE(manager.Load(Path("missing.skn"), ""));
    EXPECT_FALSE(manager.Load("", ""));

    ASSERT_TRUE(manager.Load(Skin("a.skn"), ""));
    ExpectSkinLoaded(manager, 0);
    // A missing file is no load attempt: the content stays.
    EXPECT_FALSE(manager.Load(Path("missing.skn"), ""));
    EXPECT_TRUE(manager.Loaded());
    ExpectSkinLoaded(manager, 0);
    // A folder is no file either.
    EXPECT_FALSE(manager.Load(TempFolder().string(), ""));
    ExpectSkinLoaded(manager, 0);

    ASSERT_TRUE(manager.Load(Skin("b.skn", 1), ""));
    ExpectSkinLoaded(manager, 1);
}

TEST_F(FileThemeManager, EveryRefusalOfTheReaderEndsInNothingLoadedWithoutException) {
    for (const auto& [what, bytes] : BrokenSkinFiles()) {
        SCOPED_TRACE(what);
        TkelFileThemeMgr manager;
        ASSERT_TRUE(manager.Load(Skin("good.skn"), ""));
        bool loaded = true;
        EXPECT_NO_THROW(loaded = manager.Load(Write("broken.skn", bytes), ""));
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(manager.Loaded());
        ExpectNothingLoaded(manager);
    }
}

TEST_F(FileThemeManager, KeysOutsideTheirEnumerationFindNothing) {
    TkelFileThemeMgr manager;
    ASSERT_TRUE(manager.Load(Skin("a.skn"), ""));
    EXPECT_EQ(manager.GetBitmap(static_cast<TkelThemeBitmapKey>(kBitmapKeyCount)), nullptr);
    EXPECT_EQ(manager.GetBitmap(static_cast<TkelThemeBitmapKey>(-1)), nullptr);
    EXPECT_EQ(manager.GetColor(static_cast<TkelThemeColorKey>(kColorKeyCount)), -1);
    EXPECT_EQ(manager.GetInteger(static_cast<TkelThemeIntegerKey>(-5)), -1);
    EXPECT_FALSE(manager.GetBool(static_cast<TkelThemeBoolKey>(kBoolKeyCount)));
}

using FileThemeLoad = FileThemeFixture;

TEST_F(FileThemeLoad, ALoadedSkinAnswersEveryKindOfLookup) {
    TkelFileTheme theme(nullptr);
    const std::string skin = Skin("a.skn");
    theme.SetThemeFile(skin);
    EXPECT_TRUE(theme.Ready());
    EXPECT_EQ(theme.ThemeFile(), skin);
    ExpectSkinLoaded(theme, 0);

    TBitmap dest;
    theme.CopyBitmap(TkelThemeBitmapKey::Button, dest, 0, 0);
    EXPECT_EQ(PixelsOf(dest), StripFrame(0, 1, 1)) << "frame count 0: the whole strip";
    theme.CopyBitmap(TkelThemeBitmapKey::Button, dest, 3, 0);
    EXPECT_EQ(dest.Width(), StripWidth(0)) << "frame index 0: the whole strip";
    theme.CopyBitmap(TkelThemeBitmapKey::Button, dest, 3, 1);
    EXPECT_EQ(dest.Width(), 33);
    EXPECT_EQ(PixelsOf(dest), StripFrame(0, 3, 1));
    theme.CopyBitmap(TkelThemeBitmapKey::Button, dest, 3, 3);
    EXPECT_EQ(PixelsOf(dest), StripFrame(0, 3, 3)) << "the last frame is the rightmost columns";
    theme.CopyBitmap(TkelThemeBitmapKey::TitleBar2, dest, 3, 1);
    EXPECT_TRUE(dest.Empty()) << "a key the skin lacks";
    // The copy is the caller's: changing it leaves the stored bitmap alone.
    theme.CopyBitmap(TkelThemeBitmapKey::Button, dest, 0, 0);
    dest.ScanLine(0)[0] = 0x123456;
    EXPECT_EQ(PixelsOf(*theme.GetBitmap(TkelThemeBitmapKey::Button)), StripFrame(0, 1, 1));
}

TEST_F(FileThemeLoad, SettingTheSamePathAgainReloadsTheFile) {
    TkelFileTheme theme(nullptr);
    const std::string skin = Skin("a.skn");
    theme.SetThemeFile(skin);
    ExpectSkinLoaded(theme, 0);
    Skin("a.skn", 1);
    theme.SetThemeFile(skin);
    EXPECT_TRUE(theme.Ready());
    ExpectSkinLoaded(theme, 1);
}

TEST_F(FileThemeLoad, AFileNotAtItsPathIsFoundByNameInTheProgramFolder) {
    const std::string name = "kel-file-theme-" + std::to_string(GetCurrentProcessId()) + ".skn";
    const TScopedFile beside(ProgramFolder() + name, SkinFile(0));
    TkelFileTheme theme(nullptr);
    theme.SetThemeFile(Path("no-such-folder\\" + name));
    EXPECT_TRUE(theme.Ready());
    EXPECT_EQ(theme.ThemeFile(), ProgramFolder() + name);
    ExpectSkinLoaded(theme, 0);
    // A bare file name takes the same way.
    TkelFileTheme bare(nullptr);
    bare.SetThemeFile(name);
    EXPECT_EQ(bare.ThemeFile(), ProgramFolder() + name);
}

TEST_F(FileThemeLoad, TheWindowsFolderComesBeforeTheSystemFolder) {
    // Files every installation has; they are no skin files, so the loads fail after finding them.
    char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    TkelFileTheme theme(nullptr);
    theme.SetThemeFile(Path("nowhere\\notepad.exe"));
    EXPECT_EQ(theme.ThemeFile(), AddBackslash(windows) + "notepad.exe");
    EXPECT_FALSE(theme.Ready());
    theme.SetThemeFile("kernel32.dll");
    EXPECT_EQ(theme.ThemeFile(), AddBackslash(system) + "kernel32.dll");
    EXPECT_FALSE(theme.Ready());
    ExpectNothingLoaded(theme);
}

TEST_F(FileThemeLoad, EmptyAndUnfoundPathsChangeNothing) {
    TkelFileTheme fresh(nullptr);
    for (const std::string& path :
         {std::string(), Path("nowhere\\kel-no-such-skin.skn"), Path(""), TempFolder().string()}) {
        fresh.SetThemeFile(path);
        EXPECT_TRUE(fresh.ThemeFile().empty()) << path;
        EXPECT_FALSE(fresh.Ready());
    }

    TkelFileTheme loaded(nullptr);
    const std::string skin = Skin("a.skn");
    loaded.SetThemeFile(skin);
    for (const std::string& path : {std::string(), Path("nowhere\\kel-no-such-skin.skn")}) {
        loaded.SetThemeFile(path);
        EXPECT_EQ(loaded.ThemeFile(), skin);
        EXPECT_TRUE(loaded.Ready());
        ExpectSkinLoaded(loaded, 0);
    }
}

TEST_F(FileThemeLoad, AFailedReloadDiscardsTheContent) {
    for (const auto& [what, bytes] : BrokenSkinFiles()) {
        SCOPED_TRACE(what);
        TkelFileTheme theme(nullptr);
        const std::string skin = Skin("a.skn");
        theme.SetThemeFile(skin);
        ASSERT_TRUE(theme.Ready());
        Write("a.skn", bytes);
        EXPECT_NO_THROW(theme.SetThemeFile(skin));
        EXPECT_FALSE(theme.Ready());
        EXPECT_EQ(theme.ThemeFile(), skin);
        ExpectNothingLoaded(theme);
    }
}

TEST_F(FileThemeLoad, PasswordSetAfterTheFileLoadsIt) {
    TkelFileTheme theme(nullptr);
    const std::string skin = Skin("enc.skn", 0, "pass word");
    // The order of a stored form: the file first, then the password.
    SetPropValue(theme, "ThemeFile", skin);
    EXPECT_FALSE(theme.Ready());
    EXPECT_EQ(theme.ThemeFile(), skin) << "a found file is kept even when it does not load";
    SetPropValue(theme, "Password", std::string("pass word"));
    EXPECT_TRUE(theme.Ready());
    ExpectSkinLoaded(theme, 0);

    EXPECT_NO_THROW(theme.SetPassword("pass Word"));
    EXPECT_FALSE(theme.Ready()) << "a wrong password";
    ExpectNothingLoaded(theme);
    theme.SetPassword("pass word");
    EXPECT_TRUE(theme.Ready());
}

TEST_F(FileThemeLoad, PasswordSetFirstWaitsForTheFile) {
    TkelFileTheme theme(nullptr);
    theme.SetPassword("pass word");
    EXPECT_FALSE(theme.Ready());
    EXPECT_TRUE(theme.ThemeFile().empty());
    theme.SetThemeFile(Skin("enc.skn", 0, "pass word"));
    EXPECT_TRUE(theme.Ready());
    ExpectSkinLoaded(theme, 0);
}

TEST_F(FileThemeLoad, AnEmptyPasswordDoesNotReload) {
    TkelFileTheme theme(nullptr);
    theme.SetPassword("pass word");
    theme.SetThemeFile(Skin("enc.skn", 0, "pass word"));
    Skin("enc.skn", 1, "pass word");
    theme.SetPassword("");
    EXPECT_EQ(theme.Password(), "");
    EXPECT_TRUE(theme.Ready());
    ExpectSkinLoaded(theme, 0);
    // The stored password is the one a later load uses.
    theme.SetThemeFile(theme.ThemeFile());
    EXPECT_FALSE(theme.Ready());
}

TEST_F(FileThemeLoad, WritesToReadyHaveNoEffect) {
    TkelFileTheme theme(nullptr);
    theme.SetThemeFile(Skin("a.skn"));
    SetOrdProp(theme, "Ready", 0);
    theme.SetReady(false);
    EXPECT_TRUE(theme.Ready());
    ExpectSkinLoaded(theme, 0);
}

} // namespace
} // namespace kel::filetheme_test
