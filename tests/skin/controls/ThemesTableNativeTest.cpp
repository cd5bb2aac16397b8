// The built-in theme table, the frame cut of bitmap strips, caption fitting and the theme key
// name table: pure data and arithmetic, checked natively.
#include "skin/controls/KELThemesTable.h"
#include "skin/themes/KELThemesFrame.h"
#include "skin/themes/KELThemeKeys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace kel;

namespace {

constexpr TkelUIStyle kBuiltIn[] = {TkelUIStyle::MacOS, TkelUIStyle::WinXP, TkelUIStyle::DeepBlue,
                                    TkelUIStyle::Protein, TkelUIStyle::BlueGlass};

// Numbers and colours of the positions the controls read, column by column.
struct TValueRow {
    int Position;
    TThemeKind Kind;
    int32_t Values[5];
};
const TValueRow kReadValues[] = {
    {6, TThemeKind::Boolean, {0, 0, 0, 1, 1}},
    {7, TThemeKind::Integer, {3, 2, 0, 0, 4}},
    {8, TThemeKind::Integer, {-2, -2, 0, 0, -3}},
    {9, TThemeKind::Integer, {4, 5, 2, 2, 6}},
    {13, TThemeKind::Integer, {130, 150, 130, 130, 270}},
    {14, TThemeKind::Integer, {0, 13, 0, 0, 11}},
    {15, TThemeKind::Color, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {16, TThemeKind::Color, {0x7F7F7F, 0xC82C00, 0, 0, 0}},
    {17, TThemeKind::Integer, {1, 3, 1, 1, 1}},
    {18, TThemeKind::Color, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {19, TThemeKind::Color, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {20, TThemeKind::Color, {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {21, TThemeKind::Color, {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {22, TThemeKind::Color, {0, 0, 0, 0, 0}},
    {23, TThemeKind::Color, {0, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
};

} // namespace

TEST(ThemeTable, ValuesOfThePositionsControlsRead) {
    for (const TValueRow& row : kReadValues) {
        for (int s = 0; s < 5; ++s) {
            const TThemeEntry e = GetThemeEntry(kBuiltIn[s], row.Position);
            EXPECT_EQ(e.Kind, row.Kind) << "position " << row.Position;
            EXPECT_EQ(e.Value, row.Values[s]) << "position " << row.Position << " style " << s + 1;
        }
    }
}

TEST(ThemeTable, EveryPositionHasOneKindForAllStyles) {
    const std::set<int> bitmaps = {1,  3,  4,  5,  10, 11, 12, 24, 28, 29, 30,
                                   32, 33, 34, 38, 39, 40, 41, 42, 43, 45, 46};
    const std::set<int> booleans = {2, 6}, integers = {7, 8, 9, 13, 14, 17, 47};
    for (int p = 1; p <= 48; ++p) {
        TThemeKind expected = TThemeKind::Color;
        if (bitmaps.count(p)) expected = TThemeKind::Bitmap;
        if (booleans.count(p)) expected = TThemeKind::Boolean;
        if (integers.count(p)) expected = TThemeKind::Integer;
        for (TkelUIStyle s : kBuiltIn)
            EXPECT_EQ(GetThemeEntry(s, p).Kind, expected) << "position " << p;
    }
}

TEST(ThemeTable, BitmapPositionsNameTheirResources) {
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::DeepBlue, 1).BitmapName, "DEEPBLUE_BUTTON");
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::MacOS, 5).BitmapName, "MACOS_TITLEBTN");
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::BlueGlass, 12).BitmapName, "BLUEGLASS_TITLE_RIGHT");
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::WinXP, 30).BitmapName, "WINXP_TRACKBAR_SLIDER_V");
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::Protein, 41).BitmapName, "PROTEIN_SIDECHENNEL_HANDLE");
    // Position 38: own scroll buttons for two looks, a shared one for the others.
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::MacOS, 38).BitmapName, "MACOS_SCROLLBUTTON");
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::WinXP, 38).BitmapName, "WINXP_SCROLLBUTTON");
    for (TkelUIStyle s : {TkelUIStyle::DeepBlue, TkelUIStyle::Protein, TkelUIStyle::BlueGlass})
        EXPECT_STREQ(GetThemeEntry(s, 38).BitmapName, "MORE_SCROLLBUTTON");
    for (int p : {43, 45, 46}) EXPECT_STREQ(GetThemeEntry(TkelUIStyle::DeepBlue, p).BitmapName, "");
    // Entries of other kinds name no resource.
    EXPECT_STREQ(GetThemeEntry(TkelUIStyle::DeepBlue, 15).BitmapName, "");
}

TEST(ThemeTable, StylesWithoutAColumnAndStrayPositionsGiveNeutralValues) {
    for (TkelUIStyle s : {TkelUIStyle::FromThemeFile, static_cast<TkelUIStyle>(6),
                          static_cast<TkelUIStyle>(0x7F), static_cast<TkelUIStyle>(0x80)}) {
        const TThemeEntry e = GetThemeEntry(s, 15);
        EXPECT_EQ(e.Kind, TThemeKind::Integer);
        EXPECT_EQ(e.Value, -1);
        EXPECT_EQ(GetThemeColor(s, 15), 0u);
        EXPECT_EQ(GetThemeInt(s, 7), -1);
        EXPECT_FALSE(GetThemeBool(s, 6));
    }
    // Only the low 7 bits select the column.
    EXPECT_EQ(GetThemeColor(static_cast<TkelUIStyle>(0x83), 15), 0xE8E8E8u);
    for (int p : {0, -1, 49, 1000}) EXPECT_EQ(GetThemeInt(TkelUIStyle::DeepBlue, p), -1);
}

TEST(ThemeTable, AccessorsAnswerOnlyForTheirKind) {
    EXPECT_EQ(GetThemeInt(TkelUIStyle::DeepBlue, 15), -1);  // a colour
    EXPECT_EQ(GetThemeColor(TkelUIStyle::DeepBlue, 7), 0u); // an integer
    EXPECT_FALSE(GetThemeBool(TkelUIStyle::DeepBlue, 9));
    EXPECT_EQ(GetThemeInt(TkelUIStyle::DeepBlue, 1), -1); // a bitmap
    EXPECT_EQ(GetThemeInt(TkelUIStyle::MacOS, 8), -2);
    EXPECT_EQ(GetThemeColor(TkelUIStyle::WinXP, 16), 0xC82C00u);
    EXPECT_TRUE(GetThemeBool(TkelUIStyle::BlueGlass, 6));
    EXPECT_FALSE(GetThemeBool(TkelUIStyle::MacOS, 6));
}

TEST(FrameSpan, StripsCutIntoThreeFrames) {
    // 222 pixels: three 74-pixel frames edge to edge.
    EXPECT_EQ(FrameSpan(222, 3, 1).Left, 0);
    EXPECT_EQ(FrameSpan(222, 3, 2).Left, 74);
    EXPECT_EQ(FrameSpan(222, 3, 3).Left, 148);
    EXPECT_EQ(FrameSpan(222, 3, 3).Right, 222);
    // 100 pixels: 33-pixel frames; the spare column lies between the second and the last.
    const int lefts[] = {0, 33, 67};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(FrameSpan(100, 3, i).Left, lefts[i - 1]);
        EXPECT_EQ(FrameSpan(100, 3, i).Right - FrameSpan(100, 3, i).Left, 33);
    }
}

TEST(FrameSpan, DegenerateCutsStayInRange) {
    EXPECT_EQ(FrameSpan(100, 0, 1).Left, 0); // no layout: the whole strip
    EXPECT_EQ(FrameSpan(100, 0, 1).Right, 100);
    EXPECT_EQ(FrameSpan(100, -3, 2).Right, 100);
    EXPECT_EQ(FrameSpan(2, 3, 1).Right, 0); // narrower than the frame count: empty frames
    EXPECT_EQ(FrameSpan(2, 3, 3).Left, 2);
    // Indexes outside 1..count follow the same arithmetic beyond the strip, without overflow.
    EXPECT_EQ(FrameSpan(100, 3, 0).Right, 0);
    EXPECT_EQ(FrameSpan(100, 3, 4).Left, 99);
    EXPECT_GE(FrameSpan(100, 3, 5).Left, 100);
    const TFrameSpan far = FrameSpan(1 << 30, 2, INT32_MAX - 1);
    EXPECT_EQ(far.Right - far.Left, 1 << 29);
    EXPECT_GE(far.Left, 1 << 30);
}

TEST(FitCaptionBy, ShortensToTheFirstCandidateReachingTheLimit) {
    const auto tenPerChar = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(FitCaptionBy("Hello", 50, tenPerChar), "Hello"); // fits exactly
    EXPECT_EQ(FitCaptionBy("Hello", 500, tenPerChar), "Hello");
    // "H..." is 40 wide: the first candidate that reaches 35, not the last below it.
    EXPECT_EQ(FitCaptionBy("Hello", 35, tenPerChar), "H...");
    EXPECT_EQ(FitCaptionBy("Hello", 49, tenPerChar), "He...");
    EXPECT_EQ(FitCaptionBy("W", 5, tenPerChar), "W"); // one character too wide stays whole
    EXPECT_EQ(FitCaptionBy("", -1, tenPerChar), "");
}

TEST(FitCaptionBy, WholeTextWhenNoCandidateReachesTheLimit) {
    // Dots take no room, so every candidate stays narrower than the text itself.
    const auto dotsFree = [](const std::string& s) {
        int w = 0;
        for (char c : s) w += c == '.' ? 0 : 10;
        return w;
    };
    EXPECT_EQ(FitCaptionBy("abcdef", 55, dotsFree), "abcdef");
}

TEST(ThemeKeys, EightyFourDistinctNamesInFourGroups) {
    std::set<std::string> names;
    for (int i = 0; i < kThemeKeyCount; ++i) {
        const std::string name = ThemeKeyName(i);
        EXPECT_EQ(name.rfind("SKIN2_", 0), 0u) << i;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 84u);
    EXPECT_STREQ(ThemeKeyName(-1), "");
    EXPECT_STREQ(ThemeKeyName(84), "");
    EXPECT_EQ(kBitmapKeyBase, 32);
    EXPECT_EQ(kIntegerKeyBase, 66);
    EXPECT_EQ(kBoolKeyBase, 75);
}

TEST(ThemeKeys, KeysNameTheirEntries) {
    EXPECT_STREQ(ThemeKeyName(TkelThemeColorKey::TransColor), "SKIN2_TRANSCOLOR");
    EXPECT_STREQ(ThemeKeyName(TkelThemeColorKey::SelectedMenuFontColor),
                 "SKIN2_SELECTEDMENUFONTCOLOR");
    EXPECT_STREQ(ThemeKeyName(TkelThemeColorKey::SideChannelBorderColor),
                 "SKIN2_SIDECHANNELBORDERCOLOR");
    EXPECT_EQ(static_cast<int>(TkelThemeBitmapKey::Button), 15);
    EXPECT_STREQ(ThemeKeyName(TkelThemeBitmapKey::Button), "SKIN2_BUTTON");
    EXPECT_STREQ(ThemeKeyName(TkelThemeBitmapKey::TitleButtons), "SKIN2_TITLEBUTTONS");
    EXPECT_STREQ(ThemeKeyName(TkelThemeBitmapKey::ScrollButton), "SKIN2_SCROLLBUTTON");
    EXPECT_STREQ(ThemeKeyName(TkelThemeIntegerKey::TitleBarIconPosX), "SKIN2_TITLEBARICONPOSX");
    EXPECT_STREQ(ThemeKeyName(TkelThemeIntegerKey::BottomRegionMaxY), "SKIN2_BOTTOMREGIONMAXY");
    EXPECT_STREQ(ThemeKeyName(TkelThemeBoolKey::TitleFiveSect), "SKIN2_TITLEFIVESECT");
    EXPECT_STREQ(ThemeKeyName(TkelThemeBoolKey::TabControlTrans), "SKIN2_TABCONTROLTRANS");
    // A value outside its enumeration names nothing, not a key of the next group.
    EXPECT_STREQ(ThemeKeyName(static_cast<TkelThemeColorKey>(32)), "");
    EXPECT_STREQ(ThemeKeyName(static_cast<TkelThemeBoolKey>(-1)), "");
}
