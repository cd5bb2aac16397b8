// Taking over windows on real windows under Wine: the hook list of windowed controls, the end of
// a window whatever a WndProc override does, subclassing a foreign window, and the application's
// message filters.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

} // namespace
} // namespace kel
