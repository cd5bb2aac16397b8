// Taking over windows on real windows under Wine: the hook list of windowed controls, the end of
// a window whatever a WndProc override does, the framework's notifications reaching hooks,
// subclassing a foreign window, and the application's message filters and events component.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/win/AppEvnts.h"
#include "framework/win/Forms.h"

namespace kel {
namespace {

constexpr UINT kProbe = WM_APP + 77;

std::vector<std::string> gLog;

// A hook that logs each probe message, and handles it with its own result when asked to.
class TLogHook : public TWindowHook {
public:
    TLogHook(TWinControl& control, std::string name, LRESULT own = 0)
        : TWindowHook(control), name_(std::move(name)), own_(own) {}

protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kProbe) return CallNext(message, wParam, lParam);
        gLog.push_back(name_);
        if (own_) return own_;
        return CallNext(message, wParam, lParam) + 1; // post-processing sees the older result
    }

private:
    std::string name_;
    LRESULT own_;
};

// A form whose window procedure answers the probe with 100.
class TProbeForm : public TForm {
public:
    using TForm::TForm;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) {
            gLog.push_back("form");
            return 100;
        }
        return TForm::WndProc(message, wParam, lParam);
    }
};

class WindowHooks : public ::testing::Test {
protected:
    void SetUp() override {
        InitFramework();
        gLog.clear();
        form = std::make_unique<TProbeForm>(nullptr);
        form->HandleNeeded();
    }
    LRESULT Probe() { return SendMessageA(form->Handle(), kProbe, 0, 0); }
    std::unique_ptr<TProbeForm> form;
};

TEST_F(WindowHooks, NewestHookSeesMessagesFirstAndResultsComeBackExactly) {
    EXPECT_EQ(Probe(), 100);
    auto older = std::make_unique<TLogHook>(*form, "older");
    auto newer = std::make_unique<TLogHook>(*form, "newer");
    gLog.clear();
    EXPECT_EQ(Probe(), 102); // form 100, older +1, newer +1
    EXPECT_EQ(gLog, (std::vector<std::string>{"newer", "older", "form"}));

    // A hook that handles the message itself: nothing older sees it.
    auto owner = std::make_unique<TLogHook>(*form, "owner", 0x7FFF1234);
    gLog.clear();
    EXPECT_EQ(Probe(), 0x7FFF1234);
    EXPECT_EQ(gLog, (std::vector<std::string>{"owner"}));
}

TEST_F(WindowHooks, HooksLeaveInAnyOrderAndMayOutliveTheirControl) {
    auto first = std::make_unique<TLogHook>(*form, "first");
    auto second = std::make_unique<TLogHook>(*form, "second");
    auto third = std::make_unique<TLogHook>(*form, "third");
    second.reset(); // from the middle
    gLog.clear();
    EXPECT_EQ(Probe(), 102);
    EXPECT_EQ(gLog, (std::vector<std::string>{"third", "first", "form"}));
    first.reset(); // the oldest, then the newest
    third.reset();
    gLog.clear();
    EXPECT_EQ(Probe(), 100);
    EXPECT_EQ(gLog, (std::vector<std::string>{"form"}));

    auto survivor = std::make_unique<TLogHook>(*form, "survivor");
    form.reset();
    EXPECT_EQ(survivor->Control(), nullptr);
    survivor.reset(); // no access to the freed control
}

// A hook freed by the control's own handling of a message the hook passed on (a command that
// removes the component that hooked the form).
class TFreedOnProbe : public TWindowHook {
public:
    TFreedOnProbe(TWinControl& control, std::unique_ptr<TFreedOnProbe>& holder)
        : TWindowHook(control), holder_(holder) {}

protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kProbe) return CallNext(message, wParam, lParam);
        gLog.push_back("freed");
        holder_.reset(); // the hook is gone from here on: nothing of it is touched any more
        return 7;
    }

private:
    std::unique_ptr<TFreedOnProbe>& holder_;
};

TEST_F(WindowHooks, AHookMayBeFreedInsideItsOwnMessage) {
    auto older = std::make_unique<TLogHook>(*form, "older");
    std::unique_ptr<TFreedOnProbe> freed;
    freed = std::make_unique<TFreedOnProbe>(*form, freed);
    auto newer = std::make_unique<TLogHook>(*form, "newer");
    gLog.clear();
    EXPECT_EQ(Probe(), 8); // its own answer, plus the newer hook's post-processing
    EXPECT_EQ(freed, nullptr);
    gLog.clear();
    EXPECT_EQ(Probe(), 102);
    EXPECT_EQ(gLog, (std::vector<std::string>{"newer", "older", "form"}));
}

// Records the framework's notifications; after the recreation it takes the caption away from
// the new window, as a skinned frame does.
class TNotificationHook : public TWindowHook {
public:
    using TWindowHook::TWindowHook;
    std::vector<UINT> seen;
    std::vector<WPARAM> parentNotifyCodes;

protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != CM_RECREATEWND && message != CM_FLOAT && message != CN_PARENTNOTIFY &&
            message != CN_COMMAND)
            return CallNext(message, wParam, lParam);
        seen.push_back(message);
        if (message == CN_PARENTNOTIFY) parentNotifyCodes.push_back(LOWORD(wParam));
        const LRESULT r = CallNext(message, wParam, lParam);
        if (message == CM_RECREATEWND || message == CM_FLOAT) {
            HWND h = Control()->Handle();
            SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~WS_CAPTION);
        }
        return r;
    }
};

class TRecreatable : public TProbeForm {
public:
    using TProbeForm::RecreateWnd;
    using TProbeForm::TProbeForm;
};

TEST_F(WindowHooks, RecreatingAWindowIsANotificationTheHookSeesAndOutlives) {
    TRecreatable recreated(nullptr);
    HWND first = recreated.Handle();
    TNotificationHook hook(recreated);
    TLogHook logger(recreated, "logger");
    recreated.RecreateWnd();
    HWND second = recreated.Handle();
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(hook.seen, (std::vector<UINT>{CM_RECREATEWND}));
    EXPECT_EQ(GetWindowLongA(second, GWL_STYLE) & WS_CAPTION, 0); // the hook acted after it
    gLog.clear();
    EXPECT_EQ(SendMessageA(second, kProbe, 0, 0), 101); // the new window's messages reach them
    EXPECT_EQ(gLog, (std::vector<std::string>{"logger", "form"}));
}

TEST_F(WindowHooks, AFormFloatedOffItsHostIsToldAndItsHooksSeeIt) {
    form->SetBounds(60, 60, 400, 300);
    form->Show();
    TForm docked(nullptr);
    TNotificationHook hook(docked);
    docked.SetBounds(10, 20, 200, 100);
    docked.SetParent(form.get());
    docked.Show();
    HWND inside = docked.Handle();
    EXPECT_EQ(GetParent(inside), form->Handle());
    EXPECT_EQ(GetWindowLongA(inside, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(IsWindowVisible(inside));
    RECT before;
    GetWindowRect(inside, &before);

    docked.SetParent(nullptr);
    HWND floating = docked.Handle();
    EXPECT_FALSE(IsWindow(inside));
    EXPECT_EQ(GetAncestor(floating, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(IsWindowVisible(floating));
    EXPECT_EQ(std::count(hook.seen.begin(), hook.seen.end(), CM_FLOAT), 1);
    EXPECT_EQ(GetWindowLongA(floating, GWL_STYLE) & WS_CAPTION, 0); // the hook acted after it
    RECT after;
    GetWindowRect(floating, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST_F(WindowHooks, ChildNotificationsToTheParentComeBackToTheChildsHooks) {
    auto* child = new TWinControl(form.get()); // owned and freed by the form
    TNotificationHook hook(*child);
    child->SetParent(form.get());
    HWND window = child->Handle();
    EXPECT_EQ(hook.parentNotifyCodes, (std::vector<WPARAM>{WM_CREATE}));
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
    DestroyWindow(window);
    EXPECT_EQ(hook.seen, (std::vector<UINT>{CN_PARENTNOTIFY, CN_COMMAND, CN_PARENTNOTIFY}));
    EXPECT_EQ(hook.parentNotifyCodes, (std::vector<WPARAM>{WM_CREATE, WM_DESTROY}));
}

// A control whose WndProc swallows every message, WM_NCDESTROY included.
class TSwallowing : public TForm {
public:
    using TForm::TForm;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCDESTROY || message == WM_DESTROY) return 0;
        return TForm::WndProc(message, wParam, lParam);
    }
};

TEST_F(WindowHooks, AWindowDestroyedBehindTheControlsBackIsForgottenWhateverWndProcDoes) {
    TSwallowing control(nullptr);
    HWND first = control.Handle();
    DestroyWindow(first);
    EXPECT_FALSE(control.HandleAllocated());
    EXPECT_EQ(TWinControl::FromHandle(first), nullptr);
    HWND second = control.Handle(); // a new window on demand
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(TWinControl::FromHandle(second), &control);
}

// A target that counts the probes of a window it subclassed.
class TCounter : public TWindowTarget {
public:
    TWindowBinding binding{*this};
    int probes = 0;
    bool destroyed = false;
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) return ++probes;
        return binding.Default(message, wParam, lParam);
    }
    void WindowDestroyed() override { destroyed = true; }
};

TEST_F(WindowHooks, ForeignWindowsAreSubclassedAndGivenBack) {
    HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    TCounter counter;
    ASSERT_TRUE(counter.binding.Attach(foreign));
    EXPECT_FALSE(TCounter().binding.Attach(foreign)); // bound already
    EXPECT_EQ(SendMessageA(foreign, kProbe, 0, 0), 1);
    char text[32] = {};
    GetWindowTextA(foreign, text, sizeof text); // the class's own handling still works
    EXPECT_STREQ(text, "foreign");
    counter.binding.Detach();
    EXPECT_EQ(SendMessageA(foreign, kProbe, 0, 0), 0);
    EXPECT_TRUE(IsWindow(foreign)); // given back, not destroyed

    ASSERT_TRUE(counter.binding.Attach(foreign));
    DestroyWindow(foreign);
    EXPECT_TRUE(counter.destroyed);
    EXPECT_EQ(counter.binding.Handle(), nullptr);
}

class MessageFilters : public WindowHooks {
protected:
    // Posts a key to the form and runs the queue through the application's loop.
    void PostKeyAndPump(WORD key) {
        PostMessageA(form->Handle(), WM_KEYDOWN, key, 0);
        Application->ProcessMessages();
    }
};

TEST_F(MessageFilters, AFilterThatHandlesAKeyStopsItNewestFirst) {
    std::vector<WPARAM> keys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    std::vector<std::string> order;
    TMessageFilterRegistration older = Application->AddMessageFilter([&](MSG& msg) {
        if (msg.message != WM_KEYDOWN) return false;
        order.push_back("older");
        return msg.wParam == 'A';
    });
    TMessageFilterRegistration newer = Application->AddMessageFilter([&](MSG& msg) {
        if (msg.message != WM_KEYDOWN) return false;
        order.push_back("newer");
        return msg.wParam == 'B';
    });
    PostKeyAndPump('A');
    PostKeyAndPump('B');
    PostKeyAndPump('C');
    EXPECT_EQ(keys, (std::vector<WPARAM>{'C'}));
    EXPECT_EQ(order, (std::vector<std::string>{"newer", "older", "newer", "newer", "older"}));

    newer.Reset();
    keys.clear();
    PostKeyAndPump('B');
    EXPECT_EQ(keys, (std::vector<WPARAM>{'B'}));
    older = TMessageFilterRegistration(); // moving an empty one in removes the old filter
    PostKeyAndPump('A');
    EXPECT_EQ(keys, (std::vector<WPARAM>{'B', 'A'}));
}

TEST_F(MessageFilters, AFilterMayRemoveItselfOrRaiseWithoutStoppingTheLoop) {
    std::vector<std::string> shown;
    Application->ExceptionBox = [&](const std::string& text, const std::string&) {
        shown.push_back(text);
    };
    int seen = 0;
    TMessageFilterRegistration self;
    self = Application->AddMessageFilter([&](MSG& msg) {
        if (msg.message != WM_KEYDOWN) return false;
        ++seen;
        self.Reset();
        return true;
    });
    TMessageFilterRegistration raising = Application->AddMessageFilter([](MSG& msg) -> bool {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'R') throw Exception("Filter failed");
        return false;
    });
    int keys = 0;
    form->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };
    PostKeyAndPump('R'); // raises, then the self-removing filter takes it
    PostKeyAndPump('S');
    Application->ExceptionBox = nullptr;
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"Filter failed."}));
}

TEST_F(MessageFilters, ApplicationEventsSeeEveryQueuedMessageAndMayStopIt) {
    std::vector<WPARAM> keys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    auto events = std::make_unique<TApplicationEvents>(nullptr);
    std::vector<UINT> seen;
    events->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_KEYDOWN || msg.message == kProbe) seen.push_back(msg.message);
        handled = msg.message == WM_KEYDOWN && msg.wParam == 'X';
    };
    PostKeyAndPump('X');
    PostKeyAndPump('Y');
    PostThreadMessageA(GetCurrentThreadId(), kProbe, 0, 0); // a message of no window
    Application->ProcessMessages();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, kProbe}));
    EXPECT_EQ(keys, (std::vector<WPARAM>{'Y'}));

    // Freed from inside its own event: the message goes on, and the next one passes untouched.
    events->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message != WM_KEYDOWN) return;
        events.reset();
        handled = false;
        (void)msg;
    };
    PostKeyAndPump('Z');
    EXPECT_EQ(events, nullptr);
    PostKeyAndPump('X');
    EXPECT_EQ(keys, (std::vector<WPARAM>{'Y', 'Z', 'X'}));
}

} // namespace
} // namespace kel
