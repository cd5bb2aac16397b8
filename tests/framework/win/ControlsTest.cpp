// Controls on real windows under Wine: windowless children, the click rule, mouse enter and leave,
// dialog keys and characters, focus changes and tab order.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"

namespace kel {
namespace {

std::vector<std::string> gEvents;

// A windowless control that logs its input.
class TProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void MouseEnter() override { gEvents.push_back(Name() + ".enter"); }
    void MouseLeave() override { gEvents.push_back(Name() + ".leave"); }
    void MouseDown(TMouseButton b, TShiftState, int x, int y) override {
        gEvents.push_back(Name() + ".down" + std::to_string(b) + "@" + std::to_string(x) + "," +
                          std::to_string(y));
    }
    void MouseUp(TMouseButton, TShiftState, int, int) override {
        gEvents.push_back(Name() + ".up");
    }
    void Click() override { gEvents.push_back(Name() + ".click"); }
    bool DialogChar(char ch, TShiftState shift) override {
        gEvents.push_back(Name() + ".char" + std::string(1, ch) + ((shift & ssAlt) ? "+alt" : ""));
        return ch == 'Q';
    }
    void FocusChanged(TWinControl* focused) override {
        gEvents.push_back(Name() + ".focus:" + (focused ? focused->Name() : "none"));
    }
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        InitFramework();
        gEvents.clear();
        form.reset(new TForm(nullptr));
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetClientWidth(300);
        form->SetClientHeight(200);
        below = new TProbe(form.get());
        below->SetName("below");
        below->SetParent(form.get());
        below->SetBounds(0, 0, 300, 200);
        above = new TProbe(form.get());
        above->SetName("above");
        above->SetParent(form.get());
        above->SetBounds(10, 10, 50, 20);
        form->Show();
        gEvents.clear();
    }
    void TearDown() override { form.reset(); }
    void Send(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageA(form->Handle(), message, keys, MAKELPARAM(x, y));
    }

    std::unique_ptr<TForm> form;
    TProbe* below = nullptr;
    TProbe* above = nullptr;
};

TEST_F(Controls, MouseGoesToTheTopmostWindowlessChildAndAClickNeedsReleaseInside) {
    Send(WM_LBUTTONDOWN, 15, 12, MK_LBUTTON);
    Send(WM_LBUTTONUP, 16, 13);
    Send(WM_LBUTTONDOWN, 15, 12, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 200, 150, MK_LBUTTON); // captured: still goes to `above`
    Send(WM_LBUTTONUP, 200, 150);
    Send(WM_RBUTTONDOWN, 100, 100, MK_RBUTTON);
    Send(WM_RBUTTONUP, 100, 100);
    // Mouse enter and leave are checked elsewhere; here only the buttons and clicks count.
    std::vector<std::string> buttons;
    for (const auto& e : gEvents)
        if (e.find(".enter") == std::string::npos && e.find(".leave") == std::string::npos)
            buttons.push_back(e);
    EXPECT_EQ(buttons, (std::vector<std::string>{"above.down0@5,2", "above.click", "above.up",
                                                 "above.down0@5,2", "above.up",
                                                 "below.down1@100,100", "below.up"}));
}

TEST_F(Controls, EnterAndLeaveFollowThePointerAcrossChildren) {
    Send(WM_MOUSEMOVE, 100, 100);
    Send(WM_MOUSEMOVE, 20, 15);
    Send(WM_MOUSEMOVE, 100, 100);
    SendMessageA(form->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"below.enter", "below.leave", "above.enter",
                                                 "above.leave", "below.enter", "below.leave"}));
}

TEST_F(Controls, CharactersAreOfferedToEveryControlUntilOneTakesThem) {
    SendMessageA(form->Handle(), WM_CHAR, 'q', 0);
    SendMessageA(form->Handle(), WM_SYSCHAR, 'Q', 0);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"below.charq", "above.charq", "below.charQ+alt"}));
}

TEST_F(Controls, FocusChangesReachEveryControlAndTabFollowsTabOrder) {
    auto* first = new TButton(form.get());
    first->SetName("first");
    first->SetParent(form.get());
    auto* second = new TButton(form.get());
    second->SetName("second");
    second->SetParent(form.get());
    second->SetTabOrder(0);
    EXPECT_EQ(first->TabOrder(), 1);
    gEvents.clear();
    second->SetFocus();
    EXPECT_EQ(form->ActiveControl(), second);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"below.focus:second", "above.focus:second"}));
    SendMessageA(second->Handle(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(first->Focused());
    SendMessageA(first->Handle(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(second->Focused());
}

TEST_F(Controls, EnterPressesTheDefaultButtonAndEscapeTheCancelOne) {
    int okClicks = 0, cancelClicks = 0;
    auto* ok = new TButton(form.get());
    ok->SetParent(form.get());
    ok->SetCaption("&OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->OnClick = [&](TObject*) { ++okClicks; };
    auto* cancel = new TButton(form.get());
    cancel->SetParent(form.get());
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    cancel->SetFocus();
    SendMessageA(cancel->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    ok->SetFocus();
    SendMessageA(ok->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    SendMessageA(cancel->Handle(), WM_SYSCHAR, 'o', 0);
    EXPECT_EQ(okClicks, 2);
}

TEST_F(Controls, HiddenAndDisabledChildrenAreNotHit) {
    above->SetVisible(false);
    EXPECT_EQ(form->ControlAtPos({15, 12}), below);
    above->SetVisible(true);
    above->SetEnabled(false);
    EXPECT_EQ(form->ControlAtPos({15, 12}), below);
    EXPECT_EQ(form->ControlAtPos({15, 12}, true), above);
    EXPECT_EQ(form->ControlAtPos({400, 12}), nullptr);
}

// A windowed control freed while it stands on its parent (its owner frees it, as a form frees its
// components) leaves the tab order and the form's focus, so keyboard navigation never reaches it.
TEST(ControlsLifetime, AFreedWindowedChildLeavesTheTabOrderAndTheFocus) {
    TForm form(nullptr);
    TComponent owner(nullptr);
    auto* kept = new TButton(&form);
    kept->SetParent(&form);
    form.Show();
    for (int round = 0; round < 20; ++round) {
        auto* freed = new TButton(&owner);
        freed->SetParent(&form);
        form.SetActiveControl(freed);
        EXPECT_EQ(form.ActiveControl(), freed);
        delete freed;
        EXPECT_EQ(form.ActiveControl(), nullptr);
        EXPECT_EQ(form.FindNextControl(nullptr, true, false), kept);
        EXPECT_EQ(form.FindNextControl(kept, true, false), kept) << "the only control left";
    }
}

// Setting the bounds a window has already costs the window system nothing: no position change is
// sent. What counts is where the window stands, not the bounds the control last set: a window
// moved behind the control's back is put back.
TEST(ControlsBounds, AWindowIsMovedOnlyWhenItStandsElsewhere) {
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 20, 100, 50);
    form.Show();
    static int positionChanges = 0;
    SUBCLASSPROC counter = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) -> LRESULT {
        if (message == WM_WINDOWPOSCHANGING) ++positionChanges;
        return DefSubclassProc(window, message, wParam, lParam);
    };
    ASSERT_TRUE(SetWindowSubclass(panel->Handle(), counter, 1, 0));
    positionChanges = 0;
    panel->SetBounds(10, 20, 100, 50);
    form.SetBounds(100, 100, 300, 200);
    EXPECT_EQ(positionChanges, 0);

    SetWindowPos(panel->Handle(), nullptr, 40, 30, 60, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    positionChanges = 0;
    panel->SetBounds(10, 20, 100, 50);
    EXPECT_EQ(positionChanges, 1);
    RECT r;
    GetWindowRect(panel->Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 110);
    EXPECT_EQ(r.bottom, 70);
    RemoveWindowSubclass(panel->Handle(), counter, 1);
}

} // namespace
} // namespace kel
