// UI styles on Windows: the built-in bitmaps from the program's resources, frame cuts, the style
// resolution, a new control's style from its form, handing a style to children, caption fitting.
#include "skin/controls/KELThemes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "skin/themes/KELMgr.h"
#include "tests/skin/controls/SkinTestSupport.h"

using namespace kel;
using namespace kel::test;

namespace {

constexpr TkelUIStyle kBuiltIn[] = {TkelUIStyle::MacOS, TkelUIStyle::WinXP, TkelUIStyle::DeepBlue,
                                    TkelUIStyle::Protein, TkelUIStyle::BlueGlass};

SIZE SizeOf(TkelUIStyle style, int position) {
    TBitmap b;
    GetThemeBitmap(style, position, &b, 0, 0);
    return {b.Width(), b.Height()};
}

// A skinned form component as the style choice sees it: the skinned-form interface and a
// published UIStyle.
class StandInKelForm : public TGraphicControl, public IkelSkinnedForm {
    KEL_DECLARE_CLASS(StandInKelForm)
public:
    explicit StandInKelForm(TComponent* owner) : TGraphicControl(owner) {}
    TkelUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TkelUIStyle style) { style_ = style; }

private:
    TkelUIStyle style_ = TkelUIStyle::DeepBlue;
};
const TClassInfo& StandInKelForm::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelForm", &TGraphicControl::StaticClassInfo());
        TPublisher<StandInKelForm>(i).Property("UIStyle", &StandInKelForm::UIStyle,
                                               &StandInKelForm::SetUIStyle);
        return i;
    }();
    return info;
}

// A descendant of the skinned form component, under another class name, still counts as one.
class DerivedKelForm : public StandInKelForm {
    KEL_DECLARE_CLASS(DerivedKelForm)
public:
    using StandInKelForm::StandInKelForm;
};
const TClassInfo& DerivedKelForm::StaticClassInfo() {
    static const TClassInfo info("TMyForm", &StandInKelForm::StaticClassInfo());
    return info;
}

// A control that publishes FileTheme and/or UIStyle and notes the order of the writes.
class ThemedControl : public TWinControl {
    KEL_DECLARE_CLASS(ThemedControl)
public:
    ThemedControl(TComponent* owner, std::vector<std::string>& log)
        : TWinControl(owner), log_(log) {}
    TkelFileTheme* FileTheme() const { return theme_; }
    void SetFileTheme(TkelFileTheme* theme) {
        theme_ = theme;
        log_.push_back(Name() + ".FileTheme");
    }
    TkelUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TkelUIStyle style) {
        style_ = style;
        log_.push_back(Name() + ".UIStyle");
    }

private:
    std::vector<std::string>& log_;
    TkelFileTheme* theme_ = nullptr;
    TkelUIStyle style_ = TkelUIStyle::DeepBlue;
};
const TClassInfo& ThemedControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("ThemedControl", &TWinControl::StaticClassInfo());
        TPublisher<ThemedControl>(i)
            .Property("FileTheme", &ThemedControl::FileTheme, &ThemedControl::SetFileTheme)
            .Property("UIStyle", &ThemedControl::UIStyle, &ThemedControl::SetUIStyle);
        return i;
    }();
    return info;
}

class StyleOnlyControl : public ThemedControl {
    KEL_DECLARE_CLASS(StyleOnlyControl)
public:
    using ThemedControl::ThemedControl;
};
const TClassInfo& StyleOnlyControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("StyleOnlyControl", &TWinControl::StaticClassInfo());
        TPublisher<StyleOnlyControl>(i).Property("UIStyle", &ThemedControl::UIStyle,
                                                 &ThemedControl::SetUIStyle);
        return i;
    }();
    return info;
}

class ThemeOnlyControl : public ThemedControl {
    KEL_DECLARE_CLASS(ThemeOnlyControl)
public:
    using ThemedControl::ThemedControl;
};
const TClassInfo& ThemeOnlyControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("ThemeOnlyControl", &TWinControl::StaticClassInfo());
        TPublisher<ThemeOnlyControl>(i).Property("FileTheme", &ThemedControl::FileTheme,
                                                 &ThemedControl::SetFileTheme);
        return i;
    }();
    return info;
}

} // namespace

TEST(ThemeBitmaps, StripsOfEveryLookHaveTheirSizes) {
    struct Expected {
        int Position;
        SIZE Sizes[5];
    };
    const Expected table[] = {
        {1, {{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}},  // BUTTON
        {5, {{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}}, // TITLEBTN
        {10, {{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}},   // TITLE_LEFT
        {11, {{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}},     // TITLE_CLIENT
        {12, {{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}},     // TITLE_RIGHT
    };
    for (const Expected& e : table)
        for (int s = 0; s < 5; ++s) {
            const SIZE size = SizeOf(kBuiltIn[s], e.Position);
            EXPECT_EQ(size.cx, e.Sizes[s].cx) << "position " << e.Position << " style " << s + 1;
            EXPECT_EQ(size.cy, e.Sizes[s].cy) << "position " << e.Position << " style " << s + 1;
        }
    TBitmap b;
    b.LoadFromResourceName(GetModuleHandleA(nullptr), "MACOS_MENU_BAR");
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Height(), 22);
    b.LoadFromResourceName(GetModuleHandleA(nullptr), "MACOS_MENU_SELECT");
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Height(), 21);
}

TEST(ThemeBitmaps, EveryNamedResourceIsPresent) {
    for (TkelUIStyle s : kBuiltIn)
        for (int p = 1; p <= 48; ++p) {
            const TThemeEntry e = GetThemeEntry(s, p);
            if (e.Kind != TThemeKind::Bitmap || !*e.BitmapName) continue;
            TBitmap b;
            EXPECT_NO_THROW(GetThemeBitmap(s, p, &b, 0, 0)) << e.BitmapName;
            EXPECT_FALSE(b.Empty()) << e.BitmapName;
        }
    for (const char* name : {"MACOS_FORM_BACKGROUND", "PROTEIN_FORM_BACKGROUND",
                             "MACOS_COMBOBOX_BUTTON", "WINXP_COMBOBOX_BUTTON"}) {
        TBitmap b;
        EXPECT_NO_THROW(b.LoadFromResourceName(GetModuleHandleA(nullptr), name)) << name;
    }
}

TEST(ThemeBitmaps, ButtonFramesAreThirdsOfTheStrip) {
    TBitmap strip;
    GetThemeBitmap(TkelUIStyle::DeepBlue, 1, &strip, 0, 0);
    ASSERT_EQ(strip.Width(), 222);
    for (int frame = 1; frame <= 3; ++frame) {
        TBitmap b;
        GetThemeBitmap(TkelUIStyle::DeepBlue, 1, &b, frame, 3);
        ASSERT_EQ(b.Width(), 74);
        ASSERT_EQ(b.Height(), 21);
        for (int y = 0; y < 21; y += 5)
            for (int x = 0; x < 74; x += 7)
                EXPECT_EQ(b.ScanLine(y)[x], strip.ScanLine(y)[x + 74 * (frame - 1)]);
    }
}

TEST(ThemeBitmaps, EntriesThatAreNoBitmap) {
    TBitmap target;
    FillBitmap(target, 5, 6, clWhite);
    GetThemeBitmap(TkelUIStyle::DeepBlue, 15, &target, 0, 0); // a colour: left untouched
    EXPECT_EQ(target.Width(), 5);
    GetThemeBitmap(TkelUIStyle::FromThemeFile, 1, &target, 0, 0); // no table: untouched
    EXPECT_EQ(target.Width(), 5);
    GetThemeBitmap(TkelUIStyle::DeepBlue, 15, &target, 1, 3); // cut from nothing: empty
    EXPECT_TRUE(target.Empty());
    GetThemeBitmap(TkelUIStyle::DeepBlue, 1, nullptr, 1, 3); // no target: nothing
    // A bitmap position without a resource name fails with the resource error.
    EXPECT_THROW(GetThemeBitmap(TkelUIStyle::DeepBlue, 43, &target, 0, 0), EResNotFound);
}

TEST(ExtractFrame, HundredPixelStripInThreeFrames) {
    TBitmap strip;
    strip.SetSize(100, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 100; ++x) strip.ScanLine(y)[x] = static_cast<uint32_t>(x * 256 + y);
    const int lefts[] = {0, 33, 67};
    for (int frame = 1; frame <= 3; ++frame) {
        TBitmap b;
        ExtractFrame(strip, b, 3, frame);
        ASSERT_EQ(b.Width(), 33);
        ASSERT_EQ(b.Height(), 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 33; ++x)
                ASSERT_EQ(b.ScanLine(y)[x],
                          static_cast<uint32_t>((lefts[frame - 1] + x) * 256 + y));
    }
    // The strip cut into itself.
    ExtractFrame(strip, strip, 3, 2);
    ASSERT_EQ(strip.Width(), 33);
    EXPECT_EQ(strip.ScanLine(3)[0], static_cast<uint32_t>(33 * 256 + 3));
}

TEST(ExtractFrame, FramesOutsideTheStripAreBlackNotGarbage) {
    TBitmap strip;
    FillBitmap(strip, 10, 2, clWhite);
    TBitmap b;
    ExtractFrame(strip, b, 2, 3); // columns 10..14
    ASSERT_EQ(b.Width(), 5);
    EXPECT_EQ(b.ScanLine(1)[4] & 0xFFFFFF, 0u);
    ExtractFrame(strip, b, 0, 1); // no layout: the whole strip
    EXPECT_EQ(b.Width(), 10);
    TBitmap empty;
    ExtractFrame(empty, b, 3, 1);
    EXPECT_TRUE(b.Empty());
}

TEST(ResolveUIStyle, FileThemeOnlyForFromThemeFileWithAReadyTheme) {
    TkelFileTheme theme(nullptr); // nothing loaded: not ready
    TResolvedStyle r = ResolveUIStyle(nullptr, TkelUIStyle::FromThemeFile);
    EXPECT_FALSE(r.UseFileTheme);
    EXPECT_EQ(r.Style, TkelUIStyle::DeepBlue);
    r = ResolveUIStyle(&theme, TkelUIStyle::FromThemeFile);
    EXPECT_FALSE(r.UseFileTheme);
    EXPECT_EQ(r.Style, TkelUIStyle::DeepBlue);
    for (TkelUIStyle s : kBuiltIn) {
        r = ResolveUIStyle(&theme, s);
        EXPECT_FALSE(r.UseFileTheme);
        EXPECT_EQ(r.Style, s);
    }
}

TEST(DefaultUIStyleOf, StyleOfTheFirstSkinnedFormAmongTheFormsChildren) {
    EXPECT_EQ(DefaultUIStyleOf(nullptr), TkelUIStyle::DeepBlue);
    TComponent notAForm(nullptr);
    EXPECT_EQ(DefaultUIStyleOf(&notAForm), TkelUIStyle::DeepBlue);

    TForm form(nullptr);
    auto* plain = new TGraphicControl(&form);
    plain->SetParent(&form);
    EXPECT_EQ(DefaultUIStyleOf(&form), TkelUIStyle::DeepBlue);
    auto* unplaced = new StandInKelForm(&form); // owned, but no child control
    unplaced->SetUIStyle(TkelUIStyle::Protein);
    EXPECT_EQ(DefaultUIStyleOf(&form), TkelUIStyle::DeepBlue);
    auto* first = new DerivedKelForm(&form);
    first->SetUIStyle(TkelUIStyle::WinXP);
    first->SetParent(&form);
    auto* second = new StandInKelForm(&form);
    second->SetUIStyle(TkelUIStyle::MacOS);
    second->SetParent(&form);
    EXPECT_EQ(DefaultUIStyleOf(&form), TkelUIStyle::WinXP);
}

TEST(ApplyThemeToChildren, OnlyDirectChildrenPublishingBothAreSet) {
    std::vector<std::string> log;
    TForm form(nullptr);
    TkelFileTheme theme(&form);
    const auto add = [&](ThemedControl* c, const char* name, TWinControl* parent) {
        c->SetName(name);
        c->SetParent(parent);
        return c;
    };
    auto* both = add(new ThemedControl(&form, log), "both", &form);
    auto* styleOnly = add(new StyleOnlyControl(&form, log), "styleOnly", &form);
    add(new ThemeOnlyControl(&form, log), "themeOnly", &form);
    auto* second = add(new ThemedControl(&form, log), "second", &form);
    auto* grandchild = add(new ThemedControl(&form, log), "grandchild", both);
    log.clear();
    ApplyThemeToChildren(form, TkelUIStyle::BlueGlass, &theme);
    const std::vector<std::string> expected = {"both.FileTheme", "both.UIStyle", "second.FileTheme",
                                               "second.UIStyle"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(both->FileTheme(), &theme);
    EXPECT_EQ(second->UIStyle(), TkelUIStyle::BlueGlass);
    EXPECT_EQ(styleOnly->UIStyle(), TkelUIStyle::DeepBlue);
    EXPECT_EQ(grandchild->FileTheme(), nullptr);
}

TEST(HasPublishedProp, OwnAndInheritedPropertiesByName) {
    TForm form(nullptr);
    StandInKelForm kelForm(&form);
    EXPECT_TRUE(HasPublishedProp(kelForm, "UIStyle"));
    EXPECT_TRUE(HasPublishedProp(kelForm, "Left"));
    EXPECT_TRUE(HasPublishedProp(kelForm, "Tag"));
    EXPECT_FALSE(HasPublishedProp(kelForm, "FileTheme"));
    EXPECT_FALSE(HasPublishedProp(form, "UIStyle"));
    EXPECT_TRUE(HasPublishedProp(TkelFileTheme(nullptr), "Ready"));
}

TEST(FitCaption, MeasuresOnTheCanvas) {
    TBitmap surface;
    surface.SetSize(10, 10);
    TCanvas& canvas = surface.Canvas();
    const std::string text = "Disc image builder";
    const int full = canvas.TextWidth(text);
    ASSERT_GT(full, 20);
    EXPECT_EQ(FitCaption(canvas, text, full), text);
    EXPECT_EQ(FitCaption(canvas, text, full + 100), text);
    const std::string fitted = FitCaption(canvas, text, full / 2);
    ASSERT_GT(fitted.size(), 3u);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    EXPECT_EQ(text.compare(0, fitted.size() - 3, fitted, 0, fitted.size() - 3), 0);
    // The first candidate that reaches the limit: one character less stays below it.
    EXPECT_GE(canvas.TextWidth(fitted), full / 2);
    EXPECT_LT(canvas.TextWidth(fitted.substr(0, fitted.size() - 4) + "..."), full / 2);
    EXPECT_EQ(FitCaption(canvas, "W", 1), "W");
}
