// The tool bar on the real common-controls tool bar under Wine: buttons kept in step with their
// components, wrapping and automatic size, menu buttons that drop their sub-menus down (driven
// from a timer inside the menu loop), hot tracking between them, accelerators, and the
// custom-draw events read back from the bar's surface.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/win/ComCtrls.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/Handles.h"

namespace kel {
namespace {

// The visible menu window of this thread, or nullptr.
HWND OpenMenuWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM data) -> BOOL {
            char name[16] = {};
            GetClassNameA(w, name, sizeof name);
            if (std::string(name) != "#32768" || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(data) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Drives the menu loops `open` runs: each time a menu window is open, the next step gets it.
// Steps left over when `open` returns are not run; a menu left open by the steps is closed.
std::vector<std::function<void(HWND menu)>> gSteps;
HWND gLastMenu = nullptr;
int gTicks = 0;

void CALLBACK MenuTick(HWND, UINT, UINT_PTR, DWORD) {
    if (++gTicks > 300) { // a step that never came: no test hangs on an open menu
        gSteps.clear();
        EndMenu();
        return;
    }
    HWND menu = OpenMenuWindow();
    if (!menu || menu == gLastMenu) return;
    gLastMenu = menu;
    if (gSteps.empty()) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    const auto step = gSteps.front();
    gSteps.erase(gSteps.begin());
    step(menu);
}

void WithMenuSteps(std::vector<std::function<void(HWND)>> steps,
                   const std::function<void()>& open) {
    gSteps = std::move(steps);
    gLastMenu = nullptr;
    gTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &MenuTick);
    open();
    KillTimer(nullptr, timer);
    gSteps.clear();
    // Input a step posted that no menu took is dropped, not left to the next menu.
    MSG left;
    while (PeekMessageA(&left, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) continue;
    while (PeekMessageA(&left, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) continue;
}

void Escape(HWND menu) {
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

COLORREF ClientPixel(HWND window, int x, int y) {
    const gdi::WindowDc screen(window);
    const gdi::UniqueDc memory(CreateCompatibleDC(screen.Get()));
    const gdi::UniqueGdi<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), x + 1, y + 1));
    const gdi::ScopedSelect select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, x + 1, y + 1, screen.Get(), 0, 0, SRCCOPY);
    return GetPixel(memory.get(), x, y);
}

class ToolBars : public ::testing::Test {
protected:
    void SetUp() override {
        InitFramework();
        // Away from the bar, as the pointer's own motion reports it: an open menu follows the
        // mouse over the bar.
        SetCursorPos(5, 5);
        for (int i = 0; i < 5; ++i) {
            Sleep(10);
            Application->ProcessMessages();
        }
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 420, 200);
        bar = new TToolBar(form.get());
        bar->SetParent(form.get());
        bar->SetBounds(0, 0, 400, 30);
        bar->SetFlat(true);
        bar->SetEdgeBorders(0);
        bar->SetShowCaptions(true);
        bar->SetWrapable(true);
        bar->SetAutoSize(true);
        menu = new TMainMenu(form.get());
        file = Item(menu->Items(), "&File");
        open = Item(*file, "&Open");
        Item(*file, "E&xit");
        edit = Item(menu->Items(), "&Edit");
        Item(*edit, "&Copy");
        help = Item(menu->Items(), "&Help");
        Item(*help, "&About");
        help->SetEnabled(false);
    }

    TMenuItem* Item(TMenuItem& parent, const std::string& caption) {
        auto* item = new TMenuItem(form.get());
        item->SetCaption(caption);
        item->OnClick = [this, item](TObject*) { clicks.push_back(item->Caption()); };
        parent.Add(item);
        return item;
    }
    // One grouped button per top-level item, made from the last to the first.
    void MenuButtons() {
        for (int i = menu->Items().Count() - 1; i >= 0; --i) {
            auto* button = new TToolButton(form.get());
            button->SetParent(bar);
            button->SetGrouping(true);
            button->SetMenuItem(menu->Items().Items(i));
            button->SetAutoSize(true);
        }
    }
    WPARAM CommandAt(int index) {
        TBBUTTON b{};
        SendMessageA(bar->Handle(), TB_GETBUTTON, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&b));
        return static_cast<WPARAM>(b.idCommand);
    }
    std::string NativeText(int index) {
        char text[64] = {};
        SendMessageA(bar->Handle(), TB_GETBUTTONTEXTA, CommandAt(index),
                     reinterpret_cast<LPARAM>(text));
        return text;
    }
    POINT ScreenCentre(const TToolButton* button) {
        POINT p{button->Left() + button->Width() / 2, button->Top() + button->Height() / 2};
        ClientToScreen(bar->Handle(), &p);
        return p;
    }
    void Press(const TToolButton* button) {
        SendMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(button->Left() + 3, button->Top() + 3));
    }

    std::unique_ptr<TForm> form;
    TToolBar* bar = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *open = nullptr, *edit = nullptr, *help = nullptr;
    std::vector<std::string> clicks;
};

TEST_F(ToolBars, ButtonsMirrorTheirComponentsOnTheCommonControlsBar) {
    char className[32] = {};
    GetClassNameA(bar->Handle(), className, sizeof className);
    EXPECT_STREQ(className, TOOLBARCLASSNAME);
    const auto style = GetWindowLongA(bar->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & TBSTYLE_FLAT);
    EXPECT_TRUE(style & TBSTYLE_WRAPABLE);

    MenuButtons();
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(SendMessageA(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
    // Made from the last item to the first, they stand in the menu's order.
    EXPECT_EQ(bar->Buttons(0)->MenuItem(), file);
    EXPECT_EQ(bar->Buttons(2)->MenuItem(), help);
    EXPECT_EQ(NativeText(0), "&File");
    EXPECT_EQ(bar->Buttons(1)->Caption(), "&Edit");
    EXPECT_FALSE(bar->Buttons(2)->Enabled()); // the item's state
    EXPECT_FALSE(SendMessageA(bar->Handle(), TB_ISBUTTONENABLED, CommandAt(2), 0));

    // Sized to their captions, side by side.
    TToolButton* first = bar->Buttons(0);
    TToolButton* second = bar->Buttons(1);
    EXPECT_EQ(second->Left(), first->Left() + first->Width());
    const int narrow = first->Width();
    first->SetCaption("&File and more");
    EXPECT_EQ(NativeText(0), "&File and more");
    EXPECT_GT(first->Width(), narrow);
    EXPECT_EQ(second->Left(), first->Left() + first->Width());

    bar->SetShowCaptions(false);
    EXPECT_EQ(NativeText(0), "");
    bar->SetShowCaptions(true);

    // Edges take their room in the window's frame; none leave the client area the whole bar.
    RECT client;
    GetClientRect(bar->Handle(), &client);
    EXPECT_EQ(client.bottom, bar->Height());
    bar->SetEdgeBorders(ebTop | ebBottom);
    GetClientRect(bar->Handle(), &client);
    EXPECT_EQ(client.bottom, bar->Height() - 2 * GetSystemMetrics(SM_CYEDGE));
    EXPECT_EQ(client.right, bar->Width());
    bar->SetEdgeBorders(0);

    // A button leaving the bar leaves the window's buttons too.
    delete second;
    EXPECT_EQ(bar->ButtonCount(), 2);
    EXPECT_EQ(SendMessageA(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(NativeText(1), "&Help");
}

TEST_F(ToolBars, TheBarShowsItsColourAndMeasuresWithItsFont) {
    MenuButtons();
    const TColor colour = static_cast<TColor>(RGB(30, 60, 170));
    bar->SetColor(colour);
    form->Show();
    bar->Repaint();
    EXPECT_EQ(ClientPixel(bar->Handle(), bar->ClientWidth() - 3, 3), static_cast<COLORREF>(colour));

    const int before = bar->Buttons(0)->Width();
    bar->Font().SetSize(bar->Font().Size() * 2);
    EXPECT_GT(bar->Buttons(0)->Width(), before);
    EXPECT_EQ(bar->Buttons(1)->Left(), bar->Buttons(0)->Width());
}

TEST_F(ToolBars, NarrowBarsWrapAndTheHeightFollowsTheRows) {
    MenuButtons();
    bar->SetButtonHeight(22); // before the window exists
    bar->HandleNeeded();
    const int oneRow = bar->Height();
    EXPECT_EQ(oneRow, 22);
    const TToolButton* last = bar->Buttons(2);
    bar->SetWidth(bar->Buttons(0)->Width() + 4); // too narrow for them all
    const auto rows = static_cast<int>(SendMessageA(bar->Handle(), TB_GETROWS, 0, 0));
    EXPECT_GT(rows, 1);
    EXPECT_EQ(bar->Height(), rows * 22);
    EXPECT_EQ(last->Left(), 0);
    EXPECT_EQ(last->Top() + last->Height(), bar->Height());
    bar->SetWidth(400);
    EXPECT_EQ(bar->Height(), oneRow);

    // A button's height is the bar's button height.
    bar->Buttons(1)->SetHeight(30);
    EXPECT_EQ(bar->ButtonHeight(), 30);
    for (int i = 0; i < bar->ButtonCount(); ++i) EXPECT_EQ(bar->Buttons(i)->Height(), 30);
    EXPECT_EQ(bar->Height(), 30);

    // Aligned at the top of a panel, the bar's rows push the control filling the rest down.
    auto* host = new TPanel(form.get());
    host->SetParent(form.get());
    host->SetBounds(0, 0, 400, 150);
    bar->SetParent(host);
    auto* rest = new TPanel(form.get());
    rest->SetParent(host);
    rest->SetAlign(TAlign::alClient);
    bar->SetAlign(TAlign::alTop);
    EXPECT_EQ(rest->Top(), 30);
    host->SetWidth(bar->Buttons(0)->Width() + 4);
    EXPECT_GT(bar->Height(), 30);
    EXPECT_EQ(rest->Top(), bar->Height());
}

TEST_F(ToolBars, APressDropsTheSubMenuDownUnderTheButtonAndRunsTheChosenItem) {
    MenuButtons();
    form->Show();
    TToolButton* button = bar->Buttons(0);
    RECT menuRect{};
    bool pressedWhileOpen = false;
    WithMenuSteps({[&](HWND m) {
                      GetWindowRect(m, &menuRect);
                      pressedWhileOpen = SendMessageA(bar->Handle(), TB_ISBUTTONPRESSED,
                                                      CommandAt(button->Index()), 0);
                      EXPECT_EQ(bar->MenuButton(), button);
                      PostMessageA(m, WM_KEYDOWN, VK_DOWN, 0);
                      PostMessageA(m, WM_KEYDOWN, VK_RETURN, 0);
                  }},
                  [&] { Press(button); });
    POINT below{button->Left(), button->Top() + button->Height()};
    ClientToScreen(bar->Handle(), &below);
    EXPECT_EQ(menuRect.left, below.x);
    EXPECT_EQ(menuRect.top, below.y);
    EXPECT_TRUE(pressedWhileOpen);
    EXPECT_FALSE(SendMessageA(bar->Handle(), TB_ISBUTTONPRESSED, CommandAt(button->Index()), 0));
    EXPECT_EQ(bar->MenuButton(), nullptr);
    // The item hears the opening as its click, the chosen item its own, once.
    EXPECT_EQ(clicks, (std::vector<std::string>{"&File", "&Open"}));

    // A disabled button opens nothing.
    clicks.clear();
    WithMenuSteps({}, [&] { Press(bar->Buttons(2)); });
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ToolBars, TheOpenMenuFollowsTheMouseToTheNextGroupedButton) {
    MenuButtons();
    form->Show();
    WithMenuSteps({[&](HWND m) {
                       const POINT next = ScreenCentre(bar->Buttons(1));
                       SetCursorPos(next.x, next.y);
                       PostMessageA(m, WM_MOUSEMOVE, 0, 0);
                   },
                   Escape},
                  [&] { Press(bar->Buttons(0)); });
    EXPECT_EQ(clicks, (std::vector<std::string>{"&File", "&Edit"}));
}

TEST_F(ToolBars, LeftAndRightKeysMoveBetweenTheMenusAtTheirOwnLevel) {
    MenuButtons();
    auto* recent = Item(*file, "&Recent"); // the last entry of File opens a sub-menu
    Item(*recent, "first.skn");
    help->SetEnabled(true);
    bar->Buttons(2)->SetEnabled(true);
    form->Show();
    const auto keys = [](std::vector<WPARAM> presses) {
        return [presses](HWND m) {
            for (WPARAM key : presses) PostMessageA(m, WM_KEYDOWN, key, 0);
        };
    };
    // File: up to Recent, right opens its sub-menu, right there goes on to Edit; right to Help,
    // right wraps to File, left back to Help; Escape.
    WithMenuSteps({keys({VK_UP, VK_RIGHT, VK_RIGHT}), keys({VK_RIGHT}), keys({VK_RIGHT}),
                   keys({VK_LEFT}), Escape},
                  [&] { Press(bar->Buttons(0)); });
    EXPECT_EQ(clicks,
              (std::vector<std::string>{"&File", "&Recent", "&Edit", "&Help", "&File", "&Help"}));
}

TEST_F(ToolBars, AltAndTheCaptionLetterPressesTheButton) {
    MenuButtons();
    auto* plain = new TToolButton(form.get());
    plain->SetCaption("&Run");
    plain->SetLeft(1000); // after the menu buttons
    plain->SetParent(bar);
    plain->OnClick = [&](TObject*) { clicks.push_back("run"); };
    form->Show();
    HWND target = form->Handle();
    WithMenuSteps({[&](HWND m) {
                      // Opened from the keyboard, the first item is selected at once.
                      PostMessageA(m, WM_KEYDOWN, VK_RETURN, 0);
                  }},
                  [&] { SendMessageA(target, WM_SYSCHAR, 'e', 0); });
    SendMessageA(target, WM_SYSCHAR, 'r', 0);
    SendMessageA(target, WM_SYSCHAR, 'h', 0); // disabled: nothing
    EXPECT_EQ(clicks, (std::vector<std::string>{"&Edit", "&Copy", "run"}));
    EXPECT_EQ(bar->Buttons(3), plain);
}

TEST_F(ToolBars, CustomDrawPaintsTheBackgroundAndEveryButtonOnTheBarsCanvas) {
    MenuButtons();
    const COLORREF background = RGB(10, 120, 30), face = RGB(200, 40, 90);
    std::vector<std::pair<TToolButton*, TCustomDrawState>> drawn;
    bar->OnCustomDraw = [&](TToolBar* sender, const RECT& rect, bool& defaultDraw) {
        sender->Canvas().Brush().SetColor(static_cast<TColor>(background));
        sender->Canvas().FillRect(rect);
        EXPECT_TRUE(defaultDraw);
    };
    bar->OnCustomDrawButton = [&](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                  bool& defaultDraw) {
        drawn.emplace_back(button, state);
        sender->Canvas().Brush().SetColor(static_cast<TColor>(face));
        sender->Canvas().FillRect(button->BoundsRect());
        defaultDraw = false;
    };
    form->Show();
    bar->Repaint();
    const TToolButton* first = bar->Buttons(0);
    EXPECT_EQ(ClientPixel(bar->Handle(), first->Left() + 2, first->Top() + 2), face);
    EXPECT_EQ(ClientPixel(bar->Handle(), bar->ClientWidth() - 3, 3), background);
    ASSERT_FALSE(drawn.empty());
    bool disabledSeen = false;
    for (const auto& [button, state] : drawn)
        if (button == bar->Buttons(2)) disabledSeen = (state & cdsDisabled) != 0;
    EXPECT_TRUE(disabledSeen);

    // The button whose menu is open is drawn selected.
    drawn.clear();
    WithMenuSteps({[&](HWND m) {
                      bar->Repaint();
                      Escape(m);
                  }},
                  [&] { Press(bar->Buttons(1)); });
    bool selectedSeen = false;
    for (const auto& [button, state] : drawn)
        if (button == bar->Buttons(1) && (state & cdsSelected)) selectedSeen = true;
    EXPECT_TRUE(selectedSeen);
}

TEST_F(ToolBars, ACommandThatFreesTheFormEndsTheMenuCleanly) {
    MenuButtons();
    form->Show();
    open->OnClick = [&](TObject*) { form.reset(); };
    TToolButton* button = bar->Buttons(0);
    WithMenuSteps({[&](HWND m) {
                      PostMessageA(m, WM_KEYDOWN, VK_DOWN, 0);
                      PostMessageA(m, WM_KEYDOWN, VK_RETURN, 0);
                  }},
                  [&] { button->Click(); });
    EXPECT_EQ(form, nullptr);
}

TEST_F(ToolBars, TheBarFreedWhileItsMenuIsOpenIsForgottenByTheMenuLoop) {
    MenuButtons();
    form->Show();
    TToolButton* button = bar->Buttons(0);
    WithMenuSteps({[&](HWND) {
                      form.reset();
                      // Mouse and keys still reach the loop's filter after the bar is gone.
                      PostThreadMessageA(GetCurrentThreadId(), WM_MOUSEMOVE, 0, 0);
                      PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_RIGHT, 0);
                      PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
                  }},
                  [&] { Press(button); });
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(clicks, (std::vector<std::string>{"&File"}));
}

} // namespace
} // namespace kel
