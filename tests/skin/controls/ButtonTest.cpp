// The skinned buttons' behaviour on real windows: the order of events of a click, the states
// while pressed and after leaving, the repeat timer, keys, default and cancel roles, accelerators,
// the button query, the file theme's removal and the published properties.
#include "ButtonTestSupport.h"

#include "framework/win/StdCtrls.h"
#include "skin/themes/KELMgr.h"

namespace kel::buttontest {
namespace {

using Log_t = std::vector<std::string>;

class Button : public ButtonForm {
protected:
    // Holds Shift, Ctrl or Alt in the thread's key state for the scope.
    class HeldKey {
    public:
        explicit HeldKey(int key) : key_(key) { Set(0x80); }
        ~HeldKey() { Set(0); }

    private:
        void Set(BYTE state) {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[key_] = state;
            SetKeyboardState(keys);
        }
        int key_;
    };
};

TEST_F(Button, ClickRunsPressFocusRepaintEventsInOrder) {
    TkelImageButton* b = AddButton(20, 20);
    TkelImageButton* other = AddButton(100, 20);
    other->SetFocus();
    ASSERT_TRUE(other->Focused());
    b->SetModalResult(7);
    form->SetModalResult(0);
    Log(b);
    bool focusedAtDown = false, pressedAtDown = false, timerAtDown = false;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        focusedAtDown = b->Focused();
        pressedAtDown = b->Pressed();
        timerAtDown = b->RepeatTimerRunning();
        log.push_back("down");
    };
    int resultAtClick = -1;
    bool pressedAtClick = true;
    b->OnClick = [&](TObject*) {
        resultAtClick = form->ModalResult();
        pressedAtClick = b->Pressed();
        log.push_back("click");
    };

    Hover(*b);
    EXPECT_TRUE(b->MouseOver());
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseOn);
    Press(*b);
    EXPECT_TRUE(b->Pressed());
    EXPECT_TRUE(b->RepeatTimerRunning());
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseDown);
    Release(*b);
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->RepeatTimerRunning());
    EXPECT_TRUE(b->MouseOver());
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseOn);
    EXPECT_TRUE(focusedAtDown && pressedAtDown && timerAtDown);
    EXPECT_EQ(resultAtClick, 7);
    EXPECT_FALSE(pressedAtClick);

    ParkCursor();
    SendMessageA(b->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
    EXPECT_EQ(log, (Log_t{"enter", "down", "click", "up", "exit"}));
}

TEST_F(Button, PressMoveOutReleaseOutsideIsNoClick) {
    TkelImageButton* b = AddButton(20, 20);
    Log(b);
    Hover(*b);
    Press(*b);
    Move(*b, -3, 5);
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->MouseOver());
    EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
    Release(*b, -3, 5);
    EXPECT_FALSE(b->RepeatTimerRunning());
    EXPECT_EQ(Count("click"), 0);
    EXPECT_EQ(Count("exit"), 1);
    EXPECT_EQ(log.front(), "enter");
}

TEST_F(Button, MoveRuleKeepsEdgeInsideAndTimerRunsUntilLeave) {
    TkelImageButton* b = AddButton(20, 20, 40, 30);
    Log(b);
    Hover(*b);
    Press(*b);
    b->MouseMove(ssLeft, 40, 30); // X = width and Y = height still count as inside
    EXPECT_TRUE(b->MouseOver());
    EXPECT_TRUE(b->Pressed());
    b->MouseMove(ssLeft, 41, 10);
    EXPECT_FALSE(b->MouseOver());
    EXPECT_FALSE(b->Pressed());
    EXPECT_TRUE(b->RepeatTimerRunning()); // a move out while held keeps the timer
    Hover(*b);
    b->MouseMove(ssLeft, 10, -1);
    EXPECT_FALSE(b->Pressed());
    ParkCursor();
    Release(*b, 10, -40); // the release outside ends the hover: the leave frees the timer
    EXPECT_FALSE(b->RepeatTimerRunning());
    EXPECT_EQ(Count("click"), 0);
    EXPECT_EQ(Count("exit"), 1);
}

TEST_F(Button, HeldButtonTicksAboutTenTimesASecond) {
    TkelImageButton* b = AddButton(20, 20);
    b->SetMouseContinuouslyDownInterval(100);
    Log(b);
    Hover(*b);
    Press(*b);
    EXPECT_EQ(Count("tick"), 0); // the first tick comes one interval after the press
    Pump(1000);
    const int ticks = Count("tick");
    EXPECT_GE(ticks, 8);
    EXPECT_LE(ticks, 12);
    Release(*b);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "click");
    EXPECT_EQ(log.back(), "up");
    Pump(250);
    EXPECT_EQ(Count("tick"), ticks);
}

TEST_F(Button, NegativeIntervalNeverTicksAndIsReadAtThePress) {
    TkelImageButton* b = AddButton(20, 20);
    b->SetMouseContinuouslyDownInterval(-5);
    Log(b);
    Hover(*b);
    Press(*b);
    b->SetMouseContinuouslyDownInterval(20); // the running timer keeps what it read
    Pump(400);
    EXPECT_TRUE(b->RepeatTimerRunning());
    EXPECT_EQ(Count("tick"), 0);
    Release(*b);
    EXPECT_EQ(Count("click"), 1);
}

TEST_F(Button, TickHandlerThatCancelsTheHoldStopsTheTimerSafely) {
    TkelImageButton* b = AddButton(20, 20);
    b->SetMouseContinuouslyDownInterval(30);
    int ticks = 0;
    b->OnMouseContinuouslyDown = [&](TObject*) {
        ++ticks;
        SendMessageA(b->Handle(), WM_CANCELMODE, 0, 0); // frees the timer from its own tick
    };
    Hover(*b);
    Press(*b);
    Pump(300);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(b->RepeatTimerRunning());
    EXPECT_FALSE(b->Pressed());
    Press(*b); // a new hold starts a new timer
    Pump(100);
    EXPECT_GE(ticks, 2);
}

TEST_F(Button, RightPressOnlyFiresMouseDown) {
    TkelImageButton* b = AddButton(20, 20);
    Log(b);
    Hover(*b);
    Send(*b, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->RepeatTimerRunning());
    EXPECT_EQ(FaceAt(*b, 10, 10), kMouseOn);
    Send(*b, WM_RBUTTONUP, 0, 5, 5);
    EXPECT_EQ(log, (Log_t{"enter", "down-other", "up"}));
}

TEST_F(Button, CancelModeDropsTheHold) {
    TkelImageButton* b = AddButton(20, 20);
    Log(b);
    Hover(*b);
    Press(*b);
    SendMessageA(b->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->MouseOver());
    EXPECT_FALSE(b->RepeatTimerRunning());
    EXPECT_NE(GetCapture(), b->Handle());
    Release(*b);
    EXPECT_EQ(Count("click"), 0);
}

TEST_F(Button, SpaceAndEnterPressOnKeyDownAndClickOnKeyUp) {
    TkelImageButton* b = AddButton(20, 20);
    TkelImageButton* other = AddButton(100, 20);
    Log(b);
    b->SetFocus();
    ASSERT_TRUE(b->Focused());
    for (const WPARAM key : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) {
        Key(*b, WM_KEYDOWN, key);
        EXPECT_TRUE(b->Pressed());
        EXPECT_FALSE(b->RepeatTimerRunning()); // the keyboard starts no repeat timer
        EXPECT_EQ(FaceAt(*b, 10, 10), kMouseDown);
        Key(*b, WM_KEYDOWN, key); // auto-repeat keeps it pressed
        EXPECT_EQ(Count("click"), key == VK_SPACE ? 0 : 1);
        Key(*b, WM_KEYUP, key);
        EXPECT_FALSE(b->Pressed());
        EXPECT_EQ(FaceAt(*b, 10, 10), kNormal);
    }
    EXPECT_EQ(Count("click"), 2);
    other->SetFocus();
    Key(*b, WM_KEYDOWN, VK_SPACE); // without the focus a key presses nothing
    EXPECT_FALSE(b->Pressed());
    Key(*b, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(Count("click"), 2);
}

TEST_F(Button, DefaultButtonTakesEnterUnlessAModifierIsHeld) {
    TkelImageButton* a = AddButton(20, 20);
    TkelImageButton* d = AddButton(100, 20);
    Log(a, "a:");
    Log(d, "d:");
    d->SetDefault(true);
    EXPECT_TRUE(d->Active());
    EXPECT_FALSE(a->Active());
    a->SetFocus();
    EXPECT_TRUE(d->Active()); // a focus change keeps the default button active
    Key(*a, WM_KEYDOWN, VK_RETURN);
    Key(*a, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(log, (Log_t{"d:click"}));
    EXPECT_FALSE(a->Pressed());
    {
        const HeldKey shift(VK_SHIFT);
        Key(*a, WM_KEYDOWN, VK_RETURN);
    }
    EXPECT_EQ(Count("d:click"), 1);
    EXPECT_TRUE(a->Pressed()); // the focused button takes its own Enter instead
    Key(*a, WM_KEYUP, VK_RETURN);
    EXPECT_EQ(Count("a:click"), 1);
    d->SetDefault(false);
    EXPECT_FALSE(d->Active());
    // Default written before the window exists counts from the window's creation.
    auto* late = Make<TkelImageButton>();
    late->SetDefault(true);
    EXPECT_FALSE(late->Active());
    late->SetParent(form);
    ASSERT_TRUE(late->HandleAllocated());
    EXPECT_TRUE(late->Active());
}

TEST_F(Button, CancelButtonTakesEscapeAndHandsItsModalResultToTheForm) {
    TkelImageButton* a = AddButton(20, 20);
    TkelImageButton* c = AddButton(100, 20);
    Log(c);
    c->SetCancel(true);
    c->SetModalResult(mrCancel);
    a->SetFocus();
    {
        const HeldKey ctrl(VK_CONTROL);
        Key(*a, WM_KEYDOWN, VK_ESCAPE);
    }
    EXPECT_EQ(Count("click"), 0);
    Key(*a, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(Count("click"), 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // Every click writes the modal result, 0 included.
    c->SetModalResult(mrNone);
    Key(*a, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(form->ModalResult(), mrNone);
    // A button that cannot take the focus ignores its key.
    c->SetVisible(false);
    Key(*a, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(Count("click"), 2);
}

TEST_F(Button, AcceleratorNeedsAltUnlessASkinnedButtonHasTheFocus) {
    TkelImageButton* a = AddButton(20, 20);
    TkelImageButton* o = AddButton(100, 20);
    o->SetCaption("&Open");
    Log(o);
    auto* plain = Make<TButton>();
    plain->SetParent(form);
    plain->SetBounds(180, 20, 60, 24);
    plain->SetCaption("Plain");
    EXPECT_EQ(SendMessageA(a->Handle(), WM_BUTTONQUERY, 0, 0), 1);
    EXPECT_EQ(SendMessageA(plain->Handle(), WM_BUTTONQUERY, 0, 0), 0);

    a->SetFocus();
    Key(*a, WM_CHAR, 'o'); // plain letter, a skinned button has the focus
    EXPECT_EQ(Count("click"), 1);
    Key(*a, WM_SYSCHAR, 'O');
    EXPECT_EQ(Count("click"), 2);
    Key(*a, WM_CHAR, 'p');
    EXPECT_EQ(Count("click"), 2);

    plain->SetFocus();
    ASSERT_TRUE(plain->Focused());
    Key(*plain, WM_CHAR, 'o'); // no Alt and no skinned button focused
    EXPECT_EQ(Count("click"), 2);
    Key(*plain, WM_SYSCHAR, 'o');
    EXPECT_EQ(Count("click"), 3);

    o->SetEnabled(false);
    Key(*plain, WM_SYSCHAR, 'o');
    o->SetEnabled(true);
    o->SetCaption("&&Open"); // a doubled ampersand is a literal one
    Key(*plain, WM_SYSCHAR, 'o');
    EXPECT_EQ(Count("click"), 3);
}

TEST_F(Button, CreationDefaultsAndWindowClass) {
    TkelImageButton* b = AddButton(20, 20);
    EXPECT_TRUE(b->TabStop());
    EXPECT_EQ(b->MouseContinuouslyDownInterval(), 100);
    EXPECT_EQ(b->FocusedRectMargin(), 2);
    EXPECT_EQ(b->ModalResult(), 0);
    EXPECT_EQ(b->Caption(), "");
    EXPECT_FALSE(b->AutoSize() || b->Default() || b->Cancel() || b->Transparent());
    EXPECT_EQ(b->ControlStyle() & (csDoubleClicks | csAcceptsControls), 0u);
    // No double clicks: two quick presses are two clicks.
    EXPECT_EQ(GetClassLongA(b->Handle(), GCL_STYLE) & CS_DBLCLKS, 0u);
    Log(b);
    Hover(*b);
    for (int i = 0; i < 2; ++i) Press(*b), Release(*b);
    EXPECT_EQ(Count("click"), 2);

    auto* custom = Make<TkelCustomButton>();
    EXPECT_EQ(custom->UIStyle(), TkelUIStyle::DeepBlue);
    custom->SetUIStyle(TkelUIStyle::WinXP);
    EXPECT_EQ(custom->UIStyle(), TkelUIStyle::WinXP);
}

TEST_F(Button, CaptionFollowsTheControlText) {
    TkelImageButton* b = AddButton(20, 20);
    b->SetCaption("&Go");
    char text[32] = {};
    GetWindowTextA(b->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "&Go");
    static_cast<TControl*>(b)->SetCaption("Via text");
    EXPECT_EQ(b->Caption(), "Via text");
    SetPropValue(*b, "Caption", std::string("Stored"));
    EXPECT_EQ(b->Caption(), "Stored");
}

TEST_F(Button, ImageButtonPublishesNoFileThemeAndReadsFromThemeFile) {
    TkelImageButton* b = AddButton(20, 20);
    b->SetUIStyle(TkelUIStyle::WinXP);
    EXPECT_EQ(b->UIStyle(), TkelUIStyle::FromThemeFile);
    EXPECT_EQ(GetOrdProp(*b, "UIStyle"), 0);
    EXPECT_FALSE(IsPublishedProp(*b, "FileTheme"));
    for (const char* name : {"DrawFocused", "FocusedRectMargin", "Stretch", "Cancel", "Default",
                             "MouseContinuouslyDownInterval", "Caption", "Enabled", "TabOrder",
                             "Transparent", "ModalResult", "AutoSize", "TabStop"})
        EXPECT_TRUE(IsPublishedProp(*b, name)) << name;
    SetOrdProp(*b, "Stretch", 1);
    EXPECT_TRUE(b->Stretch());
    SetOrdProp(*b, "Enabled", 0);
    EXPECT_FALSE(b->Enabled());
    EXPECT_FALSE(IsWindowEnabled(b->Handle()));
}

TEST_F(Button, FreedFileThemeIsDroppedForDeepBlue) {
    auto* b = Make<TkelCustomButton>();
    b->SetParent(form);
    b->SetBounds(10, 10, 74, 21);
    auto theme = std::make_unique<TkelFileTheme>(nullptr);
    b->SetUIStyle(TkelUIStyle::WinXP);
    b->SetFileTheme(theme.get());
    theme.reset();
    EXPECT_EQ(b->FileTheme(), nullptr);
    EXPECT_EQ(b->UIStyle(), TkelUIStyle::DeepBlue);

    // A replaced theme, and a theme that outlives its button, leave nothing dangling.
    auto first = std::make_unique<TkelFileTheme>(nullptr);
    auto second = std::make_unique<TkelFileTheme>(nullptr);
    b->SetFileTheme(first.get());
    b->SetFileTheme(second.get());
    first.reset();
    EXPECT_EQ(b->FileTheme(), second.get());
    auto* gone = new TkelCustomButton(form);
    gone->SetFileTheme(second.get());
    delete gone;
    second.reset();
    EXPECT_EQ(b->FileTheme(), nullptr);
}

} // namespace
} // namespace kel::buttontest
