// Keyboard input of windowed controls: key events, navigation keys and accelerator characters
// offered to the form, tab order and focus.
#include "framework/win/Controls.h"

#include <algorithm>

#include "framework/win/Forms.h"

namespace kel {

// Keys first go through the framework: the control's key events, then the form's menu shortcuts,
// then navigation keys to the form as dialog keys and characters to the form as accelerators.
// True when used up there.
bool TWinControl::PreTranslateKey(UINT message, WPARAM wParam) {
    if (Designing()) return false;
    TCustomForm* form = GetParentForm(this);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        KeyDown(key, KeyboardShiftState());
        if (key == 0) return true;
        if (form && form->IsShortCut(key, KeyboardShiftState())) return true;
        switch (key) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL: {
            const LRESULT code = SendMessageA(window_.Handle(), WM_GETDLGCODE, 0, 0);
            const LRESULT wanted =
                (key == VK_TAB) ? DLGC_WANTTAB
                : (key == VK_RETURN || key == VK_ESCAPE || key == VK_EXECUTE || key == VK_CANCEL)
                    ? DLGC_WANTALLKEYS
                    : DLGC_WANTARROWS;
            if ((code & (wanted | DLGC_WANTALLKEYS)) == 0 && form &&
                form->HandleDialogKey(key, KeyboardShiftState()))
                return true;
            break;
        }
        default:
            break;
        }
        return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(wParam);
        KeyUp(key, KeyboardShiftState());
        return key == 0;
    }
    case WM_CHAR: {
        char ch = static_cast<char>(wParam);
        KeyPress(ch);
        if (ch == 0) return true;
        const LRESULT code = SendMessageA(window_.Handle(), WM_GETDLGCODE, 0, 0);
        return (code & DLGC_WANTCHARS) == 0 && form &&
               form->HandleDialogChar(ch, KeyboardShiftState());
    }
    case WM_SYSCHAR:
        return form &&
               form->HandleDialogChar(static_cast<char>(wParam), KeyboardShiftState() | ssAlt);
    default:
        return false;
    }
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    SafeCall([&] {
        if (OnKeyDown) OnKeyDown(this, key, shift);
    });
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    SafeCall([&] {
        if (OnKeyUp) OnKeyUp(this, key, shift);
    });
}
void TWinControl::KeyPress(char& key) {
    SafeCall([&] {
        if (OnKeyPress) OnKeyPress(this, key);
    });
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const int at = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + at, this);
}

bool TWinControl::Focused() const {
    return window_.Handle() && GetFocus() == window_.Handle();
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
    // Every windowed control under this one, depth first in tab order.
    std::vector<TWinControl*> all;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* parent) {
        for (TWinControl* w : parent->tabList_) {
            all.push_back(w);
            collect(w);
        }
    };
    collect(this);
    if (all.empty()) return nullptr;
    const auto n = static_cast<int>(all.size());
    int start = static_cast<int>(std::find(all.begin(), all.end(), current) - all.begin());
    if (start == n) start = forward ? n - 1 : 0;
    for (int step = 1; step <= n; ++step) {
        const int i = ((forward ? start + step : start - step) % n + n) % n;
        TWinControl* w = all[i];
        if ((!checkTabStop || w->TabStop()) && w->CanFocus() && w->ControlCount() == 0) return w;
    }
    return nullptr;
}

bool TWinControl::DialogKey(WORD key, TShiftState shift) {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->DialogKey(key, shift)) return true;
    return false;
}

bool TWinControl::DialogChar(char ch, TShiftState shift) {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->DialogChar(ch, shift)) return true;
    return false;
}

void TWinControl::FocusChanged(TWinControl* focused) {
    for (size_t i = 0; i < controls_.size(); ++i) controls_[i]->FocusChanged(focused);
}

} // namespace kel
