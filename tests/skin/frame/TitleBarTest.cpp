// The skinned title bar on real forms under Wine: its look in every built-in style and from a
// five-part skin file, button placement, caption fitting, the mouse rules with real input, the
// button actions and their veto events, the system menu, the refusals and broken pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "skin/controls/KELPublic.h"
#include "skin/frame/KELTitleBar.h"
#include "tests/skin/themes/FileThemeTestSupport.h"
#include "tests/skin/frame/FrameTestSupport.h"
#include "tools/skintool/SkinPacker.h"

namespace kel {
namespace {

using namespace frame_test;

using A = TkelTitleBarAlign;
using B = TkelTitleBarBtnType;

// A form that answers the title bar's frame-width question as a skinned form would.
class TFramedHost : public TForm {
public:
    using TForm::TForm;
    int frameWidth = 0;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEL_FRAMEWIDTH) return frameWidth;
        return TForm::WndProc(message, wParam, lParam);
    }
};

// Stands in for the skinned form component: a bar placed on it is framed, and a new bar on its
// form starts in its style.
class TSkinnedPanel : public TCustomPanel, public IkelSkinnedForm {
    KEL_DECLARE_CLASS(TSkinnedPanel)
public:
    using TCustomPanel::TCustomPanel;
    int framePaints = 0;
    TkelUIStyle UIStyle() const { return TkelUIStyle::WinXP; }
    void SetUIStyle(TkelUIStyle) {}
    void PaintFrame() override { ++framePaints; }
};

const TClassInfo& TSkinnedPanel::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TSkinnedPanel", &TCustomPanel::StaticClassInfo());
        TPublisher<TSkinnedPanel>(i).Property("UIStyle", &TSkinnedPanel::UIStyle,
                                              &TSkinnedPanel::SetUIStyle);
        return i;
    }();
    return info;
}

std::unique_ptr<TBitmap> Render(TkelTitleBar& bar) {
    auto bitmap = std::make_unique<TBitmap>(bar.Width(), bar.Height());
    bitmap->Canvas().Brush().SetStyle(TBrushStyle::Clear);
    bitmap->Canvas().Font().Assign(bar.Font());
    bar.DrawSections(*bitmap);
    bar.DrawButtons(*bitmap);
    return bitmap;
}

// True when the bitmap shows `picture` with its top-left corner at (x, y).
bool ShowsAt(const TBitmap& bitmap, int x, int y, const TBitmap& picture) {
    for (int py = 0; py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px)
            if (bitmap.ScanLine(y + py)[x + px] != picture.ScanLine(py)[px]) return false;
    return true;
}

std::unique_ptr<TBitmap> StripFrame(TkelUIStyle style, int frame) {
    auto bitmap = std::make_unique<TBitmap>();
    GetThemeBitmap(style, 5, bitmap.get(), frame, 18);
    return bitmap;
}

// Columns where two renderings differ.
std::vector<int> ChangedColumns(const TBitmap& a, const TBitmap& b) {
    std::vector<int> columns;
    for (int x = 0; x < a.Width(); ++x)
        for (int y = 0; y < a.Height(); ++y)
            if (a.ScanLine(y)[x] != b.ScanLine(y)[x]) {
                columns.push_back(x);
                break;
            }
    return columns;
}

// The form's window as it is on screen, frame included, written as a BMP file.
void SaveScreenshot(TForm& form, const std::string& path) {
    form.Repaint();
    Application->ProcessMessages();
    WindowPixels(form.Handle())->SaveToFile(path);
}

class TitleBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0); // away from the form: no button is hot
        form = std::make_unique<TFramedHost>(nullptr);
        form->SetBounds(120, 100, 420, 200);
        bar = new TkelTitleBar(form.get());
        bar->SetParent(form.get());
        bar->SetUIStyle(TkelUIStyle::DeepBlue); // again, now that the bar has its form
        Application->MessageBoxHook = [this](const std::string& text, const std::string&,
                                             UINT flags) {
            messages.push_back(text);
            EXPECT_EQ(flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
            return IDOK;
        };
    }
    void TearDown() override {
        Application->MessageBoxHook = nullptr;
        form.reset();
    }
    void ShowForm() {
        form->Show();
        Application->ProcessMessages();
    }
    // The right edge of the close button with the default offsets.
    int CloseButtonRight() const { return bar->Width() - bar->RightBtnXOffset() - 1; }

    std::unique_ptr<TFramedHost> form;
    TkelTitleBar* bar = nullptr;
    std::vector<std::string> messages;
};

TEST_F(TitleBarTest, FreshBarHasTheDeepBlueLook) {
    EXPECT_EQ(bar->UIStyle(), TkelUIStyle::DeepBlue);
    ASSERT_EQ(bar->Sections()->Count(), 3);
    EXPECT_EQ(bar->Sections()->Items(0).Align(), A::kelLeft);
    EXPECT_EQ(bar->Sections()->Items(1).Align(), A::kelRight);
    EXPECT_EQ(bar->Sections()->Items(2).Align(), A::kelClient);
    EXPECT_TRUE(bar->Sections()->Items(2).Stretch());
    EXPECT_EQ(bar->Sections()->Items(0).Width(), 97) << "auto-sized to its picture";
    ASSERT_EQ(bar->Buttons()->Count(), 4);
    const B types[] = {B::kelControlBox, B::kelClose, B::kelMax, B::kelMin};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar->Buttons()->Items(i).ButtonType(), types[i]);
        EXPECT_EQ(bar->Buttons()->Items(i).PicNormal().Width(), 19);
        EXPECT_EQ(bar->Buttons()->Items(i).Top(), 2);
    }
    EXPECT_EQ(bar->Font().Color(), clWhite);
    EXPECT_EQ(bar->Font().Name(), "Tahoma");
    EXPECT_EQ(bar->Font().Style(), static_cast<unsigned>(fsBold));
    EXPECT_EQ(bar->Height(), 32);
    EXPECT_EQ(bar->Align(), TAlign::alTop);
    EXPECT_EQ(bar->Width(), form->ClientWidth()) << "aligned to the top of its form";
    EXPECT_EQ(bar->InactiveCaptionColor(), 0xFF000003u);
    EXPECT_EQ(form->Constraints().MinWidth, 130);
    EXPECT_EQ(form->Constraints().MinHeight, 50);
    // The bar follows its form's width.
    form->SetBounds(120, 100, 500, 200);
    EXPECT_EQ(bar->Width(), form->ClientWidth());
}

TEST_F(TitleBarTest, EveryBuiltInStyleHasItsHeightColourAndLook) {
    ShowForm();
    auto* panel = new TSkinnedPanel(form.get());
    panel->SetParent(form.get());
    panel->SetAlign(TAlign::alClient);
    auto* framed = new TkelTitleBar(form.get());
    EXPECT_EQ(framed->UIStyle(), TkelUIStyle::WinXP) << "the style of the skinned form";
    framed->SetParent(panel);
    const TkelUIStyle styles[] = {TkelUIStyle::MacOS, TkelUIStyle::WinXP, TkelUIStyle::DeepBlue,
                                  TkelUIStyle::Protein, TkelUIStyle::BlueGlass};
    const int framedHeights[] = {20, 26, 29, 20, 30}, plainHeights[] = {23, 29, 32, 23, 33};
    const char* names[] = {"MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
    const char* shots = std::getenv("KEL_SCREENSHOT_DIR");
    std::vector<std::vector<uint32_t>> looks;
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(names[i]);
        framed->SetUIStyle(styles[i]);
        bar->SetUIStyle(styles[i]);
        EXPECT_EQ(framed->Height(), framedHeights[i]);
        EXPECT_EQ(bar->Height(), plainHeights[i]);
        EXPECT_EQ(bar->Font().Color(), styles[i] == TkelUIStyle::MacOS ? clBlack : clWhite);
        bar->SetCaption(std::string("Skin Gallery - ") + names[i]);
        const auto look = Render(*bar);
        looks.push_back(filetheme_test::PixelsOf(*look));
        if (shots) { // for the gallery: the form with its bar alone
            panel->Hide();
            SaveScreenshot(*form, std::string(shots) + "\\titlebar-" + names[i] + ".bmp");
            panel->Show();
        }
    }
    for (size_t a = 0; a < looks.size(); ++a)
        for (size_t b = a + 1; b < looks.size(); ++b)
            EXPECT_NE(looks[a], looks[b]) << names[a] << " looks like " << names[b];
    EXPECT_EQ(bar->RoundCorner(), 11) << "BlueGlass rounds its corners";
}

TEST_F(TitleBarTest, ButtonsStandFromTheRightEdgeInCollectionOrder) {
    ShowForm();
    form->frameWidth = 4;
    bar->SetButtonInterval(3);
    bar->SetRightBtnXOffset(6);
    const auto look = Render(*bar);
    const int t = 4, w = 19, top = bar->ButtonTop();
    // kelClose first: its right edge at W - RightBtnXOffset + t - 1.
    int left = bar->Width() - bar->RightBtnXOffset() + t - 1 - w;
    EXPECT_TRUE(ShowsAt(*look, left, top, *StripFrame(TkelUIStyle::DeepBlue, 16)));
    // Maximise, then minimise, each ButtonInterval + 1 further left.
    for (int frame : {7, 13}) {
        left -= w + bar->ButtonInterval() + 1;
        EXPECT_TRUE(ShowsAt(*look, left, top, *StripFrame(TkelUIStyle::DeepBlue, frame)))
            << "frame " << frame << " at " << left;
    }
    // The hot button follows the cursor over the drawn pictures.
    const POINT overMin = bar->ClientToScreen({left + 2, top + 2});
    SetCursorPos(overMin.x, overMin.y);
    const auto hot = Render(*bar);
    EXPECT_EQ(bar->HotButton(), 3);
    EXPECT_TRUE(ShowsAt(*hot, left, top, *StripFrame(TkelUIStyle::DeepBlue, 14)));
    // A hidden button leaves its place to the next one.
    bar->Buttons()->Items(2).SetVisible(false);
    const auto without = Render(*bar);
    EXPECT_EQ(bar->HotButton(), -1);
    EXPECT_TRUE(ShowsAt(*without, left + w + bar->ButtonInterval() + 1, top,
                        *StripFrame(TkelUIStyle::DeepBlue, 13)));
}

TEST_F(TitleBarTest, CaptionIsCutWithAnEllipsisBeforeTheButtons) {
    ShowForm();
    const auto empty = Render(*bar);
    EXPECT_EQ(bar->DrawnCaption(), "");
    bar->SetCaption("Short");
    EXPECT_EQ(Render(*bar)->Width(), bar->Width());
    EXPECT_EQ(bar->DrawnCaption(), "Short");

    const int leftmostButton = bar->Width() - 1 - 3 * 19 - 2;
    for (size_t length : {200u, 10000u}) {
        std::string caption;
        for (size_t i = 0; caption.size() < length; ++i) caption += "Word" + std::to_string(i);
        bar->SetCaption(caption);
        const auto look = Render(*bar);
        const std::string drawn = bar->DrawnCaption();
        ASSERT_GE(drawn.size(), 3u);
        EXPECT_EQ(drawn.substr(drawn.size() - 3), "...");
        EXPECT_EQ(caption.compare(0, drawn.size() - 3, drawn, 0, drawn.size() - 3), 0);
        const std::vector<int> changed = ChangedColumns(*empty, *look);
        ASSERT_FALSE(changed.empty());
        EXPECT_LT(changed.back(), leftmostButton) << "the caption overlaps the buttons";
    }
}

TEST_F(TitleBarTest, RightToLeftCaptionEndsTenPixelsBeforeTheButtons) {
    ShowForm();
    SysLocale.MiddleEast = true;
    bar->SetBiDiMode(TBiDiMode::bdRightToLeft);
    const auto empty = Render(*bar);
    bar->SetCaption("Caption");
    const auto look = Render(*bar);
    SysLocale.MiddleEast = false;
    const std::vector<int> changed = ChangedColumns(*empty, *look);
    ASSERT_FALSE(changed.empty());
    const int leftmostButton = bar->Width() - 1 - 3 * 19 - 2;
    EXPECT_LE(changed.back(), leftmostButton - 10);
    EXPECT_GT(changed.back(), leftmostButton - 14);
}

TEST_F(TitleBarTest, MaximiseRestoreAndMinimiseWithTheirVetoEvents) {
    ShowForm();
    TkelTitleBarButton& max = bar->Buttons()->Items(2);
    bool allowMax = false, allowMin = false;
    int asked = 0;
    bar->OnMaxClick = [&](TObject* sender, bool& allow) {
        EXPECT_EQ(sender, bar);
        ++asked;
        allow = allowMax;
    };
    bar->OnMinClick = [&](TObject*, bool& allow) {
        ++asked;
        allow = allowMin;
    };
    max.Click();
    bar->Buttons()->Items(3).Click();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);

    allowMax = true;
    max.Click();
    Application->ProcessMessages();
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    const RECT work = GetWorkArea();
    RECT window;
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.left, work.left - 2);
    EXPECT_EQ(window.top, work.top - 2);
    EXPECT_EQ(window.right, work.right + 2);
    EXPECT_EQ(window.bottom, work.bottom - 1);
    const auto* shown = dynamic_cast<const TBitmap*>(max.PicNormal().Graphic());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(filetheme_test::PixelsOf(*shown),
              filetheme_test::PixelsOf(*StripFrame(TkelUIStyle::DeepBlue, 10)))
        << "the restore pictures";

    // A press on empty bar space of a maximised form does not move it; a double click restores.
    const POINT empty = bar->ClientToScreen({150, 10});
    SetCursorPos(empty.x, empty.y);
    SendMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
    SendMessageA(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 10));
    RECT after;
    GetWindowRect(form->Handle(), &after);
    EXPECT_TRUE(EqualRect(&after, &window));
    // The double click with real input: after restoring, its second press starts a move of the
    // form that ends with the release.
    for (int click = 0; click < 2; ++click) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, empty);
        SendMouse(MOUSEEVENTF_LEFTUP, empty);
    }
    EXPECT_TRUE(PumpUntil([&] { return form->WindowState() == TWindowState::wsNormal; }));

    allowMin = true;
    bar->Buttons()->Items(3).Click();
    Application->ProcessMessages();
    EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
    form->SetWindowState(TWindowState::wsNormal);
}

TEST_F(TitleBarTest, CloseButtonAndControlBoxDoubleClickCloseTheForm) {
    ShowForm();
    int closes = 0;
    bool canClose = false;
    form->OnCloseQuery = [&](TObject*, bool& can) { can = canClose; };
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    bar->Buttons()->Items(1).Click();
    EXPECT_EQ(closes, 0) << "the close query said no";
    canClose = true;
    bar->Buttons()->Items(1).Click();
    EXPECT_EQ(closes, 1);
    form->Show();
    Application->ProcessMessages();
    // Double click on the control box (the application icon at the left).
    const POINT icon = bar->ClientToScreen({4, bar->ButtonTop() + 4});
    SetCursorPos(icon.x, icon.y);
    Render(*bar);
    ASSERT_EQ(bar->HotButton(), 0);
    bar->DblClick();
    EXPECT_EQ(closes, 2);
}

TEST_F(TitleBarTest, SystemMenuFollowsTheVisibleButtons) {
    TkelTitleBarPopupMenu& menu = bar->SystemMenu();
    ASSERT_EQ(menu.Items().Count(), 4);
    EXPECT_EQ(menu.Items().Items(0)->DisplayCaption(), L"\x6700\x5C0F\x5316(&N)");
    EXPECT_EQ(menu.Items().Items(1)->DisplayCaption(), L"\x6700\x5927\x5316/\x8FD8\x539F(&X)");
    EXPECT_TRUE(menu.Items().Items(2)->IsLine());
    EXPECT_EQ(menu.Items().Items(3)->DisplayCaption(), L"\x5173\x95ED(&C)");
    EXPECT_EQ(menu.UIStyle(), TkelUIStyle::DeepBlue);

    bar->Buttons()->Items(3).SetVisible(false); // minimise
    menu.UpdateItemStates();
    EXPECT_FALSE(menu.Items().Items(0)->Enabled());
    EXPECT_TRUE(menu.Items().Items(1)->Enabled());
    EXPECT_TRUE(menu.Items().Items(3)->Enabled());
    bar->Buttons()->Items(1).SetVisible(false); // close
    bar->Buttons()->Items(3).SetVisible(true);
    menu.UpdateItemStates();
    EXPECT_TRUE(menu.Items().Items(0)->Enabled());
    EXPECT_FALSE(menu.Items().Items(3)->Enabled());

    // The items run the bar's actions.
    ShowForm();
    int closes = 0, maxAsked = 0;
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    bar->OnMaxClick = [&](TObject*, bool& allow) {
        ++maxAsked;
        allow = false;
    };
    menu.Items().Items(1)->Click();
    menu.Items().Items(3)->Click();
    EXPECT_EQ(maxAsked, 1);
    EXPECT_EQ(closes, 1);
}

TEST_F(TitleBarTest, CustomKeepsTheUsersSectionsAndPictures) {
    TPicture own;
    own.Bitmap().SetSize(40, 25);
    bar->SetCustom(true);
    bar->Sections()->Clear();
    TkelTitleBarSection& section = bar->Sections()->Add();
    section.SetAutoSize(true);
    section.SetPicture(own);
    EXPECT_EQ(section.Width(), 40);
    TkelTitleBarButton& custom = bar->Buttons()->Add();
    custom.SetPicNormal(own);
    bar->Font().SetColor(0x123456);
    bar->SetUIStyle(TkelUIStyle::MacOS);
    EXPECT_EQ(bar->UIStyle(), TkelUIStyle::MacOS);
    ASSERT_EQ(bar->Sections()->Count(), 1);
    EXPECT_EQ(bar->Sections()->Items(0).Picture().Width(), 40);
    EXPECT_EQ(bar->Font().Color(), 0x123456u);
    EXPECT_EQ(bar->Buttons()->Items(1).PicNormal().Width(), 19) << "DeepBlue pictures kept";
    EXPECT_EQ(custom.PicNormal().Width(), 40);
}

TEST_F(TitleBarTest, SecondClientSectionAndSecondControlBoxAreRefused) {
    TkelTitleBarSection& left = bar->Sections()->Items(0);
    left.SetAlign(A::kelClient);
    EXPECT_EQ(left.Align(), A::kelLeft);
    TkelTitleBarButton& close = bar->Buttons()->Items(1);
    close.SetButtonType(B::kelControlBox);
    EXPECT_EQ(close.ButtonType(), B::kelClose);
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  "Sorry, only one section's Align property can be \"kelClient\"",
                  "Sorry, only one button's ButtonType property can be \"kelControlBox\""}));
    // A client section is always stretched; copying a whole collection is no second one.
    bar->Sections()->Items(2).SetStretch(false);
    EXPECT_TRUE(bar->Sections()->Items(2).Stretch());
    TkelTitleBarButtons copy(nullptr);
    copy.Assign(*bar->Buttons());
    bar->SetButtons(&copy);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(bar->Buttons()->Items(0).ButtonType(), B::kelControlBox);
}

TEST_F(TitleBarTest, BrokenPicturesAndAMissingFormAreDrawnOrSkipped) {
    ShowForm();
    bar->SetCaption("Broken");
    // Sections without pictures, a button with only some pictures.
    TPicture none;
    for (int i = 0; i < bar->Sections()->Count(); ++i) bar->Sections()->Items(i).SetPicture(none);
    bar->Buttons()->Items(1).SetPicMouseOn(none);
    const POINT overClose = bar->ClientToScreen({CloseButtonRight() - 5, bar->ButtonTop() + 3});
    SetCursorPos(overClose.x, overClose.y);
    Render(*bar);
    EXPECT_EQ(bar->HotButton(), 2) << "the close button is skipped: maximise takes its place";
    bar->Repaint();

    // A bar with no form around it draws nothing and its buttons do nothing.
    TkelTitleBar loose(nullptr);
    loose.SetBounds(0, 0, 300, 30);
    const auto look = Render(loose);
    EXPECT_EQ(look->ScanLine(5)[5], 0xFFFFFFu) << "left as the bitmap was";
    loose.Buttons()->Items(1).Click();
    EXPECT_EQ(loose.ParentForm(), nullptr);
}

TEST_F(TitleBarTest, RealPressAndMoveOnTheBarDragTheForm) {
    ShowForm();
    RECT before;
    GetWindowRect(form->Handle(), &before);
    const POINT start = bar->ClientToScreen({150, 12});
    SendMouse(0, start);
    SendMouse(MOUSEEVENTF_LEFTDOWN, start);
    SendMouse(0, {start.x + 20, start.y + 15});
    SendMouse(0, {start.x + 40, start.y + 30});
    SendMouse(MOUSEEVENTF_LEFTUP, {start.x + 40, start.y + 30});
    RECT after = before;
    PumpUntil([&] {
        GetWindowRect(form->Handle(), &after);
        return after.left - before.left == 40 && after.top - before.top == 30;
    });
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_FALSE(bar->Pressed());
    EXPECT_EQ(GetCapture(), nullptr);
}

// ---- From a skin file ----------------------------------------------------------------------

class TitleBarFromSkinFile : public filetheme_test::FileThemeFixture {
protected:
    // A title bar on the form in the look of the skin file; nullptr when the file did not load.
    static TkelTitleBar* BarFromSkin(TForm& form, const std::string& path) {
        auto* theme = new TkelFileTheme(&form);
        theme->SetThemeFile(path);
        if (!theme->Ready()) return nullptr;
        auto* bar = new TkelTitleBar(&form);
        bar->SetParent(&form);
        bar->SetFileTheme(theme);
        bar->SetUIStyle(TkelUIStyle::FromThemeFile);
        return bar;
    }
};

TEST_F(TitleBarFromSkinFile, FivePartLayoutWithACaptionSection) {
    using namespace skintool;
    const std::string path = Write(
        "five.skn",
        BuildSkinArchive(BuildSkinData({
                             BitmapEntry("SKIN2_TITLEBAR1", SolidBmp(20, 30, 0x110000)),
                             BitmapEntry("SKIN2_TITLEBAR2", SolidBmp(8, 30, 0x220000)),
                             BitmapEntry("SKIN2_TITLEBAR3", SolidBmp(12, 30, 0x330000)),
                             BitmapEntry("SKIN2_TITLEBAR4", SolidBmp(6, 30, 0x440000)),
                             BitmapEntry("SKIN2_TITLEBAR5", SolidBmp(50, 30, 0x550000)),
                             BitmapEntry("SKIN2_TITLEBUTTONS", SolidBmp(18 * 16, 16, 0x00AA00)),
                             BooleanEntry("SKIN2_TITLEFIVESECT", 1),
                             IntegerEntry("SKIN2_TRANSCOLOR", 0xFF00FF),
                             IntegerEntry("SKIN2_TITLEFONTCOLOR", 0x00FFFF),
                             IntegerEntry("SKIN2_FORMCOLOR", 0x777777),
                             IntegerEntry("SKIN2_TITLEBARICONPOSX", 6),
                             IntegerEntry("SKIN2_TITLEBARICONPOSY", 7),
                             IntegerEntry("SKIN2_TITLEBARCAPTIONTOP", 9),
                             IntegerEntry("SKIN2_TITLEBARBUTTONPOSX", 5),
                             IntegerEntry("SKIN2_TITLEBARBUTTONPOSY", 4),
                         }),
                         ""));
    TForm form(nullptr);
    form.SetBounds(100, 100, 400, 150);
    TkelTitleBar* bar = BarFromSkin(form, path);
    ASSERT_NE(bar, nullptr);
    form.Show();
    Application->ProcessMessages();

    ASSERT_EQ(bar->Sections()->Count(), 5);
    EXPECT_TRUE(bar->Sections()->Items(1).CapSec());
    EXPECT_EQ(bar->Sections()->Items(3).Align(), A::kelClient);
    EXPECT_EQ(bar->Sections()->Items(4).Align(), A::kelRight);
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_EQ(bar->Font().Color(), 0x00FFFFu);
    EXPECT_EQ(bar->Buttons()->Items(1).Top(), 4);
    EXPECT_EQ(bar->Buttons()->Items(1).PicNormal().Width(), 16);
    // Smallest form: 20 + 12 + max(50, 16 * 4 + 5) + 16.
    EXPECT_EQ(form.Constraints().MinWidth, 20 + 12 + 69 + 16);

    SetCursorPos(0, 0);
    bar->SetCaption("Title");
    const auto look = Render(*bar);
    EXPECT_EQ(bar->FittedCaption(), "Title");
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(bar->Font());
    const int capWidth = probe.Canvas().TextWidth("Title") + 6 + 17 - 20;
    const int w = bar->Width();
    EXPECT_EQ(look->ScanLine(25)[0], 0x110000u);
    EXPECT_EQ(look->ScanLine(25)[20], 0x220000u) << "the caption section, stretched";
    EXPECT_EQ(look->ScanLine(25)[20 + capWidth - 1], 0x220000u);
    EXPECT_EQ(look->ScanLine(25)[20 + capWidth], 0x330000u);
    EXPECT_EQ(look->ScanLine(25)[20 + capWidth + 12], 0x440000u) << "the client section";
    EXPECT_EQ(look->ScanLine(25)[w - 51], 0x440000u);
    EXPECT_EQ(look->ScanLine(25)[w - 50], 0x550000u) << "the right section at the right edge";

    // The caption, empty again, leaves the caption section at its fixed part.
    bar->SetCaption("");
    Render(*bar);
    EXPECT_EQ(bar->FittedCaption(), "");
}

TEST_F(TitleBarFromSkinFile, MissingOrTinyTitlePicturesAreSkipped) {
    using namespace skintool;
    const std::string path =
        Write("tiny.skn",
              BuildSkinArchive(BuildSkinData({
                                   BitmapEntry("SKIN2_TITLEBAR2", SolidBmp(1, 1, 0x220000)),
                                   BitmapEntry("SKIN2_TITLEBUTTONS", SolidBmp(10, 16, 0x00AA00)),
                                   IntegerEntry("SKIN2_FORMCOLOR", 0x777777),
                               }),
                               ""));
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 120);
    TkelTitleBar* bar = BarFromSkin(form, path);
    ASSERT_NE(bar, nullptr);
    bar->SetCaption(std::string(10000, 'x'));
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(bar->Sections()->Count(), 3);
    EXPECT_EQ(bar->Height(), 0) << "the first section has no picture";
    bar->SetHeight(20);
    EXPECT_FALSE(bar->Buttons()->Items(1).HasPictures()) << "a strip narrower than 18 frames";
    bar->Repaint();
    EXPECT_FALSE(Render(*bar)->Empty());
    bar->SetCaption("");
    EXPECT_EQ(Render(*bar)->ScanLine(0)[150], 0x220000u) << "the 1-pixel client picture";

    // The theme goes away: the bar falls back to DeepBlue.
    delete bar->FileTheme();
    EXPECT_EQ(bar->FileTheme(), nullptr);
    EXPECT_EQ(bar->UIStyle(), TkelUIStyle::DeepBlue);
    EXPECT_EQ(bar->Sections()->Count(), 3);
    EXPECT_EQ(bar->Height(), 32);
}

} // namespace
} // namespace kel
