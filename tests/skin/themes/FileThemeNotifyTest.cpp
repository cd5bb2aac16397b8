// What a load does to the components around a file theme: the re-assignment of "FileTheme" on the
// components of its form, the frame refresh of a skinned form that uses it, the style resolution
// of controls, and a skinned button that draws from the theme and forgets it when it is freed.
#include <windows.h>

#include "framework/win/Forms.h"
#include "skin/controls/KELButton.h"
#include "skin/controls/KELThemes.h"
#include "skin/themes/KELMgr.h"
#include "tests/skin/themes/FileThemeTestSupport.h"

namespace kel::filetheme_test {
namespace {

using Writes = std::vector<TkelFileTheme*>;

// A form that counts the frame recomputations asked of its window.
class TFrameWatchForm : public TForm {
public:
    using TForm::TForm;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_WINDOWPOSCHANGING) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            constexpr UINT kRefresh =
                SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
            if ((pos->flags & kRefresh) == kRefresh) ++frameRefreshes;
        }
        return TForm::WndProc(message, wParam, lParam);
    }
    int frameRefreshes = 0;
};

using FileThemeNotify = FileThemeFixture;

TEST_F(FileThemeNotify, EachLoadReassignsTheThemeOnlyToSkinnedComponentsNamingIt) {
    TForm form(nullptr);
    auto* theme = new TkelFileTheme(&form);
    auto* other = new TkelFileTheme(&form);
    auto* user = &(new TSkinnedProbe(&form))->Naming(theme);
    auto* namingOther = &(new TSkinnedProbe(&form))->Naming(other);
    auto* namingNothing = new TSkinnedProbe(&form);
    auto* notSkinned = &(new TProbe(&form))->Naming(theme); // publishes FileTheme all the same
    TForm elsewhere(nullptr);
    auto* onAnotherForm = &(new TSkinnedProbe(&elsewhere))->Naming(theme);

    const std::string skin = Skin("a.skn");
    theme->SetThemeFile(skin);
    ASSERT_TRUE(theme->Ready());
    EXPECT_EQ(user->writes, (Writes{nullptr, theme})) << "to nothing, then back to the theme";
    theme->SetThemeFile(skin);
    EXPECT_EQ(user->writes, (Writes{nullptr, theme, nullptr, theme})) << "the same path again";
    EXPECT_EQ(user->FileTheme(), theme);
    int index = 0;
    for (const TProbe* untouched : std::initializer_list<const TProbe*>{namingOther, namingNothing,
                                                                        notSkinned, onAnotherForm})
        EXPECT_TRUE(untouched->writes.empty()) << "probe " << index++;
    EXPECT_EQ(namingOther->FileTheme(), other);

    // Loads that find no file, or fail, tell nobody.
    theme->SetThemeFile(Path("missing.skn"));
    theme->SetPassword("not used by a plain file"); // reloads: one more notification
    Write("a.skn", Bytes(100, 'x'));
    theme->SetThemeFile(skin);
    EXPECT_FALSE(theme->Ready());
    EXPECT_EQ(user->writes.size(), 6u);
}

TEST_F(FileThemeNotify, AThemeNotOwnedByAFormTellsNobody) {
    TForm form(nullptr);
    auto* holder = new TComponent(&form);
    auto* theme = new TkelFileTheme(holder);
    auto* user = &(new TSkinnedProbe(&form))->Naming(theme);
    auto* held = &(new TSkinnedProbe(holder))->Naming(theme);
    theme->SetThemeFile(Skin("a.skn"));
    ASSERT_TRUE(theme->Ready());
    EXPECT_TRUE(user->writes.empty());
    EXPECT_TRUE(held->writes.empty());
}

TEST_F(FileThemeNotify, ASkinnedFormUsingTheThemeRefreshesItsFrameAfterLaterLoads) {
    TFrameWatchForm form(nullptr);
    form.HandleNeeded();
    auto* theme = new TkelFileTheme(&form);
    auto* skinnedForm = &(new TSkinnedFormProbe(&form))->Naming(theme);
    const std::string skin = Skin("a.skn");

    theme->SetThemeFile(skin);
    EXPECT_EQ(form.frameRefreshes, 0) << "the first load builds the frame afresh anyway";
    EXPECT_EQ(skinnedForm->writes, (Writes{nullptr, theme})) << "also a skinned component";
    theme->SetThemeFile(skin);
    EXPECT_EQ(form.frameRefreshes, 1);
    theme->SetThemeFile(Path("missing.skn"));
    EXPECT_EQ(form.frameRefreshes, 1);

    // A program's own descendant of the skinned form component is one too: it uses the theme
    // and re-reads its look, whatever its class is called.
    skinnedForm->Naming(nullptr);
    struct TMyForm : TSkinnedFormProbe {
        using TSkinnedFormProbe::TSkinnedFormProbe;
    };
    auto* derived = &(new TMyForm(&form))->Naming(theme);
    theme->SetThemeFile(skin);
    EXPECT_EQ(form.frameRefreshes, 2);
    EXPECT_EQ(derived->writes, (Writes{nullptr, theme}));

    // Nobody uses the theme as a skinned form: no refresh.
    derived->Naming(nullptr);
    theme->SetThemeFile(skin);
    EXPECT_EQ(form.frameRefreshes, 2);
}

TEST_F(FileThemeNotify, AFormWithoutAWindowIsNotGivenOne) {
    TFrameWatchForm form(nullptr);
    auto* theme = new TkelFileTheme(&form);
    (new TSkinnedFormProbe(&form))->Naming(theme);
    theme->SetThemeFile(Skin("a.skn"));
    theme->SetThemeFile(theme->ThemeFile());
    EXPECT_TRUE(theme->Ready());
    EXPECT_FALSE(form.HandleAllocated());
}

TEST_F(FileThemeNotify, StyleResolutionUsesOnlyAReadyTheme) {
    TkelFileTheme theme(nullptr);
    const std::string skin = Skin("a.skn");
    theme.SetThemeFile(skin);
    ASSERT_TRUE(theme.Ready());
    TResolvedStyle resolved = ResolveUIStyle(&theme, TkelUIStyle::FromThemeFile);
    EXPECT_TRUE(resolved.UseFileTheme);
    EXPECT_EQ(resolved.Style, TkelUIStyle::FromThemeFile);
    resolved = ResolveUIStyle(&theme, TkelUIStyle::WinXP);
    EXPECT_FALSE(resolved.UseFileTheme) << "a built-in style ignores a ready theme";
    EXPECT_EQ(resolved.Style, TkelUIStyle::WinXP);

    Write("a.skn", Bytes(100, 'x'));
    theme.SetThemeFile(skin);
    resolved = ResolveUIStyle(&theme, TkelUIStyle::FromThemeFile);
    EXPECT_FALSE(resolved.UseFileTheme) << "after a failed load";
    EXPECT_EQ(resolved.Style, TkelUIStyle::DeepBlue);
}

TEST_F(FileThemeNotify, ASkinnedButtonDrawsFromTheThemeAndForgetsItWhenItIsFreed) {
    TForm form(nullptr);
    form.SetClientWidth(120);
    form.SetClientHeight(60);
    auto* theme = new TkelFileTheme(&form);
    theme->SetThemeFile(Skin("a.skn"));
    ASSERT_TRUE(theme->Ready());
    auto* button = new TkelCustomButton(&form);
    button->SetParent(&form);
    button->SetBounds(4, 4, 40, kStripHeight);
    button->SetUIStyle(TkelUIStyle::FromThemeFile);
    button->SetFileTheme(theme);

    // The normal state shows frame 1 of the theme's button strip at the top left.
    TBitmap face(40, kStripHeight);
    SendMessageA(button->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(face.Canvas().Handle()), 0);
    const std::vector<uint32_t> frame = StripFrame(0, 3, 1);
    const int frameWidth = StripWidth(0) / 3;
    for (int y = 0; y < kStripHeight; ++y)
        EXPECT_EQ(face.ScanLine(y)[10], frame[static_cast<size_t>(y) * frameWidth + 10]) << y;

    delete theme;
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), TkelUIStyle::DeepBlue);
}

} // namespace
} // namespace kel::filetheme_test
