// The tool bar: the common controls' tool bar window, its buttons kept in step with the tool
// button components on it, and its layout.
#include "framework/win/ComCtrls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/win/MouseMessages.h"

namespace kel {

namespace {

// Sets a flag for a scope; layout changes the bar's size, which asks for layout again.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

const TClassInfo& TToolBar::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TToolBar", &TWinControl::StaticClassInfo());
        TPublisher<TToolBar>(i)
            .Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
            .Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
            .Property("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable)
            .Property("AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize)
            .Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
            .Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth);
        return i;
    }();
    return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
    TWinControl::SetBounds(0, 0, 150, 29);
}

TToolBar::~TToolBar() {
    *alive_ = false;
    // The buttons stay with their owners as plain controls; the window part detaches them.
    for (TToolButton* button : buttons_) button->toolBar_ = nullptr;
    buttons_.clear();
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SystemClass = TOOLBARCLASSNAME;
    // The framework places and sizes the bar; the bar draws no divider line of its own.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (flat_) params.Style |= TBSTYLE_FLAT;
    if (wrapable_) params.Style |= TBSTYLE_WRAPABLE;
}

void TToolBar::CreateWnd() {
    TWinControl::CreateWnd();
    HWND window = Handle();
    SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0)); // captions only, no images
    SendMessageA(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    for (size_t i = 0; i < buttons_.size(); ++i) AddNativeButton(buttons_[i], static_cast<int>(i));
    Relayout();
}

void TToolBar::UpdateStyle() {
    if (!HandleAllocated()) return;
    TCreateParams params;
    CreateParams(params);
    HWND window = Handle();
    const DWORD kept =
        static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~(TBSTYLE_FLAT | TBSTYLE_WRAPABLE);
    SetWindowLongA(window, GWL_STYLE,
                   static_cast<LONG>(kept | (params.Style & (TBSTYLE_FLAT | TBSTYLE_WRAPABLE))));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Relayout();
    Invalidate();
}

void TToolBar::SetFlat(bool value) {
    flat_ = value;
    UpdateStyle();
}

void TToolBar::SetWrapable(bool value) {
    wrapable_ = value;
    UpdateStyle();
}

void TToolBar::SetEdgeBorders(TEdgeBorders value) {
    edgeBorders_ = value & (ebLeft | ebTop | ebRight | ebBottom);
    UpdateStyle(); // the frame changed: WM_NCCALCSIZE measures the edges again
}

void TToolBar::SetShowCaptions(bool value) {
    if (showCaptions_ == value) return;
    showCaptions_ = value;
    for (TToolButton* button : buttons_) ButtonChanged(button);
}

void TToolBar::SetAutoSize(bool value) {
    autoSize_ = value;
    Relayout();
}

void TToolBar::SetButtonHeight(int value) {
    buttonHeight_ = std::max(1, value);
    if (HandleAllocated())
        SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    Relayout();
}

void TToolBar::SetButtonWidth(int value) {
    buttonWidth_ = std::max(1, value);
    if (HandleAllocated())
        SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    Relayout();
}

void TToolBar::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    Relayout(); // a new width wraps the buttons anew
}

void TToolBar::FontChanged() {
    TWinControl::FontChanged();
    Relayout();
}

// ---- Buttons -----------------------------------------------------------------------------------

void TToolBar::InsertButton(TToolButton* button) {
    button->toolBar_ = this;
    do {
        button->command_ = nextCommand_;
        nextCommand_ = nextCommand_ >= 0xFFFF ? 1 : nextCommand_ + 1;
    } while (std::any_of(buttons_.begin(), buttons_.end(),
                         [&](const TToolButton* b) { return b->command_ == button->command_; }));
    const auto at = std::find_if(buttons_.begin(), buttons_.end(),
                                 [&](const TToolButton* b) { return b->Left() >= button->Left(); });
    const int index = static_cast<int>(at - buttons_.begin());
    buttons_.insert(at, button);
    if (HandleAllocated()) AddNativeButton(button, index);
    Relayout();
}

void TToolBar::RemoveButton(TToolButton* button) {
    if (HandleAllocated()) {
        const int index = NativeIndex(button);
        if (index >= 0) SendMessageA(Handle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
    }
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
    if (menuButton_ == button) menuButton_ = nullptr;
    if (switchTo_ == button) switchTo_ = nullptr;
    button->toolBar_ = nullptr;
    Relayout();
}

namespace {

BYTE NativeState(const TToolButton& button) {
    BYTE state = 0;
    if (button.Enabled()) state |= TBSTATE_ENABLED;
    if (!button.Visible()) state |= TBSTATE_HIDDEN;
    return state;
}

BYTE NativeStyle(const TToolButton& button) {
    // The caption's "&" marks its accelerator letter, underlined by the bar.
    return static_cast<BYTE>(BTNS_BUTTON | (button.AutoSize() ? BTNS_AUTOSIZE : 0));
}

} // namespace

void TToolBar::AddNativeButton(TToolButton* button, int index) {
    const std::string text = showCaptions_ ? button->Caption() : std::string();
    TBBUTTON native{};
    native.iBitmap = I_IMAGENONE;
    native.idCommand = static_cast<int>(button->command_);
    native.fsState = NativeState(*button);
    native.fsStyle = NativeStyle(*button);
    native.iString = reinterpret_cast<INT_PTR>(text.c_str());
    SendMessageA(Handle(), TB_INSERTBUTTONA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&native));
    ButtonChanged(button); // the width of a button that is not sized to its caption
}

void TToolBar::ButtonChanged(TToolButton* button) {
    if (!HandleAllocated()) return;
    std::string text = showCaptions_ ? button->Caption() : std::string();
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_STATE | TBIF_STYLE | TBIF_SIZE;
    info.fsState = NativeState(*button);
    info.fsStyle = NativeStyle(*button);
    info.pszText = &text[0];
    // A width of 0 lets the bar size the button to its caption.
    info.cx = button->AutoSize() ? 0 : static_cast<WORD>(std::clamp(button->Width(), 0, 0xFFFF));
    // A pressed button (its menu is open) stays pressed.
    if (button == menuButton_) info.fsState |= TBSTATE_PRESSED;
    SendMessageA(Handle(), TB_SETBUTTONINFOA, button->command_, reinterpret_cast<LPARAM>(&info));
    Relayout();
}

int TToolBar::NativeIndex(const TToolButton* button) const {
    if (!HandleAllocated()) return -1;
    return static_cast<int>(SendMessageA(const_cast<TToolBar*>(this)->Handle(), TB_COMMANDTOINDEX,
                                         button->command_, 0));
}

TToolButton* TToolBar::ButtonOfCommand(UINT command) const {
    for (TToolButton* button : buttons_)
        if (button->command_ == command) return button;
    return nullptr;
}

TToolButton* TToolBar::ButtonAt(POINT client) const {
    HWND window = const_cast<TToolBar*>(this)->Handle();
    const auto index =
        static_cast<int>(SendMessageA(window, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client)));
    if (index < 0) return nullptr;
    TBBUTTON native{};
    if (!SendMessageA(window, TB_GETBUTTON, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&native)))
        return nullptr;
    return ButtonOfCommand(static_cast<UINT>(native.idCommand));
}

void TToolBar::Relayout() {
    if (!HandleAllocated() || relayingOut_) return;
    const TFlagScope scope(relayingOut_);
    HWND window = Handle();
    // The bar measures its buttons anew as they come and go; the height asked for stays.
    SendMessageA(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    SendMessageA(window, TB_AUTOSIZE, 0, 0); // lays the buttons out (the bar keeps its size)
    int bottom = 0;
    for (TToolButton* button : buttons_) {
        RECT r{0, 0, 0, 0};
        const int index = NativeIndex(button);
        if (index < 0 || !button->Visible() ||
            !SendMessageA(window, TB_GETITEMRECT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&r)))
            continue;
        bottom = std::max(bottom, static_cast<int>(r.bottom));
        if (r.left != button->Left() || r.top != button->Top() ||
            r.right - r.left != button->Width() || r.bottom - r.top != button->Height())
            button->TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    if (!autoSize_) return;
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int frame = (outer.bottom - outer.top) - client.bottom;
    const int height = (bottom > 0 ? bottom : buttonHeight_) + frame;
    if (height != Height()) TWinControl::SetBounds(Left(), Top(), Width(), height);
}

// ---- Messages ----------------------------------------------------------------------------------

LRESULT TToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_MENUSELECT && menuButton_) {
        // Where the selection is decides what the left and right keys do (ToolBarMenu.cpp).
        selectedMenu_ = reinterpret_cast<HMENU>(lParam);
        selectedOpensPopup_ = HIWORD(wParam) != 0xFFFF && (HIWORD(wParam) & MF_POPUP);
    }
    // The drop-down menus opened here report to the bar's window.
    if (TMenu::DispatchMenuMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A menu button opens on the press, as on a menu bar.
        TToolButton* button = ButtonAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (button && button->Enabled() && button->MenuItem() && button->MenuItem()->Count() > 0) {
            TrackMenu(button);
            return 0;
        }
        return DefaultHandler(message, wParam, lParam);
    }
    case CN_COMMAND:
        if (TToolButton* button = ButtonOfCommand(LOWORD(wParam))) button->Click();
        return 0;
    case CN_NOTIFY:
        return CustomDraw(reinterpret_cast<NMHDR*>(lParam));
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return NonClient(message, wParam, lParam);
    case WM_ERASEBKGND:
        // The bar's own colour under the buttons (the custom draw may paint over it).
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SIZE: {
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        Relayout();
        return r;
    }
    default:
        // The window's own buttons take the mouse, not the framework's windowless children.
        if (IsMouseMessage(message)) return DefaultHandler(message, wParam, lParam);
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

} // namespace kel
