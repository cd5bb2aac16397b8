// The window procedure of windowed controls: the hook list, the framework's key handling, the
// control's WndProc and the default handling of the window's class.
#include "framework/win/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/win/Forms.h"
#include "framework/win/MouseMessages.h"

namespace kel {

// ---- Hooks -------------------------------------------------------------------------------------

TWindowHook::TWindowHook(TWinControl& control) : control_(&control) {
    control.hooks_.insert(control.hooks_.begin(), this);
}

TWindowHook::~TWindowHook() {
    if (!control_) return;
    auto& hooks = control_->hooks_;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
}

LRESULT TWindowHook::CallNext(UINT message, WPARAM wParam, LPARAM lParam) {
    return control_ ? control_->CallHooksAfter(this, message, wParam, lParam) : 0;
}

LRESULT TWinControl::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallHooksAfter(nullptr, message, wParam, lParam);
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallHooksAfter(nullptr, message, wParam, lParam);
}

LRESULT TWinControl::CallHooksAfter(const TWindowHook* after, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    // Found again on every call: hooks may come and go while a message is on its way. A hook
    // removed during its own turn passes the message straight to the control.
    auto next = hooks_.begin();
    if (after) {
        next = std::find(hooks_.begin(), hooks_.end(), after);
        next = next == hooks_.end() ? next : next + 1;
    }
    if (next != hooks_.end()) return (*next)->HookMessage(message, wParam, lParam);
    return DispatchToControl(message, wParam, lParam);
}

LRESULT TWinControl::DispatchToControl(UINT message, WPARAM wParam, LPARAM lParam) {
    if (PreTranslateKey(message, wParam)) return 0;
    return WndProc(message, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return window_.Default(message, wParam, lParam);
}

// ---- The control's own handling ----------------------------------------------------------------

bool TWinControl::MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsMouseMessage(message)) return false;
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (message == WM_MOUSEMOVE) TrackMouse({x, y});
    if (RouteMouseToChild(message, wParam, lParam)) return true;
    if (message == WM_MOUSEMOVE) {
        HandleMouseMove(MouseShift(wParam), x, y);
    } else if (message != WM_MOUSEWHEEL) {
        HandleMouseButton(message, MouseShift(wParam), x, y);
        if (!IsButtonDown(message) && !MouseCapture()) {
            // A release outside the window ends the hover the system would report later.
            POINT p;
            GetCursorPos(&p);
            if (WindowFromPoint(p) != window_.Handle()) LeaveMouse();
        }
    }
    return false;
}

// Notifications of system controls come back to the control that sent them, through its hooks:
// WM_COMMAND and WM_NOTIFY as their answer, WM_PARENTNOTIFY of a child's creation or end as news
// the parent still handles itself.
bool TWinControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND from = nullptr;
    if (message == WM_NOTIFY) {
        if (const auto* header = reinterpret_cast<const NMHDR*>(lParam)) from = header->hwndFrom;
    } else if (message == WM_COMMAND || LOWORD(wParam) == WM_CREATE ||
               LOWORD(wParam) == WM_DESTROY) {
        from = reinterpret_cast<HWND>(lParam);
    }
    TWinControl* child = from ? FromHandle(from) : nullptr;
    if (!child || child == this) return false;
    result = child->Perform(CN_BASE + message, wParam, lParam);
    return message != WM_PARENTNOTIFY;
}

// The cursor over the client area: the screen's cursor, else the windowless child's under the
// pointer, else the control's own; the arrow for our own windows when none is chosen.
bool TWinControl::SetCursorMessage(WPARAM wParam, LPARAM lParam) {
    HWND window = window_.Handle();
    if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT) return false;
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(window, &p);
        if (TControl* c = ControlAtPos(p)) cursor = c->Cursor();
        if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault && Screen) {
        ::SetCursor(Screen->Cursors(cursor));
        return true;
    }
    if (window_.Subclassed()) return false;
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return true;
}

// Focus arriving or leaving: the system's handling first, then the form and the events.
LRESULT TWinControl::FocusMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT r = DefaultHandler(message, wParam, lParam);
    if (message == WM_SETFOCUS) {
        if (TCustomForm* form = GetParentForm(this)) form->ControlFocused(this);
        SafeCall([this] {
            if (OnEnter) OnEnter(this);
        });
    } else {
        SafeCall([this] {
            if (OnExit) OnExit(this);
        });
    }
    return r;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool ownClass = !window_.Subclassed();
    if (MouseMessage(message, wParam, lParam)) return 0;
    switch (message) {
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (GetCapture() != window_.Handle()) LeaveMouse();
        return 0;
    case WM_PAINT:
        if (!ownClass) break;
        PaintHandler(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        if (!ownClass) break;
        if (!doubleBuffered_ || wParam == static_cast<WPARAM>(lParam))
            EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETCURSOR:
        if (SetCursorMessage(wParam, lParam)) return TRUE;
        break;
    case WM_CANCELMODE: {
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        if (captureControl_ && captureControl_->Parent() == this) captureControl_->CancelMode();
        CancelMode();
        return r;
    }
    case WM_CAPTURECHANGED:
        if (captureControl_ && captureControl_->Parent() == this &&
            reinterpret_cast<HWND>(lParam) != window_.Handle())
            captureControl_ = nullptr;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return FocusMessage(message, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_PARENTNOTIFY: {
        LRESULT result = 0;
        if (ReflectToChild(message, wParam, lParam, result)) return result;
        break;
    }
    case CN_COMMAND:
        CommandNotify(HIWORD(wParam));
        return 0;
    case CN_NOTIFY:
    case CN_PARENTNOTIFY:
        return 0;
    case CM_RECREATEWND:
        DestroyHandle();
        HandleNeeded();
        return 0;
    case WM_SIZE:
        if (ownClass && !Parent()) {
            // A top-level window's size changes through the system: keep the bounds in step.
            RECT r;
            GetWindowRect(window_.Handle(), &r);
            TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace kel
