// Skinned menus opened on screen under Wine, their menu windows read back as pixels: side bar,
// background, highlight, separators, the MacOS pictures, check marks and boxed images, grey text,
// heights, right-to-left placement and items added at run time.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "framework/win/Forms.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/frame/KELPopupMenu.h"
#include "tests/skin/themes/FileThemeTestSupport.h"
#include "tests/skin/frame/FrameTestSupport.h"
#include "tools/skintool/SkinPacker.h"

namespace kel {
namespace {

using frame_test::OwnMenuWindow;

// What a helper thread saw of the open menu: each entry's screen rectangle and the menu window's
// pixels, read after `downs` presses of the down key.
struct TSeenMenu {
    RECT window{};
    std::vector<RECT> items;
    std::vector<COLORREF> pixels;     // row by row over the window rectangle
    COLORREF At(int x, int y) const { // screen coordinates
        const int w = window.right - window.left;
        if (x < window.left || y < window.top || x >= window.right || y >= window.bottom)
            return CLR_INVALID;
        return pixels[static_cast<size_t>((y - window.top) * w + (x - window.left))];
    }
    COLORREF AtItem(size_t index, int dx, int dy) const { // from the item's top-left corner
        return At(items[index].left + dx, items[index].top + dy);
    }
};

// Opens a menu with `open` (which runs the system's menu loop) and reads it from a helper thread.
TSeenMenu OpenAndReadWith(HMENU handle, int downs, const std::function<void()>& open) {
    TSeenMenu seen;
    std::thread reader([&] {
        HWND window = nullptr;
        for (int i = 0; i < 400 && !window; ++i) {
            Sleep(10);
            window = OwnMenuWindow();
        }
        if (!window) return;
        for (int i = 0; i < downs; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
        Sleep(300);
        for (int i = 0; i < GetMenuItemCount(handle); ++i) {
            RECT r{};
            GetMenuItemRect(nullptr, handle, static_cast<UINT>(i), &r);
            seen.items.push_back(r);
        }
        GetWindowRect(window, &seen.window);
        const int w = seen.window.right - seen.window.left,
                  h = seen.window.bottom - seen.window.top;
        // From the window's own surface: what other programs' windows might cover does not count.
        HDC screen = GetWindowDC(window);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) seen.pixels.push_back(GetPixel(memory, x, y));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window, screen);
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    open();
    reader.join();
    return seen;
}

TSeenMenu OpenAndRead(TPopupMenu& menu, int downs) {
    return OpenAndReadWith(menu.Handle(), downs, [&] { menu.Popup(200, 150); });
}

bool AnyPixel(const TSeenMenu& seen, const RECT& area, COLORREF color) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (seen.At(x, y) == color) return true;
    return false;
}

class SkinnedMenus : public ::testing::Test {
protected:
    TMenuItem* Add(TMenu& menu, const std::string& caption) {
        auto* item = new TMenuItem(&owner);
        item->SetCaption(caption);
        menu.Items().Add(item);
        return item;
    }
    void TearDown() override { SysLocale.MiddleEast = false; }
    TComponent owner{nullptr};
};

TEST_F(SkinnedMenus, DeepBlueItemsSeparatorsAndTheirHeights) {
    TkelPopupMenu menu(&owner);
    Add(menu, "&Open")->SetShortCut(ShortCut('O', ssCtrl));
    Add(menu, "-");
    Add(menu, "Disabled")->SetEnabled(false);
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 3u);
    EXPECT_EQ(seen.items[0].bottom - seen.items[0].top, 21);
    EXPECT_EQ(seen.items[1].bottom - seen.items[1].top, 5);
    const int width = seen.items[0].right - seen.items[0].left;
    // Side bar in position 23's colour, the rest white.
    EXPECT_EQ(seen.AtItem(0, 3, 10), 0xCED3D6u);
    EXPECT_EQ(seen.AtItem(0, 25, 1), 0xCED3D6u);
    EXPECT_EQ(seen.AtItem(0, 26, 1), 0xFFFFFFu);
    EXPECT_EQ(seen.AtItem(0, width - 2, 19), 0xFFFFFFu);
    // The separator line 2 pixels below its top, from bar width + 4 to 2 before the right edge.
    EXPECT_EQ(seen.AtItem(1, 29, 2), 0xFFFFFFu);
    EXPECT_EQ(seen.AtItem(1, 30, 2), 0x848284u);
    EXPECT_EQ(seen.AtItem(1, width - 3, 2), 0x848284u);
    EXPECT_EQ(seen.AtItem(1, width - 2, 2), 0xFFFFFFu);
    EXPECT_EQ(seen.AtItem(1, 30, 1), 0xFFFFFFu);
    // Black text, the shortcut at the right, grey text of the disabled item.
    const RECT& open = seen.items[0];
    EXPECT_TRUE(AnyPixel(seen, {open.left + 30, open.top, open.left + 60, open.bottom}, 0));
    EXPECT_TRUE(AnyPixel(seen, {open.right - 50, open.top, open.right - 16, open.bottom}, 0));
    const RECT& off = seen.items[2];
    EXPECT_TRUE(AnyPixel(seen, {off.left + 30, off.top, off.left + 80, off.bottom}, 0x808080));
    EXPECT_FALSE(AnyPixel(seen, {off.left + 30, off.top, off.left + 80, off.bottom}, 0));
}

TEST_F(SkinnedMenus, TheSelectedItemIsFilledAndFramed) {
    TkelPopupMenu menu(&owner);
    menu.SetUIStyle(TkelUIStyle::WinXP);
    Add(menu, "First");
    Add(menu, "Second");
    const TSeenMenu seen = OpenAndRead(menu, 1); // the first item selected
    ASSERT_EQ(seen.items.size(), 2u);
    const int width = seen.items[0].right - seen.items[0].left;
    EXPECT_EQ(seen.AtItem(0, 0, 0), 0xC66931u);          // frame: position 18
    EXPECT_EQ(seen.AtItem(0, width - 1, 20), 0xC66931u); // all round
    EXPECT_EQ(seen.AtItem(0, 3, 10), 0xEFD3C6u);         // fill over the bar: position 19
    EXPECT_EQ(seen.AtItem(1, 3, 10), 0xCED3D6u);         // the other item keeps its bar
}

TEST_F(SkinnedMenus, MacOSItemsArePicturesTwentyAndTwelvePixelsHigh) {
    TkelPopupMenu menu(&owner);
    menu.SetUIStyle(TkelUIStyle::MacOS);
    menu.SetSeparatorHeight(30); // ignored in this style
    menu.SetMenuItemHeight(40);  // ignored too, by the pop-up menu
    EXPECT_EQ(menu.SeparatorHeight(), 12);
    EXPECT_EQ(menu.MenuItemHeight(), 20);
    Add(menu, "Item");
    Add(menu, "-");
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 2u);
    EXPECT_EQ(seen.items[0].bottom - seen.items[0].top, 20);
    EXPECT_EQ(seen.items[1].bottom - seen.items[1].top, 12);
    TBitmap bar;
    bar.LoadFromResourceName(GetModuleHandleA(nullptr), "MACOS_MENU_BAR");
    for (int y : {0, 5, 11}) EXPECT_EQ(seen.AtItem(1, 40, y), bar.Canvas().Pixel(0, y)) << y;
    EXPECT_EQ(seen.AtItem(0, 2, 1), bar.Canvas().Pixel(0, 1));
}

TEST_F(SkinnedMenus, CheckMarksAndBoxedImagesOfCheckedItems) {
    TkelPopupMenu menu(&owner);
    TImageList images(16, 16);
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(0x0000FF);
    red.Canvas().FillRect({0, 0, 16, 16});
    images.Add(red);
    menu.SetImages(&images);
    Add(menu, "Plain check")->SetChecked(true);
    TMenuItem* boxed = Add(menu, "Boxed image");
    boxed->SetChecked(true);
    boxed->SetImageIndex(0);
    TMenuItem* beyond = Add(menu, "Index beyond the list");
    beyond->SetChecked(true);
    beyond->SetImageIndex(7);
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 3u);
    TBitmap mark;
    mark.LoadFromResourceName(GetModuleHandleA(nullptr), "MENU_CHECKED");
    int inked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (mark.Canvas().Pixel(x, y) != clWhite) {
                EXPECT_EQ(seen.AtItem(0, 4 + x, 3 + y), mark.Canvas().Pixel(x, y));
                EXPECT_EQ(seen.AtItem(2, 4 + x, 3 + y), mark.Canvas().Pixel(x, y));
                ++inked;
            }
    EXPECT_GT(inked, 10);
    EXPECT_EQ(seen.AtItem(1, 2, 1), 0u);                // black frame at (x - 2, top + 1)
    EXPECT_EQ(seen.AtItem(1, 3, 2), 0xA04A44u);         // selected colour at (x - 1, top + 2)
    EXPECT_EQ(seen.AtItem(1, 4 + 8, 3 + 8), 0x0000FFu); // the image over it
}

TEST_F(SkinnedMenus, RightToLeftOnAMiddleEastSystemPutsTheBarOnTheRight) {
    TkelPopupMenu menu(&owner);
    menu.SetBiDiMode(TBiDiMode::bdRightToLeft);
    SysLocale.MiddleEast = true;
    Add(menu, "Item");
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 1u);
    const int width = seen.items[0].right - seen.items[0].left;
    EXPECT_EQ(seen.AtItem(0, width - 3, 10), 0xCED3D6u);
    EXPECT_EQ(seen.AtItem(0, 3, 10), 0xFFFFFFu);
}

TEST_F(SkinnedMenus, HundredsOfItemsLongAndEmptyCaptionsAreDrawnWithoutHarm) {
    TkelPopupMenu menu(&owner);
    Add(menu, std::string(3000, 'x'));
    Add(menu, ""); // an empty caption
    for (int i = 0; i < 300; ++i) Add(menu, "Item " + std::to_string(i));
    TMenuItem* stray = Add(menu, "No image list");
    stray->SetImageIndex(3);
    stray->SetChecked(true);
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 303u);
    EXPECT_EQ(seen.AtItem(0, 3, 10), 0xCED3D6u);
}

TEST_F(SkinnedMenus, ItemsAddedLaterAreDrawnByTheComponent) {
    TkelPopupMenu menu(&owner);
    Add(menu, "Added at run time");
    TMenuItem* sub = Add(menu, "With a sub-menu");
    auto* child = new TMenuItem(&owner);
    child->SetCaption("Child");
    sub->Add(child);
    EXPECT_TRUE(child->OnDrawItem) << "hooked when inserted";
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 2u);
    EXPECT_EQ(seen.AtItem(0, 3, 10), 0xCED3D6u);
    EXPECT_EQ(seen.AtItem(1, 3, 10), 0xCED3D6u);
}

TEST_F(SkinnedMenus, SeparatorsOfEveryStyleButMacOSAreALineTwoPixelsDown) {
    for (TkelUIStyle style : {TkelUIStyle::WinXP, TkelUIStyle::DeepBlue, TkelUIStyle::Protein,
                              TkelUIStyle::BlueGlass}) {
        TkelPopupMenu menu(&owner);
        menu.SetUIStyle(style);
        Add(menu, "Above");
        Add(menu, "-");
        const TSeenMenu seen = OpenAndRead(menu, 0);
        ASSERT_EQ(seen.items.size(), 2u);
        EXPECT_EQ(seen.items[1].bottom - seen.items[1].top, 5);
        EXPECT_EQ(seen.AtItem(1, 40, 2), 0x848284u) << static_cast<int>(style);
        EXPECT_EQ(seen.AtItem(1, 40, 1), GetThemeColor(style, 21)) << static_cast<int>(style);
    }
}

TEST_F(SkinnedMenus, AMainMenuSubMenuOnScreenWithAGradientBar) {
    TForm form(nullptr);
    auto* bar = new TkelMainMenu(&form);
    bar->SetBarColor(0x000000);
    bar->SetBarToColor(0xFFFFFF);
    auto* file = new TMenuItem(&form);
    file->SetCaption("&File");
    bar->Items().Add(file);
    auto* open = new TMenuItem(&form);
    open->SetCaption("&Open");
    file->Add(open);
    form.SetMenu(bar);
    form.Show();
    const TSeenMenu seen = OpenAndReadWith(file->Handle(), 0, [&] {
        TrackPopupMenu(file->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN, 200, 150, 0, form.Handle(),
                       nullptr);
    });
    ASSERT_EQ(seen.items.size(), 1u);
    // Column x - left of 26 on a black-to-white bar: trunc(255 / 26 * k).
    EXPECT_EQ(seen.AtItem(0, 0, 5), 0u);
    EXPECT_EQ(seen.AtItem(0, 13, 5), 0x7F7F7Fu);
    EXPECT_EQ(seen.AtItem(0, 25, 5), 0xFFFFFFu);
    EXPECT_EQ(seen.AtItem(0, 30, 1), 0xFFFFFFu);
}

TEST_F(SkinnedMenus, AMainMenuKeepsItsCheckMarksWithoutUserImages) {
    TForm form(nullptr);
    auto* menu = new TkelMainMenu(&form);
    EXPECT_EQ(menu->UserImages(), nullptr);
    EXPECT_EQ(menu->Images()->Count(), 1); // its own check mark
    TImageList images(16, 16);
    menu->SetUserImages(&images);
    EXPECT_EQ(menu->UserImages(), &images);
    menu->SetUserImages(nullptr);
    EXPECT_EQ(menu->UserImages(), nullptr);
    EXPECT_EQ(menu->Images()->Count(), 1);
    EXPECT_TRUE(GetPropValue(*menu, "OwnerDraw") == TPropValue(true));
    SetOrdProp(*menu, "MenuItemHeight", 33);
    EXPECT_EQ(menu->MenuItemHeight(), 33);
}

TEST_F(SkinnedMenus, ItemsAreMeasuredForCaptionShortcutBarAndForty) {
    TkelPopupMenu menu(&owner);
    TMenuItem* item = Add(menu, "A caption of some length");
    item->SetShortCut(ShortCut(VK_DELETE, ssShift));
    Add(menu, "x");
    TBitmap probe(1, 1);
    AssignSystemMenuFont(probe.Canvas().Font());
    const int expected = probe.Canvas().TextWidth("A caption of some length") +
                         probe.Canvas().TextWidth("Shift+Del") + 26 + 40;
    // As the system asks while showing the menu.
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, item->Command(),
                              0,        0, reinterpret_cast<ULONG_PTR>(item)};
    LRESULT result = 0;
    ASSERT_TRUE(
        TMenu::DispatchMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
    EXPECT_EQ(static_cast<int>(measure.itemWidth), expected);
    EXPECT_EQ(static_cast<int>(measure.itemHeight), 21);
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 2u);
    // The shortcut's text ends 16 pixels before the right edge at the latest.
    const RECT& r = seen.items[0];
    EXPECT_TRUE(AnyPixel(seen, {r.right - 16 - 20, r.top, r.right - 16, r.bottom}, 0));
    EXPECT_FALSE(AnyPixel(seen, {r.right - 15, r.top, r.right, r.bottom}, 0));
}

TEST_F(SkinnedMenus, AFlatMenuRedrawsItsWindowBorder) {
    TkelPopupMenu menu(&owner);
    menu.SetUIStyle(TkelUIStyle::Protein);
    menu.SetFlatMenu(true);
    Add(menu, "Flat");
    Add(menu, "Menu");
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 2u);
    const RECT& w = seen.window;
    const int midY = (w.top + w.bottom) / 2;
    const COLORREF formColor = GetThemeColor(TkelUIStyle::Protein, 15);
    EXPECT_EQ(seen.At(w.left, midY), 0u);             // outer frame, black
    EXPECT_EQ(seen.At(w.left + 1, midY), 0xFFFFFFu);  // white frame inside it
    EXPECT_EQ(seen.At(w.right - 1, midY), formColor); // the right edge in the form colour
    EXPECT_EQ(seen.At(w.left + 5, w.top), formColor); // and the top edge
    EXPECT_EQ(seen.At(w.left + 5, w.bottom - 1), formColor);
}

// The ink of a text drawn black on white with the system menu font into a box of the given size.
std::vector<bool> TextInk(const std::wstring& text, int width, int height) {
    TBitmap b(width, height);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect({0, 0, width, height});
    AssignSystemMenuFont(b.Canvas().Font());
    HDC dc = b.Canvas().Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0);
    RECT box{0, 0, width, height};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    std::vector<bool> ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ink.push_back(b.Canvas().Pixel(x, y) != clWhite);
    return ink;
}

TEST_F(SkinnedMenus, AUtf16CaptionShowsAsWrittenOnAnyCodePage) {
    const std::wstring caption = L"\u6700\u5C0F\u5316(&N)"; // "minimise" with its hot key
    TkelPopupMenu menu(&owner);
    TMenuItem* item = Add(menu, "placeholder");
    item->SetWideCaption(caption);
    const std::string lost = std::string(3, '?') + "(&N)";
    if (GetACP() == 1252) {
        EXPECT_EQ(item->Caption(), lost) << "the 8-bit form loses it";
    }
    EXPECT_EQ(item->DisplayCaption(), caption);
    wchar_t entry[32] = {};
    GetMenuStringW(menu.Handle(), 0, entry, 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(entry), caption);

    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 1u);
    const RECT& r = seen.items[0];
    const int width = r.right - r.left - 30, height = r.bottom - r.top;
    std::vector<bool> shown;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) shown.push_back(seen.AtItem(0, 30 + x, y) != 0xFFFFFF);
    EXPECT_EQ(shown, TextInk(caption, width, height));
    EXPECT_NE(shown, TextInk(std::wstring(3, L'?') + L"(&N)", width, height));
}

class SkinnedMenusFromSkinFile : public filetheme_test::FileThemeFixture {};

TEST_F(SkinnedMenusFromSkinFile, ColoursComeFromALoadedSkinFile) {
    using namespace skintool;
    const std::string path = Write(
        "menu.skn", BuildSkinArchive(BuildSkinData({
                                         IntegerEntry("SKIN2_LEFTBARSTARTCOLOR", 0x102030),
                                         IntegerEntry("SKIN2_LEFTBARENDCOLOR", 0x102030),
                                         IntegerEntry("SKIN2_MENUITEMCOLOR", 0x405060),
                                         IntegerEntry("SKIN2_MENUITEMFONTCOLOR", 0x0000FF),
                                         IntegerEntry("SKIN2_SELECTEDMENUCOLOR", 0x00FF00),
                                         IntegerEntry("SKIN2_SELECTEDMENUBORDERCOLOR", 0xFF0000),
                                         IntegerEntry("SKIN2_SELECTEDMENUFONTCOLOR", 0xFFFFFF),
                                     }),
                                     ""));
    TComponent owner(nullptr);
    auto* theme = new TkelFileTheme(&owner);
    theme->SetThemeFile(path);
    ASSERT_TRUE(theme->Ready());
    TkelPopupMenu menu(&owner);
    menu.SetFileTheme(theme);
    menu.SetUIStyle(TkelUIStyle::FromThemeFile);
    EXPECT_EQ(menu.Color(), 0x405060u);
    EXPECT_EQ(menu.SelectedBorderColor(), 0xFF0000u);
    auto* item = new TMenuItem(&owner);
    item->SetCaption("Themed");
    menu.Items().Add(item);
    const TSeenMenu seen = OpenAndRead(menu, 0);
    ASSERT_EQ(seen.items.size(), 1u);
    EXPECT_EQ(seen.AtItem(0, 3, 10), 0x102030u);
    EXPECT_EQ(seen.AtItem(0, 30, 1), 0x405060u);
    EXPECT_TRUE(AnyPixel(seen, seen.items[0], 0x0000FF)); // the theme's font colour

    delete theme; // the menu hears of it and goes back to DeepBlue
    EXPECT_EQ(menu.FileTheme(), nullptr);
    EXPECT_EQ(menu.UIStyle(), TkelUIStyle::DeepBlue);
    EXPECT_EQ(menu.Color(), 0xFFFFFFu);
}

} // namespace
} // namespace kel
