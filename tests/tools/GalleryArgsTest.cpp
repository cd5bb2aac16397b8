// The skin gallery's command line: the looks it starts in and the arguments it refuses.
#include <gtest/gtest.h>

#include "tools/gallery/GalleryArgs.h"

namespace kel::gallery {
namespace {

TEST(GalleryArgs, StylesThemesAndTheScreenshotFolder) {
    EXPECT_FALSE(ParseGalleryArgs({}).Style.has_value());
    EXPECT_TRUE(ParseGalleryArgs({}).Error.empty());
    for (TkelUIStyle style : kBuiltInStyles) {
        const TGalleryArgs args = ParseGalleryArgs({"--style", StyleName(style)});
        ASSERT_TRUE(args.Style.has_value()) << StyleName(style);
        EXPECT_EQ(*args.Style, style);
    }
    const TGalleryArgs theme =
        ParseGalleryArgs({"--theme", "skins\\Aqua.skn", "--password", "gallery"});
    EXPECT_EQ(theme.ThemeFile, "skins\\Aqua.skn");
    EXPECT_EQ(theme.Password, "gallery");
    EXPECT_TRUE(theme.Error.empty());
    EXPECT_EQ(ParseGalleryArgs({"--screenshots", "out"}).ScreenshotFolder, "out");
}

TEST(GalleryArgs, UnknownNamesMissingValuesAndAStrayPasswordAreRefused) {
    EXPECT_NE(ParseGalleryArgs({"--style", "Chrome"}).Error.find("Unknown style \"Chrome\""),
              std::string::npos);
    EXPECT_NE(ParseGalleryArgs({"--style", "macos"}).Error, "") << "names are exact";
    EXPECT_NE(ParseGalleryArgs({"--theme"}).Error.find("needs a value"), std::string::npos);
    EXPECT_NE(ParseGalleryArgs({"--verbose"}).Error.find("Unknown option"), std::string::npos);
    EXPECT_NE(ParseGalleryArgs({"--password", "x"}).Error.find("needs --theme"), std::string::npos);
    EXPECT_FALSE(StyleByName("FromThemeFile").has_value()) << "no built-in style";
}

} // namespace
} // namespace kel::gallery
