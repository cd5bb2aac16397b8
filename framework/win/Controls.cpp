#include "framework/win/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/win/Forms.h"

namespace kel {

namespace {

// The windowless control that has the mouse captured (through its parent's window), if any.
TControl* gCaptureControl = nullptr;

TMouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

bool IsButtonDown(UINT m) {
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
           m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}
bool IsDoubleClick(UINT m) {
    return m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}
bool IsMouseMessage(UINT m) {
    return m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK;
}

// Attaches a DC to a control's canvas for one paint and detaches it again, also when painting
// raises.
void PaintThrough(TCanvas& canvas, HDC dc, const TFont& font, const std::function<void()>& paint) {
    struct Detach {
        TCanvas& canvas;
        ~Detach() { canvas.SetHandle(nullptr); }
    } detach{canvas};
    canvas.SetHandle(dc);
    canvas.Font().Assign(font);
    paint();
}

TShiftState MouseShift(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

} // namespace

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

void SafeCall(const std::function<void()>& handler) {
    if (!handler) return;
    try {
        handler();
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
    }
}

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// ---- TControl ----------------------------------------------------------------------------------

const TClassInfo& TControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TControl", &TComponent::StaticClassInfo());
        TPublisher<TControl>(i)
            .Property("Left", &TControl::Left, &TControl::SetLeft)
            .Property("Top", &TControl::Top, &TControl::SetTop)
            .Property("Width", &TControl::Width, &TControl::SetWidth)
            .Property("Height", &TControl::Height, &TControl::SetHeight)
            .Property("Hint", &TControl::Hint, &TControl::SetHint)
            .Property("Cursor", &TControl::Cursor, &TControl::SetCursor);
        return i;
    }();
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    font_->OnChange = [this] {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (gCaptureControl == this) gCaptureControl = nullptr;
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const RECT old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (parent_ && visible_) {
        InvalidateParentArea(old);
        InvalidateParentArea(BoundsRect());
    }
}

POINT TControl::ClientOrigin() const {
    if (const auto* w = dynamic_cast<const TWinControl*>(this); w && w->handle_) {
        POINT p{0, 0};
        ::ClientToScreen(w->handle_, &p);
        return p;
    }
    POINT p{left_, top_};
    if (parent_) {
        const POINT o = parent_->ClientOrigin();
        p.x += o.x;
        p.y += o.y;
    }
    return p;
}

POINT TControl::ScreenToClient(POINT point) const {
    const POINT o = ClientOrigin();
    return {point.x - o.x, point.y - o.y};
}

POINT TControl::ClientToScreen(POINT point) const {
    const POINT o = ClientOrigin();
    return {point.x + o.x, point.y + o.y};
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    if (parent_) InvalidateParentArea(BoundsRect());
    VisibleChanged();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    EnabledChanged();
}

void TControl::SetCursor(TCursor value) {
    cursor_ = value;
    // Show the new cursor at once when the mouse is over the control.
    auto* self = dynamic_cast<TWinControl*>(this);
    TWinControl* window = self ? self : parent_;
    if (!window || !window->HandleAllocated()) return;
    POINT p;
    if (!GetCursorPos(&p)) return;
    const POINT c = ScreenToClient(p);
    if (c.x >= 0 && c.y >= 0 && c.x < width_ && c.y < height_)
        SendMessageA(window->Handle(), WM_SETCURSOR, (WPARAM)window->Handle(), HTCLIENT);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) ParentFontChanged();
}

void TControl::SetColor(TColor value) {
    color_ = value;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value) ParentColorChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    const auto handler = std::move(font_->OnChange);
    font_->Assign(parent_->Font());
    font_->OnChange = handler;
    FontChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::SetText(const std::string& value) {
    if (text_ == value) return;
    text_ = value;
    TextChanged();
}

void TControl::InvalidateParentArea(const RECT& area) {
    if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), &area, TRUE);
}

void TControl::Invalidate() {
    InvalidateParentArea(BoundsRect());
}

void TControl::Repaint() {
    Invalidate(), Update();
}

void TControl::Update() {
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::BringToFront() {
    if (!parent_) return;
    TWinControl* p = parent_;
    p->RemoveControl(this);
    p->InsertControl(this);
}

bool TControl::MouseCapture() const {
    if (const auto* w = dynamic_cast<const TWinControl*>(this))
        if (w->handle_) return GetCapture() == w->handle_;
    return gCaptureControl == this;
}

void TControl::SetMouseCapture(bool value) {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (value)
            SetCapture(w->Handle());
        else if (w->handle_ && GetCapture() == w->handle_)
            ReleaseCapture();
        return;
    }
    if (value) {
        gCaptureControl = this;
        if (parent_) SetCapture(parent_->Handle());
    } else if (gCaptureControl == this) {
        gCaptureControl = nullptr;
        ReleaseCapture();
    }
}

void TControl::Click() {
    SafeCall([this] {
        if (OnClick) OnClick(this);
    });
}
void TControl::DblClick() {
    SafeCall([this] {
        if (OnDblClick) OnDblClick(this);
    });
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    SafeCall([&] {
        if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    });
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
    SafeCall([&] {
        if (OnMouseMove) OnMouseMove(this, shift, x, y);
    });
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    SafeCall([&] {
        if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    });
}
void TControl::MouseEnter() {
    SafeCall([this] {
        if (OnMouseEnter) OnMouseEnter(this);
    });
}
void TControl::MouseLeave() {
    SafeCall([this] {
        if (OnMouseLeave) OnMouseLeave(this);
    });
}

void TControl::CancelMode() {
    clicked_ = false;
    if (MouseCapture()) SetMouseCapture(false);
}

bool TControl::DialogKey(WORD, TShiftState) {
    return false;
}
bool TControl::DialogChar(char, TShiftState) {
    return false;
}
void TControl::FocusChanged(TWinControl*) {}
void TControl::EnabledChanged() {
    Invalidate();
}
void TControl::VisibleChanged() {}
void TControl::FontChanged() {
    Invalidate();
}
void TControl::ColorChanged() {
    Invalidate();
}
void TControl::TextChanged() {
    Invalidate();
}
void TControl::PaintTo(HDC) {}

void TControl::HandleMouseButton(UINT message, TShiftState shift, int x, int y) {
    const TMouseButton button = ButtonOf(message);
    if (IsButtonDown(message)) {
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
        if (button == mbLeft && (controlStyle_ & csClickEvents)) clicked_ = true;
        if (IsDoubleClick(message)) {
            shift |= ssDouble;
            if (button == mbLeft) DblClick();
        }
        MouseDown(button, shift, x, y);
        return;
    }
    if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) Click();
    }
    MouseUp(button, shift, x, y);
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y) {
    MouseMove(shift, x, y);
}

// ---- TGraphicControl ---------------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo info("TGraphicControl", &TControl::StaticClassInfo());
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(HDC dc) {
    PaintThrough(canvas_, dc, Font(), [this] { Paint(); });
}

// ---- TWinControl -------------------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TWinControl", &TControl::StaticClassInfo());
        TPublisher<TWinControl>(i)
            .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
        return i;
    }();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Children that are not owned by this control are detached; owned ones are freed by their
    // owner.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return window ? reinterpret_cast<TWinControl*>(GetPropA(window, "KelControl")) : nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (Parent()) Parent()->HandleNeeded();
        if (!handle_) CreateWnd();
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : nullptr;
    if (ControlStyle() & csDoubleClicks) {
        params.ClassStyle |= CS_DBLCLKS;
        params.WinClassName = "KelControlDbl";
    }
}

void TWinControl::RegisterWindowClass(const TCreateParams& params) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), params.WinClassName.c_str(), &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = params.ClassStyle;
    wc.lpfnWndProc = &TWinControl::StaticWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = nullptr; // WM_SETCURSOR decides
    wc.lpszClassName = params.WinClassName.c_str();
    RegisterClassExA(&wc);
}

namespace {
// The control being created, so that the first messages of its window reach it.
TWinControl* gCreatingControl = nullptr;
} // namespace

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    HWND window;
    gCreatingControl = this;
    if (params.SystemClass.empty()) {
        RegisterWindowClass(params);
        window =
            CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                            params.Style, params.X, params.Y, params.Width, params.Height,
                            params.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    } else {
        window = CreateWindowExA(params.ExStyle, params.SystemClass.c_str(), params.Caption.c_str(),
                                 params.Style, params.X, params.Y, params.Width, params.Height,
                                 params.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window) {
            handle_ = window;
            SetPropA(window, "KelControl", this);
            defaultProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)&TWinControl::StaticWndProc));
        }
    }
    gCreatingControl = nullptr;
    if (!window) throw Exception("Error creating window");
    handle_ = window;
    if (Parent())
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(window, WM_SETFONT, (WPARAM)Font().Handle(), 0);
    CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    HWND window = handle_;
    if (defaultProc_) SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)defaultProc_);
    RemovePropA(window, "KelControl");
    handle_ = nullptr;
    defaultProc_ = nullptr;
    DestroyWindow(window);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    HandleNeeded();
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    TWinControl* control = FromHandle(window);
    if (!control && gCreatingControl) {
        control = gCreatingControl;
        control->handle_ = window;
        SetPropA(window, "KelControl", control);
    }
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return control->Dispatch(message, wParam, lParam);
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
        return 0;
    }
}

LRESULT TWinControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (PreTranslateKey(message, wParam)) return 0;
    return WndProc(message, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!handle_) return 0;
    if (defaultProc_) return CallWindowProcA(defaultProc_, handle_, message, wParam, lParam);
    return DefWindowProcA(handle_, message, wParam, lParam);
}

// Keys first go through the framework: the control's key events, then navigation keys to the
// form as dialog keys and characters to the form as accelerators. True when used up there.
bool TWinControl::PreTranslateKey(UINT message, WPARAM wParam) {
    if (Designing()) return false;
    TCustomForm* form = GetParentForm(this);
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        KeyDown(key, KeyboardShiftState());
        if (key == 0) return true;
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
            const LRESULT code = SendMessageA(handle_, WM_GETDLGCODE, 0, 0);
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
        const LRESULT code = SendMessageA(handle_, WM_GETDLGCODE, 0, 0);
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

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsMouseMessage(message)) {
        const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        if (message == WM_MOUSEMOVE) TrackMouse({x, y});
        if (RouteMouseToChild(message, wParam, lParam)) return 0;
        if (message == WM_MOUSEMOVE) {
            HandleMouseMove(MouseShift(wParam), x, y);
        } else if (message != WM_MOUSEWHEEL) {
            HandleMouseButton(message, MouseShift(wParam), x, y);
            if (!IsButtonDown(message) && !MouseCapture()) {
                // A release outside the window ends the hover the system would report later.
                POINT p;
                GetCursorPos(&p);
                if (WindowFromPoint(p) != handle_) LeaveMouse();
            }
        }
        return DefaultHandler(message, wParam, lParam);
    }
    switch (message) {
    case WM_NCDESTROY: {
        // The window went with its owner or parent: the control makes a new one when asked.
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        RemovePropA(handle_, "KelControl");
        handle_ = nullptr;
        defaultProc_ = nullptr;
        return r;
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (GetCapture() != handle_) LeaveMouse();
        return 0;
    case WM_PAINT:
        if (!defaultProc_) {
            PaintHandler(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (!defaultProc_) {
            if (!doubleBuffered_ || wParam == static_cast<WPARAM>(lParam))
                EraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        }
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == handle_ && LOWORD(lParam) == HTCLIENT) {
            TCursor cursor = Screen ? Screen->Cursor() : crDefault;
            if (cursor == crDefault) {
                POINT p;
                GetCursorPos(&p);
                ::ScreenToClient(handle_, &p);
                if (TControl* c = ControlAtPos(p)) cursor = c->Cursor();
                if (cursor == crDefault) cursor = Cursor();
            }
            if (cursor != crDefault && Screen) {
                ::SetCursor(Screen->Cursors(cursor));
                return TRUE;
            }
            if (!defaultProc_) {
                ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                return TRUE;
            }
        }
        break;
    case WM_CANCELMODE: {
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        if (gCaptureControl && gCaptureControl->Parent() == this) gCaptureControl->CancelMode();
        CancelMode();
        return r;
    }
    case WM_CAPTURECHANGED:
        if (gCaptureControl && gCaptureControl->Parent() == this &&
            reinterpret_cast<HWND>(lParam) != handle_)
            gCaptureControl = nullptr;
        break;
    case WM_SETFOCUS: {
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        if (TCustomForm* form = GetParentForm(this)) form->ControlFocused(this);
        SafeCall([this] {
            if (OnEnter) OnEnter(this);
        });
        return r;
    }
    case WM_KILLFOCUS: {
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        SafeCall([this] {
            if (OnExit) OnExit(this);
        });
        return r;
    }
    case WM_COMMAND:
        // Notifications of system controls come back to the control that sent them.
        if (lParam) {
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
                child && child != this) {
                child->CommandNotify(HIWORD(wParam));
                return 0;
            }
        }
        break;
    case WM_SIZE:
        if (!defaultProc_ && !Parent()) {
            // A top-level window's size changes through the system: keep the bounds in step.
            RECT r;
            GetWindowRect(handle_, &r);
            TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

// Mouse enter and leave for the window itself and for its windowless children. The window is
// entered while the pointer is inside its client area; leaving is seen either on a move outside
// (the window has the capture) or through the system's leave message.
void TWinControl::TrackMouse(POINT client) {
    const bool inside =
        client.x >= 0 && client.y >= 0 && client.x < ClientWidth() && client.y < ClientHeight();
    if (!inside) {
        LeaveMouse();
        return;
    }
    if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
    }
    if (!mouseInside_) {
        mouseInside_ = true;
        MouseEnter();
    }
    if (!gCaptureControl) UpdateHoverChild(ControlAtPos(client));
}

void TWinControl::LeaveMouse() {
    UpdateHoverChild(nullptr);
    if (mouseInside_) {
        mouseInside_ = false;
        MouseLeave();
    }
}

void TWinControl::UpdateHoverChild(TControl* child) {
    if (child == hoverChild_) return;
    TControl* old = hoverChild_;
    hoverChild_ = child;
    if (old) old->MouseLeave();
    if (child) child->MouseEnter();
}

bool TWinControl::RouteMouseToChild(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TControl* target = nullptr;
    if (gCaptureControl) {
        if (gCaptureControl->Parent() == this) target = gCaptureControl;
    } else if (GetCapture() != handle_) {
        target = ControlAtPos(p);
    }
    if (!target) return false;
    const int x = p.x - target->Left(), y = p.y - target->Top();
    if (message == WM_MOUSEMOVE)
        target->HandleMouseMove(MouseShift(wParam), x, y);
    else if (message != WM_MOUSEWHEEL)
        target->HandleMouseButton(message, MouseShift(wParam), x, y);
    return true;
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (point.x >= c->Left() && point.y >= c->Top() && point.x < c->Left() + c->Width() &&
            point.y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

void TWinControl::EraseBackground(HDC dc) {
    if (!dc) return;
    RECT r;
    GetClientRect(handle_, &r);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void TWinControl::PaintWindow(HDC) {}
void TWinControl::CommandNotify(WORD) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0)
            continue;
        const int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        try {
            c->PaintTo(dc);
        } catch (const std::exception& e) {
            RestoreDC(dc, saved);
            if (Application) Application->HandleException(e);
            continue;
        }
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(HDC given) {
    if (given) {
        if (doubleBuffered_) EraseBackground(given);
        PaintWindow(given);
        PaintControls(given);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    if (doubleBuffered_) {
        RECT client;
        GetClientRect(handle_, &client);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP buffer =
            CreateCompatibleBitmap(dc, std::max(1L, client.right), std::max(1L, client.bottom));
        HGDIOBJ old = SelectObject(memory, buffer);
        EraseBackground(memory);
        PaintWindow(memory);
        PaintControls(memory);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top,
               SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(buffer);
        DeleteDC(memory);
    } else {
        PaintWindow(dc);
        PaintControls(dc);
    }
    EndPaint(handle_, &ps);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(w);
        if (handle_) w->HandleNeeded();
    } else {
        control->Invalidate();
    }
    control->ParentFontChanged();
    control->ParentColorChanged();
}

void TWinControl::RemoveControl(TControl* control) {
    if (hoverChild_ == control) hoverChild_ = nullptr;
    if (gCaptureControl == control) control->SetMouseCapture(false);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(w);
        w->DestroyHandle();
    } else {
        control->Invalidate();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
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
    return handle_ && GetFocus() == handle_;
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

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_)
        SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool value) {
    if (Visible() == value) return;
    TControl::SetVisible(value);
    if (handle_) ShowWindow(handle_, value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool value) {
    if (Enabled() == value) return;
    if (handle_) EnableWindow(handle_, value);
    TControl::SetEnabled(value);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (!handle_) return;
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
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

void TWinControl::FontChanged() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, (WPARAM)Font().Handle(), TRUE);
    for (TControl* c : controls_) c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_) c->ParentColorChanged();
    Invalidate();
}

void TWinControl::SetText(const std::string& value) {
    const bool changed = GetText() != value;
    text_ = value;
    if (handle_) SetWindowTextA(handle_, value.c_str());
    if (changed) TextChanged();
}

std::string TWinControl::GetText() const {
    if (!handle_) return text_;
    const int length = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(length) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(handle_, &s[0], length + 1)));
    return s;
}

// ---- TCustomControl ----------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
    static const TClassInfo info("TCustomControl", &TWinControl::StaticClassInfo());
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
    PaintThrough(canvas_, dc, Font(), [this] { Paint(); });
}

} // namespace kel
