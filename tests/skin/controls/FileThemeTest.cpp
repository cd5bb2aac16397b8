// The file theme as controls see it while no skin file is loaded.
#include "skin/themes/KELMgr.h"

#include <gtest/gtest.h>

#include "framework/win/Forms.h"
#include "tests/skin/controls/SkinTestSupport.h"
#include "tests/skin/themes/NothingLoadedExpectations.h"

using namespace kel;
using namespace kel::test;

TEST(FileTheme, NothingLoadedAnswersEveryLookup) {
    TForm form(nullptr);
    auto* theme = new TkelFileTheme(&form);
    EXPECT_FALSE(theme->Ready());
    ExpectNothingLoaded(*theme);
    EXPECT_TRUE(theme->ThemeFile().empty());
    EXPECT_TRUE(theme->Password().empty());
}

TEST(FileTheme, CopyBitmapWithNothingStoredEmptiesTheDestination) {
    TkelFileTheme theme(nullptr);
    TBitmap dest;
    FillBitmap(dest, 12, 8, clWhite);
    theme.CopyBitmap(TkelThemeBitmapKey::Button, dest, 0, 0);
    EXPECT_TRUE(dest.Empty());
    FillBitmap(dest, 12, 8, clWhite);
    theme.CopyBitmap(TkelThemeBitmapKey::TitleButtons, dest, 18, 2);
    EXPECT_EQ(dest.Width(), 0);
    EXPECT_EQ(dest.Height(), 0);
}

TEST(FileTheme, PublishedPropertiesAndAStoredReadyWithoutEffect) {
    TkelFileTheme theme(nullptr);
    const auto& props = TkelFileTheme::StaticClassInfo().OwnProps();
    ASSERT_EQ(props.size(), 5u);
    EXPECT_EQ(props[0].Name, "ThemeFile");
    EXPECT_EQ(props[1].Name, "Password");
    EXPECT_EQ(props[2].Name, "Ready");
    EXPECT_EQ(props[3].Name, "LoadError"); // read-only, like Ready: why the last load failed
    EXPECT_EQ(props[4].Name, "LoadErrorMessage");
    SetOrdProp(theme, "Ready", 1);
    EXPECT_FALSE(theme.Ready());
    EXPECT_EQ(GetOrdProp(theme, "Ready"), 0);
    // A skin file that is nowhere leaves the theme as it was.
    SetPropValue(theme, "ThemeFile", std::string("Z:\\no\\such\\folder\\missing.skn"));
    SetPropValue(theme, "Password", std::string("secret"));
    ExpectNothingLoaded(theme);
}
