// Modal showing of forms: the application's other windows take no input while the form runs its
// own message loop, and everything is put back on every way out.
#include <vector>

#include "framework/win/Forms.h"

namespace kel {

namespace {

// The state a modal form changes for its lifetime: the thread's other enabled windows, which it
// disables, and the window and control that had the focus. Restored on destruction, so a normal
// end and an exception leave the application in the same state.
class TModalScope {
public:
    TModalScope(TCustomForm& form, bool& modalFlag)
        : form_(form), modalFlag_(modalFlag), previousFocus_(GetFocus()),
          previousActive_(GetActiveWindow()), except_(form.Handle()) {
        EnumThreadWindows(GetCurrentThreadId(), &TModalScope::DisableWindow,
                          reinterpret_cast<LPARAM>(this));
        modalFlag_ = true;
    }
    ~TModalScope() {
        modalFlag_ = false;
        for (HWND w : disabled_) EnableWindow(w, TRUE);
        SafeCall([this] { form_.Hide(); });
        if (previousActive_ && IsWindow(previousActive_)) SetActiveWindow(previousActive_);
        if (previousFocus_ && IsWindow(previousFocus_)) ::SetFocus(previousFocus_);
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    static BOOL CALLBACK DisableWindow(HWND window, LPARAM data) {
        auto* scope = reinterpret_cast<TModalScope*>(data);
        if (window != scope->except_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
            scope->disabled_.push_back(window);
            EnableWindow(window, FALSE);
        }
        return TRUE;
    }

    TCustomForm& form_;
    bool& modalFlag_;
    HWND previousFocus_;
    HWND previousActive_;
    HWND except_;
    std::vector<HWND> disabled_;
};

} // namespace

int TCustomForm::ShowModal() {
    if (Visible() || modal_) throw Exception("Cannot make a visible window modal");
    modalResult_ = mrNone;
    const TModalScope scope(*this, modal_);
    Show();
    while (modalResult_ == mrNone) {
        if (!Application->HandleMessage()) {
            PostQuitMessage(0); // let the outer loop see the quit too
            modalResult_ = mrCancel;
        }
    }
    return modalResult_;
}

} // namespace kel
