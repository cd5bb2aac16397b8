// Menu buttons of the tool bar: a button bound to a menu item drops the item's sub-menu down
// under itself, the mouse moving onto another grouped menu button switches menus as on a menu
// bar, and the &-letter of a caption presses its button.
#include "framework/win/ComCtrls.h"

#include "framework/win/StdCtrls.h"

namespace kel {

namespace {

// The bar whose menu is open on this thread (while it lives: a handler inside the menu loop may
// free it), and the message filter that watches the menu loop for it. Restored on every way out
// of the loop.
struct TTracked {
    TToolBar* bar = nullptr;
    std::weak_ptr<bool> alive;
    TToolBar* Live() const { return alive.expired() ? nullptr : bar; }
};
thread_local TTracked tTracked;

class TMenuTracking {
public:
    TMenuTracking(TToolBar* bar, std::weak_ptr<bool> alive, HOOKPROC filter)
        : outer_(tTracked),
          hook_(SetWindowsHookExA(WH_MSGFILTER, filter, nullptr, GetCurrentThreadId())) {
        tTracked = {bar, std::move(alive)};
    }
    ~TMenuTracking() {
        if (hook_) UnhookWindowsHookEx(hook_);
        tTracked = outer_;
    }
    TMenuTracking(const TMenuTracking&) = delete;
    TMenuTracking& operator=(const TMenuTracking&) = delete;

private:
    TTracked outer_;
    HHOOK hook_;
};

bool HasSubMenu(const TToolButton* button) {
    return button && button->Enabled() && button->Visible() && button->MenuItem() &&
           button->MenuItem()->Count() > 0;
}

} // namespace

LRESULT CALLBACK TToolBar::MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    TToolBar* bar = code == MSGF_MENU && lParam ? tTracked.Live() : nullptr;
    if (bar) {
        const MSG& message = *reinterpret_cast<const MSG*>(lParam);
        if (message.message == WM_MOUSEMOVE) bar->FollowMouse(message.pt);
        if (message.message == WM_KEYDOWN && bar->FollowKey(message.wParam))
            return 1; // used up: the menu loop ends without it
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TToolBar::FollowMouse(POINT screen) {
    if (!menuButton_ || !menuButton_->Grouping() || switchTo_ || !HandleAllocated()) return;
    POINT client = screen;
    ::ScreenToClient(Handle(), &client);
    TToolButton* button = ButtonAt(client);
    if (button && button != menuButton_ && button->Grouping() && HasSubMenu(button))
        SwitchMenu(button, false);
}

bool TToolBar::FollowKey(WPARAM key) {
    if ((key != VK_LEFT && key != VK_RIGHT) || !menuButton_ || !menuButton_->Grouping() ||
        switchTo_ || !menuButton_->MenuItem())
        return false;
    // Left inside a sub-menu closes it, right on an entry with a sub-menu opens it: the menu's.
    if (key == VK_LEFT && selectedMenu_ && selectedMenu_ != menuButton_->MenuItem()->Handle())
        return false;
    if (key == VK_RIGHT && selectedOpensPopup_) return false;
    const int count = ButtonCount();
    const int step = key == VK_RIGHT ? 1 : count - 1;
    for (int i = (menuButton_->Index() + step) % count; buttons_[i] != menuButton_;
         i = (i + step) % count) {
        if (buttons_[i]->Grouping() && HasSubMenu(buttons_[i])) {
            SwitchMenu(buttons_[i], true);
            return true;
        }
    }
    return false;
}

void TToolBar::SwitchMenu(TToolButton* next, bool byKeyboard) {
    switchTo_ = next;
    switchByKeyboard_ = byKeyboard;
    EndMenu(); // the loop ends; TrackMenu opens the next button's menu
}

bool TToolBar::TrackMenu(TToolButton* button, bool byKeyboard) {
    if (!button || button->toolBar_ != this || !HasSubMenu(button) || !HandleAllocated() ||
        menuButton_)
        return false;
    const std::weak_ptr<bool> alive = alive_;
    while (button) {
        button = RunMenu(button, byKeyboard);
        if (alive.expired()) break; // a menu command freed the bar
    }
    return true;
}

TToolButton* TToolBar::RunMenu(TToolButton* button, bool& byKeyboard) {
    HWND window = Handle();
    RECT r{0, 0, 0, 0};
    SendMessageA(window, TB_GETITEMRECT, static_cast<WPARAM>(NativeIndex(button)),
                 reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    menuButton_ = button;
    switchTo_ = nullptr;
    selectedMenu_ = nullptr;
    selectedOpensPopup_ = false;
    SendMessageA(window, TB_PRESSBUTTON, button->command_, TRUE);
    TMenuItem* item = button->MenuItem();
    HMENU menu = item->Handle();
    item->RefreshEntries();
    // Opened from the keyboard, the menu starts with its first item selected.
    if (byKeyboard) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
    const std::weak_ptr<bool> alive = alive_;
    UINT command = 0;
    {
        const TMenuTracking tracking(this, alive, &TToolBar::MenuFilter);
        command = static_cast<UINT>(TrackPopupMenu(
            menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
            static_cast<int>(r.left), static_cast<int>(r.bottom), 0, window, nullptr));
    }
    TToolButton* next = nullptr;
    if (!alive.expired()) {
        next = switchTo_;
        byKeyboard = switchByKeyboard_;
        switchTo_ = nullptr;
        // The button may have left the bar, or the bar its window, while the menu was open.
        const bool stillHere = menuButton_ == button;
        menuButton_ = nullptr;
        if (stillHere && HandleAllocated())
            SendMessageA(Handle(), TB_PRESSBUTTON, button->command_, FALSE);
    }
    // Looked up after the loop: a handler may have freed the item meanwhile. Its click may free
    // the bar, so it comes last.
    if (TMenuItem* chosen = command ? TMenuItem::FromCommand(command) : nullptr) {
        chosen->Click();
        return nullptr;
    }
    return next;
}

bool TToolBar::DialogChar(char ch, TShiftState shift) {
    if (Enabled() && Showing() && showCaptions_ && HandleAllocated()) {
        for (TToolButton* button : buttons_) {
            if (!button->Visible() || !button->Enabled() || !IsAccel(ch, button->Caption()))
                continue;
            if (HasSubMenu(button))
                TrackMenu(button, true);
            else
                button->Click();
            return true;
        }
    }
    return TWinControl::DialogChar(ch, shift);
}

} // namespace kel
