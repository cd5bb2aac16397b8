// The skinned form on real host forms under Wine: attaching and giving the frame back, the frame's
// pixels and the window's region in the built-in styles and from skin files, maximising, the
// menu bar with its painters, keys and shortcuts, MDI children, and real mouse and key input.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "skin/controls/KELPublic.h"
#include "skin/frame/KELForm.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/frame/KELMenuBar.h"
#include "tests/skin/themes/FileThemeTestSupport.h"
#include "tests/skin/frame/FrameTestSupport.h"
#include "tools/skintool/SkinPacker.h"

namespace kel {
namespace {

using namespace frame_test;

uint32_t Pixel(const TBitmap& bitmap, int x, int y) {
    return bitmap.ScanLine(y)[x];
}

bool InRegion(HWND window, int x, int y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(window, region);
    const bool inside = kind == ERROR || kind == NULLREGION ? true : PtInRegion(region, x, y) != 0;
    DeleteObject(region);
    return inside;
}

bool HasRegion(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(window, region);
    DeleteObject(region);
    return kind != ERROR;
}

// Closes whatever menu opens within the time, and tells whether one did.
class TMenuWatch {
public:
    TMenuWatch() {
        timer_ = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            if (HWND menu = OwnMenuWindow()) {
                seen_ = true;
                PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            }
        });
        seen_ = false;
    }
    ~TMenuWatch() { KillTimer(nullptr, timer_); }
    static bool Seen() { return seen_; }

private:
    UINT_PTR timer_;
    static inline bool seen_ = false;
};

class SkinnedFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(150, 120, 400, 260);
        host->SetCaption("Host");
        Application->MessageBoxHook = [this](const std::string& text, const std::string&, UINT) {
            messages.push_back(text);
            return IDOK;
        };
    }
    void TearDown() override {
        Application->MessageBoxHook = nullptr;
        host.reset();
    }
    TkelForm* Skin(TkelUIStyle style = TkelUIStyle::DeepBlue) {
        auto* skin = new TkelForm(host.get());
        skin->SetUIStyle(style);
        return skin;
    }
    void Show() {
        host->Show();
        Pump();
    }
    TkelMainMenu* AddMenu(TkelForm& skin) {
        auto* menu = new TkelMainMenu(host.get());
        for (const char* caption : {"&File", "&Edit"}) {
            auto* item = new TMenuItem(host.get());
            item->SetCaption(caption);
            auto* sub = new TMenuItem(host.get());
            sub->SetCaption("&Open");
            sub->SetShortCut(ShortCut('O', ssCtrl));
            sub->OnClick = [this](TObject*) { ++commands; };
            item->Add(sub);
            menu->Items().Add(item);
        }
        skin.SetMenu(menu);
        return menu;
    }
    HWND Window() { return host->Handle(); }

    std::unique_ptr<TForm> host;
    std::vector<std::string> messages;
    int commands = 0;
};

TEST_F(SkinnedFormTest, AttachingReframesTheHostAndASecondOneStaysAPanel) {
    host->SetBorderStyle(TFormBorderStyle::bsSingle);
    TkelForm* skin = Skin();
    EXPECT_TRUE(skin->Attached());
    EXPECT_EQ(host->BorderStyle(), TFormBorderStyle::bsDialog) << "single becomes dialog";
    EXPECT_FALSE(GetWindowLongA(Window(), GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(skin->Caption(), "Host");
    EXPECT_EQ(skin->Align(), TAlign::alClient);
    EXPECT_FALSE(host->Scaled());
    EXPECT_EQ(skin->Version(), "6.5");
    skin->SetCaption("Renamed");
    EXPECT_EQ(host->Caption(), "Renamed");
    auto* second = new TkelForm(host.get());
    EXPECT_FALSE(second->Attached());
    TComponent notAForm(nullptr);
    TkelForm loose(&notAForm);
    EXPECT_FALSE(loose.Attached());
    EXPECT_EQ(loose.Host(), nullptr);
    skin->SetFormPanel(skin);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Sorry, you can't select the Form assign to FormPanel property"}));
    EXPECT_EQ(skin->FormPanel(), nullptr);
}

TEST_F(SkinnedFormTest, SizeableHostKeepsItsSizingBorders) {
    Skin();
    Show();
    EXPECT_EQ(host->BorderStyle(), TFormBorderStyle::bsSizeable);
    EXPECT_TRUE(GetWindowLongA(Window(), GWL_STYLE) & WS_THICKFRAME);
    RECT r;
    GetWindowRect(Window(), &r);
    const LRESULT hit =
        SendMessageA(Window(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2));
    EXPECT_EQ(hit, HTRIGHT);
}

TEST_F(SkinnedFormTest, MaximisingCoversTheWorkAreaWithTheOverhang) {
    TkelForm* skin = Skin();
    Show();
    skin->TitleBar().Buttons()->Items(2).Click(); // maximise
    Pump();
    const RECT work = GetWorkArea();
    RECT r;
    GetWindowRect(Window(), &r);
    EXPECT_EQ(r.left, work.left - 2);
    EXPECT_EQ(r.top, work.top - 2);
    EXPECT_EQ(r.right, work.right + 2);
    EXPECT_EQ(r.bottom, work.bottom - 1);
    skin->TitleBar().Buttons()->Items(2).Click(); // restore
    Pump();
    EXPECT_EQ(host->WindowState(), TWindowState::wsNormal);
    GetWindowRect(Window(), &r);
    EXPECT_EQ(r.right - r.left, 400);
}

TEST_F(SkinnedFormTest, HiddenTitleBarGivesALineTwoRowsOfColourAndSquareCorners) {
    TkelForm* skin = Skin(TkelUIStyle::WinXP);
    Show();
    EXPECT_EQ(skin->RoundCorner(), 13);
    EXPECT_FALSE(InRegion(Window(), 1, 1)) << "WinXP cuts its top corners";
    EXPECT_TRUE(InRegion(Window(), 13, 0));
    skin->SetBorderWidth(1);
    skin->SetTitleBarVisible(false);
    Pump();
    EXPECT_EQ(skin->RoundCorner(), 0);
    EXPECT_TRUE(InRegion(Window(), 0, 0)) << "square corners";
    const auto pixels = WindowPixels(Window());
    const int mid = pixels->Width() / 2;
    EXPECT_EQ(Pixel(*pixels, mid, 0), ColorToPixel(skin->BorderColor()));
    EXPECT_EQ(Pixel(*pixels, mid, 1), ColorToPixel(skin->Color()));
    EXPECT_EQ(Pixel(*pixels, mid, 2), ColorToPixel(skin->Color()));
}

TEST_F(SkinnedFormTest, BuiltInCornersAndFrameWidthAnswer) {
    TkelForm* skin = Skin(TkelUIStyle::BlueGlass);
    Show();
    RECT r;
    GetWindowRect(Window(), &r);
    const int w = r.right - r.left;
    EXPECT_FALSE(InRegion(Window(), 0, 0));
    EXPECT_FALSE(InRegion(Window(), w - 1, 0));
    EXPECT_TRUE(InRegion(Window(), 11, 0));
    EXPECT_TRUE(InRegion(Window(), 0, (r.bottom - r.top) - 1)) << "square bottom corners";
    skin->SetUIStyle(TkelUIStyle::DeepBlue);
    EXPECT_TRUE(InRegion(Window(), 0, 0));
    const LRESULT answer = SendMessageA(Window(), WM_KEL_FRAMEWIDTH, 0, 0);
    EXPECT_EQ(answer, skin->FrameWidthAnswer());
    EXPECT_GE(answer, 3);
}

TEST_F(SkinnedFormTest, RemovingTheComponentGivesTheHostItsOwnFrameBack) {
    TkelForm* skin = Skin(TkelUIStyle::WinXP);
    Show();
    ASSERT_TRUE(HasRegion(Window()));
    delete skin;
    Pump();
    EXPECT_TRUE(GetWindowLongA(Window(), GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(HasRegion(Window()));
    EXPECT_EQ(SendMessageA(Window(), WM_KEL_FRAMEWIDTH, 0, 0), 0) << "no hook any more";
    host->SetBounds(150, 120, 300, 200); // the host keeps working
    Pump();
}

TEST_F(SkinnedFormTest, MacOSAndProteinPanelsRepeatTheirBackgroundPattern) {
    for (TkelUIStyle style : {TkelUIStyle::MacOS, TkelUIStyle::Protein, TkelUIStyle::DeepBlue}) {
        TkelForm* skin = Skin(style);
        Show();
        skin->Repaint();
        const auto pixels = WindowPixels(skin->Handle());
        const char* name = style == TkelUIStyle::MacOS     ? "MACOS_FORM_BACKGROUND"
                           : style == TkelUIStyle::Protein ? "PROTEIN_FORM_BACKGROUND"
                                                           : nullptr;
        TBitmap tile;
        if (name) tile.LoadFromResourceName(GetModuleHandleA(nullptr), name);
        for (int y = 100; y < 116; ++y)
            for (int x = 40; x < 56; ++x) {
                const uint32_t expected =
                    name ? tile.ScanLine(y % 8)[x % 8] : ColorToPixel(skin->Color());
                ASSERT_EQ(Pixel(*pixels, x, y), expected) << "at " << x << ", " << y;
            }
        delete skin;
    }
}

// ---- The menu bar ------------------------------------------------------------------------------

TEST_F(SkinnedFormTest, MenuBarHeightFlatAndGradientBarAndGreyDisabledItem) {
    TkelForm* skin = Skin();
    EXPECT_EQ(skin->MenuBarHeight(), 0);
    TkelMainMenu* menu = AddMenu(*skin);
    Show();
    ASSERT_NE(skin->MenuBar(), nullptr);
    EXPECT_EQ(skin->MenuBarHeight(), skin->MenuBar()->Height());
    EXPECT_GT(skin->MenuBarHeight(), 0);
    EXPECT_EQ(skin->MenuBar()->ButtonCount(), 2);
    EXPECT_EQ(skin->MenuBar()->Buttons(0)->Caption(), "&File");

    auto barPixels = [&] {
        skin->MenuBar()->Repaint();
        return WindowPixels(skin->MenuBar()->Handle());
    };
    skin->SetMenuBarColor(0x00C000);
    skin->SetMenuBarToColor(0x00C000);
    auto flat = barPixels();
    const int x = flat->Width() - 5;
    EXPECT_EQ(Pixel(*flat, x, 1), 0x00C000u);
    EXPECT_EQ(Pixel(*flat, x, flat->Height() - 2), 0x00C000u);
    skin->SetMenuBarToColor(0x0000C0);
    auto gradient = barPixels();
    EXPECT_NE(Pixel(*gradient, x, 1), Pixel(*gradient, x, gradient->Height() - 2));

    // A disabled top-level item: its caption in grey; a caption changed at run time follows.
    menu->Items().Items(1)->SetEnabled(false);
    menu->Items().Items(0)->SetCaption("&Datei");
    EXPECT_EQ(skin->MenuBar()->Buttons(0)->Caption(), "&Datei");
    EXPECT_FALSE(skin->MenuBar()->Buttons(1)->Enabled());
    const auto grey = barPixels();
    const RECT edit = skin->MenuBar()->Buttons(1)->BoundsRect();
    bool greyText = false;
    for (int y = edit.top; y < edit.bottom; ++y)
        for (int bx = edit.left; bx < edit.right; ++bx)
            greyText = greyText || Pixel(*grey, bx, y) == 0x808080u;
    EXPECT_TRUE(greyText);
    skin->SetMenu(nullptr);
    EXPECT_EQ(skin->MenuBar(), nullptr);
    EXPECT_EQ(skin->MenuBarHeight(), 0);
}

TEST_F(SkinnedFormTest, LettersOpenMenusOnlyWithAltAndShortcutsRunOnce) {
    TkelForm* skin = Skin();
    AddMenu(*skin);
    Show();
    EXPECT_FALSE(skin->MenuBar()->DialogChar('f', 0)) << "no Alt and no hot button";
    {
        TMenuWatch watch;
        EXPECT_TRUE(skin->MenuBar()->DialogChar('f', ssAlt));
        EXPECT_TRUE(TMenuWatch::Seen());
    }
    // Ctrl+O with real keys: the item runs once, not once per hook.
    SetForegroundWindow(Window());
    Pump();
    SendKey(VK_CONTROL, false);
    SendKey('O', false);
    SendKey('O', true);
    SendKey(VK_CONTROL, true);
    PumpUntil([&] { return commands > 0; });
    Pump(200);
    EXPECT_EQ(commands, 1);
}

TEST_F(SkinnedFormTest, RealInputDragsMaximisesCommandsAndOpensMenus) {
    TkelForm* skin = Skin();
    AddMenu(*skin);
    Show();
    SetForegroundWindow(Window());
    Pump();
    TkelTitleBar& bar = skin->TitleBar();
    // Drag the title bar.
    RECT before, after;
    GetWindowRect(Window(), &before);
    const POINT grip = bar.ClientToScreen({120, 12});
    SendMouse(0, grip);
    SendMouse(MOUSEEVENTF_LEFTDOWN, grip);
    SendMouse(0, {grip.x + 15, grip.y + 10});
    SendMouse(0, {grip.x + 30, grip.y + 20});
    SendMouse(MOUSEEVENTF_LEFTUP, {grip.x + 30, grip.y + 20});
    EXPECT_TRUE(PumpUntil([&] {
        GetWindowRect(Window(), &after);
        return after.left - before.left == 30 && after.top - before.top == 20;
    }));
    // Double click: maximised, double click again: restored.
    for (TWindowState state : {TWindowState::wsMaximized, TWindowState::wsNormal}) {
        const POINT at = bar.ClientToScreen({120, 12});
        for (int click = 0; click < 2; ++click) {
            SendMouse(MOUSEEVENTF_LEFTDOWN, at);
            SendMouse(MOUSEEVENTF_LEFTUP, at);
        }
        EXPECT_TRUE(PumpUntil([&] { return host->WindowState() == state; }))
            << "double click to " << static_cast<int>(state);
        Pump(300); // past the double-click time
    }
    // A click on the first menu bar button opens its skinned sub-menu.
    {
        TMenuWatch watch;
        const RECT file = skin->MenuBar()->Buttons(0)->BoundsRect();
        const POINT at = skin->MenuBar()->ClientToScreen(
            {(file.left + file.right) / 2, (file.top + file.bottom) / 2});
        SendMouse(0, at);
        SendMouse(MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_LEFTUP, at);
        EXPECT_TRUE(PumpUntil([] { return TMenuWatch::Seen(); }));
    }
    Pump(200);
    // Alt+Space opens the system menu.
    {
        SetForegroundWindow(Window());
        Pump();
        TMenuWatch watch;
        SendKey(VK_MENU, false);
        SendKey(VK_SPACE, false);
        SendKey(VK_SPACE, true);
        SendKey(VK_MENU, true);
        EXPECT_TRUE(PumpUntil([] { return TMenuWatch::Seen(); }));
    }
    Pump(200);
    // The title buttons: minimise, then close.
    auto clickButton = [&](int index) {
        const int w = bar.Width();
        // The buttons from the right: close, maximise, minimise; each 19 wide with 1 between;
        // the middle of the index-th.
        const int right = w - bar.RightBtnXOffset() + skin->FrameWidthAnswer() - 1;
        const int x = right - 20 * index - 19 + 9;
        const POINT at = bar.ClientToScreen({x, bar.ButtonTop() + 8});
        SendMouse(0, at);
        Pump(50);
        SendMouse(MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_LEFTUP, at);
    };
    clickButton(1);
    EXPECT_TRUE(PumpUntil([&] { return host->WindowState() == TWindowState::wsMaximized; }));
    Pump(300);
    clickButton(1);
    EXPECT_TRUE(PumpUntil([&] { return host->WindowState() == TWindowState::wsNormal; }));
    Pump(300);
    clickButton(2);
    EXPECT_TRUE(PumpUntil([&] { return host->WindowState() == TWindowState::wsMinimized; }));
    host->SetWindowState(TWindowState::wsNormal);
    Pump(200);
    SetForegroundWindow(Window());
    int closes = 0;
    host->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    clickButton(0);
    EXPECT_TRUE(PumpUntil([&] { return closes == 1; }));
}

// Chooses the first entry of whatever menu opens, once.
class TMenuChooser {
public:
    TMenuChooser() {
        done_ = false;
        timer_ = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            if (done_) return;
            if (HWND menu = OwnMenuWindow()) {
                done_ = true;
                PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            }
        });
    }
    ~TMenuChooser() { KillTimer(nullptr, timer_); }

private:
    UINT_PTR timer_;
    static inline bool done_ = false;
};

TEST(SkinnedFormMenus, ACommandThatFreesItsFormAndAMenuFreedWhileOpenAreSurvived) {
    auto* host = new TForm(nullptr);
    host->SetBounds(150, 120, 400, 260);
    auto* skin = new TkelForm(host);
    auto* menu = new TkelMainMenu(host);
    auto* file = new TMenuItem(host);
    file->SetCaption("&File");
    auto* quit = new TMenuItem(host);
    quit->SetCaption("&Quit");
    bool ran = false;
    quit->OnClick = [&](TObject*) {
        ran = true;
        delete host; // the form, its skin, menu bar and menu go from inside the command
    };
    file->Add(quit);
    menu->Items().Add(file);
    skin->SetMenu(menu);
    host->Show();
    Pump();
    {
        TMenuChooser chooser;
        skin->MenuBar()->TrackMenu(skin->MenuBar()->Buttons(0));
    }
    Pump();
    EXPECT_TRUE(ran);

    // The menu component freed while its sub-menu is open: the bar goes, the form stays.
    TForm other(nullptr);
    other.SetBounds(150, 120, 400, 260);
    auto* otherSkin = new TkelForm(&other);
    auto* otherMenu = new TkelMainMenu(&other);
    auto* item = new TMenuItem(&other);
    item->SetCaption("&Edit");
    auto* sub = new TMenuItem(&other);
    sub->SetCaption("&Undo");
    item->Add(sub);
    otherMenu->Items().Add(item);
    otherSkin->SetMenu(otherMenu);
    other.Show();
    Pump();
    // Should the loop outlive its menu, a late Escape ends it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (HWND open = OwnMenuWindow()) PostMessageA(open, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    bool freed = false;
    {
        // Free the menu from a timer while the bar's menu loop runs.
        static TkelMainMenu* toFree;
        static bool* flag;
        toFree = otherMenu;
        flag = &freed;
        SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            delete toFree;
            *flag = true;
        });
        otherSkin->MenuBar()->TrackMenu(otherSkin->MenuBar()->Buttons(0));
    }
    KillTimer(nullptr, timer);
    Pump(200);
    EXPECT_TRUE(freed);
    EXPECT_EQ(otherSkin->Menu(), nullptr);
    EXPECT_EQ(otherSkin->MenuBar(), nullptr);
    EXPECT_EQ(otherSkin->MenuBarHeight(), 0);
    other.SetBounds(150, 120, 420, 280); // the host keeps working
    Pump();
}

// ---- From skin files ---------------------------------------------------------------------------

class SkinnedFormFromSkinFile : public filetheme_test::FileThemeFixture {
protected:
    // The form skinned by a skin file; nullptr when the file did not load.
    static TkelForm* SkinFromFile(TForm& form, const std::string& path) {
        auto* theme = new TkelFileTheme(&form);
        theme->SetThemeFile(path);
        if (!theme->Ready()) return nullptr;
        auto* skin = new TkelForm(&form);
        skin->SetFileTheme(theme);
        skin->SetUIStyle(TkelUIStyle::FromThemeFile);
        return skin;
    }
};

// A title picture whose row 2 has only its last pixel opaque; the rest of rows 0..2 transparent.
reader_test::Bytes TitleWithOneOpaquePixel(int width, int height) {
    TPixelImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(static_cast<size_t>(width * height), 0x303030);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixels[static_cast<size_t>(y * width + x)] =
                y == 2 && x == width - 1 ? 0x303030 : 0xFF00FF;
    return EncodeBmp24(image);
}

TEST_F(SkinnedFormFromSkinFile, RegionFlagsGiveTheOutlineOrTheFullRectangle) {
    using namespace skintool;
    auto skinFile = [&](const std::string& name, int regionFlag) {
        return Write(
            name,
            BuildSkinArchive(BuildSkinData({
                                 BitmapEntry("SKIN2_TITLEBAR1", TitleWithOneOpaquePixel(40, 24)),
                                 BitmapEntry("SKIN2_TITLEBAR2", SolidBmp(10, 24, 0x303030)),
                                 BitmapEntry("SKIN2_TITLEBAR3", SolidBmp(400, 24, 0x303030)),
                                 BitmapEntry("SKIN2_FORMLEFTBORDER", SolidBmp(6, 10, 0x101010)),
                                 BitmapEntry("SKIN2_FORMRIGHTBORDER", SolidBmp(6, 10, 0x101010)),
                                 BitmapEntry("SKIN2_FORMBOTTOMBORDER1", SolidBmp(30, 5, 0x202020)),
                                 IntegerEntry("SKIN2_TRANSCOLOR", 0xFF00FF),
                                 IntegerEntry("SKIN2_FORMCOLOR", 0x505050),
                                 BooleanEntry("SKIN2_TITLEBARNEEDREGION", regionFlag),
                                 IntegerEntry("SKIN2_TITLEBARREGIONMINY", 0),
                                 IntegerEntry("SKIN2_TITLEBARREGIONMAXY", 3),
                             }),
                             ""));
    };
    TForm form(nullptr);
    form.SetBounds(150, 120, 400, 220);
    TkelForm* skin = SkinFromFile(form, skinFile("plain.skn", 0));
    ASSERT_NE(skin, nullptr);
    TkelFileTheme* theme = skin->FileTheme();
    form.Show();
    Pump();
    HWND window = form.Handle();
    EXPECT_TRUE(InRegion(window, 0, 0)) << "flags off: the full rectangle";
    EXPECT_EQ(SendMessageA(window, WM_KEL_FRAMEWIDTH, 0, 0), 6) << "the side picture's width";
    RECT r;
    GetWindowRect(window, &r);

    theme->SetThemeFile(skinFile("outline.skn", 1));
    ASSERT_TRUE(theme->Ready());
    Pump();
    // The full title image starts at the window's left edge: row 2's only opaque pixel of the
    // 40-pixel left picture is x = 39; rows 0 and 1 of that picture are cut away.
    EXPECT_FALSE(InRegion(window, 0, 0));
    EXPECT_FALSE(InRegion(window, 38, 2));
    EXPECT_TRUE(InRegion(window, 39, 2));
    EXPECT_FALSE(InRegion(window, 39, 1));
    EXPECT_TRUE(InRegion(window, 0, 4)) << "rows after the scanned ones are solid";
    EXPECT_TRUE(InRegion(window, 5, (r.bottom - r.top) / 2)) << "the middle band is solid";
}

TEST_F(SkinnedFormFromSkinFile, AResizedFormHasTheRegionAndFrameOfItsNewSize) {
    using namespace skintool;
    constexpr uint32_t kTitle = 0x203060, kSide = 0x106010, kBottom = 0x601010;
    const std::string path =
        Write("rounded.skn",
              BuildSkinArchive(
                  BuildSkinData({
                      BitmapEntry("SKIN2_TITLEBAR1", CornerCutBmp(30, 24, kTitle, true)),
                      BitmapEntry("SKIN2_TITLEBAR2", SolidBmp(10, 24, kTitle)),
                      BitmapEntry("SKIN2_TITLEBAR3", CornerCutBmp(30, 24, kTitle, true)),
                      BitmapEntry("SKIN2_FORMLEFTBORDER", SolidBmp(5, 10, kSide)),
                      BitmapEntry("SKIN2_FORMRIGHTBORDER", SolidBmp(5, 10, kSide)),
                      BitmapEntry("SKIN2_FORMBOTTOMBORDER1", CornerCutBmp(90, 6, kBottom, false)),
                      IntegerEntry("SKIN2_TRANSCOLOR", 0xFF00FF),
                      IntegerEntry("SKIN2_FORMCOLOR", 0xE0E0E0),
                      BooleanEntry("SKIN2_TITLEBARNEEDREGION", 1),
                      BooleanEntry("SKIN2_BOTTOMBORDERNEEDREGION", 1),
                      IntegerEntry("SKIN2_TITLEBARREGIONMINY", 0),
                      IntegerEntry("SKIN2_TITLEBARREGIONMAXY", 6),
                      IntegerEntry("SKIN2_BOTTOMREGIONMINY", 0),
                      IntegerEntry("SKIN2_BOTTOMREGIONMAXY", 6),
                  }),
                  ""));
    TForm form(nullptr);
    form.SetBounds(150, 120, 400, 220);
    ASSERT_NE(SkinFromFile(form, path), nullptr);
    form.Show();
    Pump();
    HWND window = form.Handle();
    ASSERT_FALSE(InRegion(window, 399, 219)) << "the bottom-right corner is cut";

    // Larger and smaller again, each time only as the window system asks for it: no repaint is
    // forced, so what shows is what the size change itself painted.
    for (const SIZE size : {SIZE{520, 300}, SIZE{330, 200}}) {
        form.SetBounds(150, 120, size.cx, size.cy);
        Pump();
        const int w = size.cx, h = size.cy;
        EXPECT_FALSE(InRegion(window, w - 1, h - 1)) << w;
        EXPECT_FALSE(InRegion(window, w - 1, 0)) << w;
        EXPECT_TRUE(InRegion(window, w - 7, h - 1)) << w;
        EXPECT_TRUE(InRegion(window, w - 7, 0)) << w;
        EXPECT_TRUE(InRegion(window, w / 2, h - 1)) << w;
        const auto pixels = WindowPixels(window);
        EXPECT_EQ(Pixel(*pixels, w - 2, 10), kTitle) << "title edge at " << w;
        EXPECT_EQ(Pixel(*pixels, w - 2, h / 2), kSide) << "side at " << w;
        EXPECT_EQ(Pixel(*pixels, w - 20, h - 2), kBottom) << "bottom at " << w;
    }

    // A frame painted over comes back with the next update: painted by the panel's paint when
    // the panel waits for one too, by the frame paint itself when only the frame does.
    for (const UINT children : {UINT{RDW_ALLCHILDREN}, UINT{RDW_NOCHILDREN}}) {
        {
            gdi::WindowDc dc(window, true);
            const RECT side{0, 30, 6, 150};
            gdi::UniqueGdi<HBRUSH> yellow(CreateSolidBrush(0x00FFFF));
            FillRect(dc.Get(), &side, yellow.get());
        }
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | children);
        Pump();
        EXPECT_EQ(Pixel(*WindowPixels(window), 1, 100), kSide)
            << (children == RDW_ALLCHILDREN ? "with the panel" : "frame alone");
    }
}

TEST_F(SkinnedFormFromSkinFile, MissingTinyAndTransparentPicturesAreSurvived) {
    using namespace skintool;
    const std::string path =
        Write("bad.skn",
              BuildSkinArchive(BuildSkinData({
                                   BitmapEntry("SKIN2_TITLEBAR1", SolidBmp(1, 1, 0xFF00FF)),
                                   BitmapEntry("SKIN2_FORMBOTTOMBORDER1", SolidBmp(1, 1, 0xFF00FF)),
                                   IntegerEntry("SKIN2_TRANSCOLOR", 0xFF00FF),
                                   BooleanEntry("SKIN2_TITLEBARNEEDREGION", 1),
                                   BooleanEntry("SKIN2_BOTTOMBORDERNEEDREGION", 1),
                                   IntegerEntry("SKIN2_TITLEBARREGIONMINY", 50),
                                   IntegerEntry("SKIN2_TITLEBARREGIONMAXY", -7),
                                   IntegerEntry("SKIN2_BOTTOMREGIONMINY", -1),
                                   IntegerEntry("SKIN2_BOTTOMREGIONMAXY", 900),
                               }),
                               ""));
    TForm form(nullptr);
    form.SetBounds(150, 120, 300, 200);
    TkelForm* skin = SkinFromFile(form, path);
    ASSERT_NE(skin, nullptr);
    TkelFileTheme* theme = skin->FileTheme();
    form.Show();
    Pump();
    form.SetBounds(150, 120, 320, 240);
    Pump();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    delete theme; // back to DeepBlue
    Pump();
    EXPECT_EQ(skin->UIStyle(), TkelUIStyle::DeepBlue);
    EXPECT_TRUE(InRegion(form.Handle(), 0, 0));
}

// ---- MDI ---------------------------------------------------------------------------------------

TEST(SkinnedMDIChild, MaximiseAndRestoreInsideTheFrame) {
    TForm frame(nullptr);
    frame.SetFormStyle(TFormStyle::fsMDIForm);
    TCustomForm* previousMain = Application->MainForm();
    Application->SetMainForm(&frame);
    frame.SetBounds(100, 100, 600, 400);
    frame.Show();
    {
        TForm child(nullptr);
        child.SetFormStyle(TFormStyle::fsMDIChild);
        child.SetBounds(10, 10, 300, 200);
        auto* skin = new TkelForm(&child);
        child.Show();
        Pump();
        EXPECT_TRUE(skin->TitleBarVisible());
        skin->TitleBar().Buttons()->Items(2).Click(); // maximise inside the frame
        Pump();
        EXPECT_TRUE(IsZoomed(child.Handle()));
        EXPECT_FALSE(skin->TitleBarVisible()) << "the frame's caption serves a maximised child";
        SendMessageA(frame.MDIClientHandle(), WM_MDIRESTORE,
                     reinterpret_cast<WPARAM>(child.Handle()), 0);
        Pump();
        EXPECT_FALSE(IsZoomed(child.Handle()));
        EXPECT_TRUE(skin->TitleBarVisible()) << "the user's wish comes back";
    }
    Application->SetMainForm(previousMain);
}

} // namespace
} // namespace kel
