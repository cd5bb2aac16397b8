// The shared drawing routines on real device contexts under Wine, pixel-exact where the numbers
// are fixed: gradients, the three-part strip, rectangles, colours, the active-form test and the
// menu drawing pieces.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win/Forms.h"
#include "skin/controls/KELMenu.h"
#include "skin/controls/KELPublic.h"

namespace kel {
namespace {

TColor At(TBitmap& bitmap, int x, int y) {
    return bitmap.Canvas().Pixel(x, y);
}

TEST(PublicRoutines, PointInRectCountsTheRightAndBottomEdges) {
    const RECT r{10, 20, 30, 40};
    EXPECT_TRUE(PointInRect({30, 40}, r));
    EXPECT_TRUE(PointInRect({10, 20}, r));
    EXPECT_FALSE(PointInRect({31, 40}, r));
    EXPECT_FALSE(PointInRect({10, 41}, r));
    EXPECT_FALSE(PointInRect({9, 25}, r));
}

TEST(PublicRoutines, ColoursByChannelResolveSystemColours) {
    EXPECT_EQ(MakeColor(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(MakeColor(0x112, -1, 0x256), 0x56FF12u); // low bytes only
    const TColorChannels c = SplitColor(0x563412);
    EXPECT_EQ(c.Red, 0x12);
    EXPECT_EQ(c.Green, 0x34);
    EXPECT_EQ(c.Blue, 0x56);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const TColorChannels system = SplitColor(clBtnFace);
    EXPECT_EQ(system.Red, GetRValue(face));
    EXPECT_EQ(system.Green, GetGValue(face));
    EXPECT_EQ(system.Blue, GetBValue(face));
}

TEST(PublicRoutines, VerticalGradientRowsFollowTheirFormula) {
    TBitmap b(6, 12);
    FillRectColor(b.Canvas(), {0, 0, 6, 12}, 0x123456);
    GradientFillVertical(b.Canvas(), {1, 1, 5, 11}, clBlack, clWhite);
    EXPECT_EQ(At(b, 1, 1), clBlack);
    EXPECT_EQ(At(b, 4, 2), clBlack);   // top + 1: factor (y - top - 1) = 0
    EXPECT_EQ(At(b, 2, 9), 0xB2B2B2u); // top + 8: trunc(255 / 10 * 7) = 178
    EXPECT_EQ(At(b, 3, 10), clWhite);
    EXPECT_EQ(At(b, 5, 5), 0x123456u); // the pen's end point is excluded
    EXPECT_EQ(At(b, 0, 5), 0x123456u);

    TBitmap two(4, 2);
    FillRectColor(two.Canvas(), {0, 0, 4, 2}, 0x123456);
    GradientFillVertical(two.Canvas(), {0, 0, 4, 2}, 0x0000FF, 0xFF0000);
    EXPECT_EQ(At(two, 2, 0), 0x0000FFu);
    EXPECT_EQ(At(two, 2, 1), 0xFF0000u);
    GradientFillVertical(two.Canvas(), {0, 1, 4, 1}, clWhite, clWhite); // empty: nothing
    EXPECT_EQ(At(two, 2, 1), 0xFF0000u);
}

TEST(PublicRoutines, HorizontalGradientColumnsUseTheirOwnFactor) {
    TBitmap b(12, 3);
    FillRectColor(b.Canvas(), {0, 0, 12, 3}, 0x123456);
    GradientFillHorizontal(b.Canvas(), {1, 0, 11, 2}, clBlack, clWhite);
    EXPECT_EQ(At(b, 1, 0), clBlack);
    EXPECT_EQ(At(b, 2, 1), 0x191919u); // x - left = 1: trunc(25.5) = 25
    EXPECT_EQ(At(b, 9, 0), 0xCCCCCCu); // x - left = 8: trunc(204) = 204
    EXPECT_EQ(At(b, 10, 1), clWhite);
    EXPECT_EQ(At(b, 5, 2), 0x123456u);
}

// A strip of three 4 x 2 frames: red cap, green middle, blue cap, the middle with a fuchsia hole.
void DrawStrip(TBitmap& strip) {
    strip.SetSize(12, 2);
    FillRectColor(strip.Canvas(), {0, 0, 4, 2}, 0x0000FF);
    FillRectColor(strip.Canvas(), {4, 0, 8, 2}, 0x00FF00);
    FillRectColor(strip.Canvas(), {8, 0, 12, 2}, 0xFF0000);
    strip.Canvas().SetPixel(5, 0, clFuchsia);
}

TEST(PublicRoutines, ThreePartStripStretchesItsMiddleBetweenTheCaps) {
    TBitmap strip;
    DrawStrip(strip);
    TBitmap b(30, 4);
    FillRectColor(b.Canvas(), {0, 0, 30, 4}, clWhite);
    DrawThreePartStrip(strip, b.Canvas(), {2, 1, 22, 3}, clFuchsia, false);
    EXPECT_EQ(At(b, 2, 1), 0x0000FFu);
    EXPECT_EQ(At(b, 5, 2), 0x0000FFu);
    EXPECT_EQ(At(b, 6, 2), 0x00FF00u);
    EXPECT_EQ(At(b, 17, 2), 0x00FF00u);
    EXPECT_EQ(At(b, 18, 1), 0xFF0000u);
    EXPECT_EQ(At(b, 21, 2), 0xFF0000u);
    EXPECT_EQ(At(b, 22, 2), clWhite);
    EXPECT_EQ(At(b, 10, 1), clFuchsia); // unmasked: the hole is drawn (stretched 3 times)

    FillRectColor(b.Canvas(), {0, 0, 30, 4}, clWhite);
    DrawThreePartStrip(strip, b.Canvas(), {0, 0, 12, 2}, clFuchsia, true);
    EXPECT_EQ(At(b, 5, 0), clWhite); // masked: the hole shows what was behind
    EXPECT_EQ(At(b, 4, 0), 0x00FF00u);
}

TEST(PublicRoutines, ThreePartStripNarrowerThanAFrameShowsOnlyTheLeftCap) {
    TBitmap strip;
    DrawStrip(strip);
    TBitmap b(10, 3);
    FillRectColor(b.Canvas(), {0, 0, 10, 3}, clWhite);
    DrawThreePartStrip(strip, b.Canvas(), {1, 0, 4, 2}, clFuchsia, true);
    EXPECT_EQ(At(b, 1, 0), 0x0000FFu);
    EXPECT_EQ(At(b, 3, 1), 0x0000FFu);
    EXPECT_EQ(At(b, 4, 1), clWhite);
    DrawThreePartStrip(strip, b.Canvas(), {5, 0, 5, 2}, clFuchsia, true); // empty: nothing
    EXPECT_EQ(At(b, 5, 0), clWhite);
    DrawThreePartStrip(strip, b.Canvas(), {6, 1, 9, 3}, clFuchsia, false); // unmasked alike
    EXPECT_EQ(At(b, 6, 1), 0x0000FFu);
    EXPECT_EQ(At(b, 8, 2), 0x0000FFu);
    EXPECT_EQ(At(b, 9, 2), clWhite);
    EXPECT_EQ(At(b, 8, 0), clWhite);
}

TEST(PublicRoutines, BoundsFromARectangleAndTheWorkArea) {
    InitFramework();
    TForm form(nullptr);
    TControl* control = new TGraphicControl(&form);
    SetBoundsFromRect(*control, {5, 6, 25, 46});
    EXPECT_EQ(control->BoundsRect().right, 25);
    EXPECT_EQ(control->Height(), 40);
    RECT system;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &system, 0);
    const RECT area = GetWorkArea();
    EXPECT_TRUE(EqualRect(&area, &system));
}

// Another process's window takes the foreground, as the user switching programs does.
struct TForeignWindow {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    TForeignWindow() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string command = "notepad.exe";
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return;
        for (int i = 0; i < 500 && !window; ++i) {
            Sleep(20);
            window = FindWindowA("Notepad", nullptr);
        }
    }
    ~TForeignWindow() {
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        if (process.hProcess) {
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

void Pump() {
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

TEST(PublicRoutines, FormsPaintActiveWhileTheApplicationHasTheFocus) {
    InitFramework();
    auto* main = new TForm(Application);
    Application->SetMainForm(main);
    auto* other = new TForm(Application);
    main->Show();
    Pump();
    EXPECT_TRUE(IsFormActive(main));
    EXPECT_TRUE(IsFormActive(nullptr));
    EXPECT_FALSE(IsFormActive(other));
    other->Show();
    Pump();
    EXPECT_TRUE(IsFormActive(main)) << "another form of ours is active";
    EXPECT_TRUE(IsFormActive(other));

    {
        TForeignWindow foreign;
        ASSERT_NE(foreign.window, nullptr);
        SetForegroundWindow(foreign.window);
        Pump();
        EXPECT_FALSE(Application->Active());
        EXPECT_FALSE(IsFormActive(main)) << "another process holds the focus";
        EXPECT_FALSE(IsFormActive(other));
    }
    delete other;
    delete main;
}

TEST(MenuDrawing, SeparatorsLinesAndRectangles) {
    TBitmap b(40, 8);
    FillRectColor(b.Canvas(), {0, 0, 40, 8}, clWhite);
    DrawMenuSeparator(b.Canvas(), {0, 1, 40, 6}, 0x848284, true, 10);
    EXPECT_EQ(At(b, 13, 3), clWhite);
    EXPECT_EQ(At(b, 14, 3), 0x848284u);
    EXPECT_EQ(At(b, 37, 3), 0x848284u);
    EXPECT_EQ(At(b, 38, 3), clWhite);
    FillRectColor(b.Canvas(), {0, 0, 40, 8}, clWhite);
    DrawMenuSeparator(b.Canvas(), {0, 1, 40, 6}, 0x848284, false, 10);
    EXPECT_EQ(At(b, 1, 3), clWhite);
    EXPECT_EQ(At(b, 2, 3), 0x848284u);
    EXPECT_EQ(At(b, 25, 3), 0x848284u);
    EXPECT_EQ(At(b, 26, 3), clWhite);

    FrameRectColor(b.Canvas(), {0, 0, 5, 5}, 0x0000FF);
    EXPECT_EQ(At(b, 0, 4), 0x0000FFu);
    EXPECT_EQ(At(b, 2, 2), clWhite);
}

TEST(MenuDrawing, MacPicturesAreCutAndStretched) {
    TBitmap bar, select;
    bar.LoadFromResourceName(GetModuleHandleA(nullptr), "MACOS_MENU_BAR");
    select.LoadFromResourceName(GetModuleHandleA(nullptr), "MACOS_MENU_SELECT");
    ASSERT_EQ(bar.Height(), 22);
    ASSERT_EQ(select.Height(), 21);
    TBitmap b(30, 20);
    DrawMacMenuItem(b.Canvas(), {0, 0, 30, 20});
    for (int y : {0, 10, 19}) EXPECT_EQ(At(b, 17, y), At(bar, 0, y)) << y;
    DrawMacMenuSelected(b.Canvas(), {0, 0, 30, 20});
    for (int y : {0, 19}) EXPECT_EQ(At(b, 3, y), At(select, 0, y)) << y;
    TBitmap s(30, 12);
    DrawMacMenuSeparator(s.Canvas(), {0, 0, 30, 12});
    EXPECT_EQ(At(s, 5, 11), At(bar, 0, 11));
}

TEST(MenuDrawing, HookingReachesEveryItemAndTheSystemMenuFontIsRead) {
    TMenuItem root(nullptr);
    auto* a = new TMenuItem(nullptr);
    auto* b = new TMenuItem(nullptr);
    root.Add(a);
    a->Add(b);
    int draws = 0;
    HookMenuItems(
        root, [](TMenuItem*, TCanvas&, int&, int&) {},
        [&](TMenuItem*, TCanvas&, const RECT&, bool) { ++draws; });
    for (TMenuItem* item : {&root, a, b}) {
        ASSERT_TRUE(item->OnDrawItem);
        TCanvas canvas;
        item->OnDrawItem(item, canvas, RECT{}, false);
    }
    EXPECT_EQ(draws, 3);

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0));
    TFont font;
    font.SetName("Courier New");
    UseSystemMenuFont(font);
    EXPECT_EQ(font.Name(), metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(font.Height(), metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(font.Color(), 0xFF000000u | COLOR_MENUTEXT);
}

} // namespace
} // namespace kel
