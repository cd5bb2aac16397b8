#include "framework/win/Forms.h"

#include <algorithm>

namespace kel {

// ---- TCustomForm -------------------------------------------------------------------------------

const TClassInfo& TCustomForm::StaticClassInfo() {
    static const TClassInfo info("TCustomForm", &TWinControl::StaticClassInfo());
    return info;
}

const TClassInfo& TForm::StaticClassInfo() {
    static const TClassInfo info("TForm", &TCustomForm::StaticClassInfo());
    return info;
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
    SetParentFont(false);
    SetDoubleBuffered(true);
    clientWidth_ = 300;
    clientHeight_ = 200;
    ResizeToClient();
}

TCustomForm::~TCustomForm() {
    SafeCall([this] {
        if (OnDestroy) OnDestroy(this);
    });
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
    // The controls go before the window, so none of them paints into a half-gone form.
    DestroyComponents();
    if (formStyle_ == TFormStyle::fsMDIChild) DestroyHandle(); // through the MDI client
}

void TCustomForm::DoCreate() {
    SafeCall([this] {
        if (OnCreate) OnCreate(this);
    });
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == menu_) menu_ = nullptr;
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu_ == menu) return;
    if (menu_) {
        menu_->SetWindow(nullptr);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = menu;
    if (menu_) menu_->FreeNotification(this);
    if (HandleAllocated() && menu_) menu_->SetWindow(Handle());
    ResizeToClient();
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
    return menu_ && menu_->IsShortCut(key, shift);
}

void TCustomForm::DestroyWnd() {
    // The window would destroy its menu bar with itself; the menu's items own it.
    if (menu_) menu_->SetWindow(nullptr);
    // An MDI child leaves through its client, which then activates the next child.
    if (HWND client = formStyle_ == TFormStyle::fsMDIChild ? GetParent(Handle()) : nullptr)
        SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
    TWinControl::DestroyWnd();
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = "KelForm";
    params.ClassStyle = CS_DBLCLKS;
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = 0;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
        params.Style |= WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
        break;
    case TFormBorderStyle::bsSingle:
        params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
        break;
    case TFormBorderStyle::bsSizeable:
        params.Style |= WS_OVERLAPPEDWINDOW;
        break;
    case TFormBorderStyle::bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
        params.Style |= WS_CAPTION | WS_SYSMENU | WS_BORDER;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        params.Style |= WS_OVERLAPPEDWINDOW;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    const bool isMain =
        Application && (Application->MainForm() == this || !Application->MainForm());
    if (isMain) {
        params.ExStyle |= WS_EX_APPWINDOW;
        params.WndParent = nullptr;
    } else {
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        params.WndParent = main && main->HandleAllocated() ? main->Handle() : nullptr;
    }
    params.Caption = text_;
    if (Parent())
        DockedCreateParams(params);
    else if (formStyle_ == TFormStyle::fsMDIChild)
        MDICreateParams(params);
}

void TCustomForm::CreateWnd() {
    if (formStyle_ == TFormStyle::fsMDIChild && !MDIClientOfMain())
        throw Exception("An MDI child form needs a main form that is an MDI frame");
    TWinControl::CreateWnd();
    if (formStyle_ == TFormStyle::fsMDIForm) CreateMDIClient();
    // A visible form whose window was made anew (recreated, floated) shows it again.
    if (Visible() && !IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNA);
    if (menu_) menu_->SetWindow(Handle());
    if (Application && Application->Icon().Handle()) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, (LPARAM)Application->Icon().Handle());
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, (LPARAM)Application->Icon().Handle());
    }
}

SIZE TCustomForm::FrameSize() const {
    DWORD style, exStyle;
    if (HandleAllocated()) {
        HWND h = const_cast<TCustomForm*>(this)->Handle();
        // The window's own measure: a hook may decide the frame through WM_NCCALCSIZE.
        RECT window, client;
        if (!IsIconic(h) && GetWindowRect(h, &window) && GetClientRect(h, &client))
            return {(window.right - window.left) - client.right,
                    (window.bottom - window.top) - client.bottom};
        style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE));
    } else {
        TCreateParams params;
        const_cast<TCustomForm*>(this)->CreateParams(params);
        style = params.Style;
        exStyle = params.ExStyle;
    }
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style & ~WS_CHILD, menu_ != nullptr, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

void TCustomForm::ResizeToClient() {
    const SIZE frame = FrameSize();
    TWinControl::SetBounds(Left(), Top(), clientWidth_ + static_cast<int>(frame.cx),
                           clientHeight_ + static_cast<int>(frame.cy));
}

void TCustomForm::SetClientWidth(int value) {
    clientWidth_ = std::max(0, value);
    ResizeToClient();
}

void TCustomForm::SetClientHeight(int value) {
    clientHeight_ = std::max(0, value);
    ResizeToClient();
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    const SIZE size = Constrained(width, height);
    width = static_cast<int>(size.cx);
    height = static_cast<int>(size.cy);
    const SIZE frame = FrameSize();
    clientWidth_ = std::max(0, width - static_cast<int>(frame.cx));
    clientHeight_ = std::max(0, height - static_cast<int>(frame.cy));
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value;
    // The client area keeps its size: the frame change below reports a new one meanwhile.
    const int clientWidth = clientWidth_, clientHeight = clientHeight_;
    if (HandleAllocated()) {
        TCreateParams params;
        CreateParams(params);
        HWND h = Handle();
        const DWORD visible = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_VISIBLE;
        SetWindowLongA(h, GWL_STYLE, static_cast<LONG>(params.Style | visible));
        SetWindowLongA(h, GWL_EXSTYLE, static_cast<LONG>(params.ExStyle));
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    ResizeToClient();
}

void TCustomForm::ApplyPosition() {
    int left = Left(), top = Top();
    switch (position_) {
    case TPosition::poScreenCenter:
        left = (Screen->Width() - Width()) / 2;
        top = (Screen->Height() - Height()) / 2;
        break;
    case TPosition::poDesktopCenter:
        left = (Screen->DesktopWidth() - Width()) / 2;
        top = (Screen->DesktopHeight() - Height()) / 2;
        break;
    case TPosition::poMainFormCenter:
        if (TCustomForm* main = Application ? Application->MainForm() : nullptr;
            main && main != this) {
            left = main->Left() + (main->Width() - Width()) / 2;
            top = main->Top() + (main->Height() - Height()) / 2;
        }
        break;
    default:
        return;
    }
    SetBounds(left, top, Width(), Height());
}

void TCustomForm::SetVisible(bool value) {
    if (value == Visible() && (!value || (HandleAllocated() && IsWindowVisible(Handle())))) return;
    if (value) {
        HandleNeeded();
        if (!shownOnce_ && !Parent()) {
            shownOnce_ = true;
            ApplyPosition();
        }
        SafeCall([this] {
            if (OnShow) OnShow(this);
        });
        TControl::SetVisible(true);
        if (Parent()) {
            ShowWindow(Handle(), SW_SHOWNA);
        } else if (formStyle_ == TFormStyle::fsMDIChild) {
            ShowMDIChild();
        } else {
            ShowWindow(Handle(), windowState_ == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                                 : windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                                             : SW_SHOW);
            SetForegroundWindow(Handle());
        }
    } else {
        TControl::SetVisible(false);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    }
}

void TCustomForm::Close() {
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    SafeCall([&] {
        if (OnClose) OnClose(this, action);
    });
    if (action == TCloseAction::caNone) return;
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == TCloseAction::caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && HandleAllocated() && IsWindowVisible(Handle()) && control->CanFocus())
        control->SetFocus();
}

void TCustomForm::SelectFirst() {
    if (TWinControl* first = FindNextControl(nullptr, true, true)) SetActiveControl(first);
}

void TCustomForm::ControlFocused(TWinControl* control) {
    if (control == this) return;
    activeControl_ = control;
    FocusChanged(control);
}

void TCustomForm::ControlRemoved(TWinControl* control) {
    if (activeControl_ == control) activeControl_ = nullptr;
}

bool TCustomForm::HandleDialogKey(WORD key, TShiftState shift) {
    if (!(shift & ssAlt)) {
        switch (key) {
        case VK_TAB:
            if (!(shift & ssCtrl)) {
                if (TWinControl* next = FindNextControl(activeControl_, !(shift & ssShift), true))
                    SetActiveControl(next);
                return true;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (TWinControl* next =
                    FindNextControl(activeControl_, key == VK_RIGHT || key == VK_DOWN, false))
                SetActiveControl(next);
            return true;
        default:
            break;
        }
    }
    return DialogKey(key, shift);
}

bool TCustomForm::HandleDialogChar(char ch, TShiftState shift) {
    return DialogChar(ch, shift);
}

LRESULT TCustomForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (TMenu::DispatchMenuMessage(message, wParam, lParam, result)) return result;
    if (formStyle_ != TFormStyle::fsNormal) MDIMessage(message, lParam);
    switch (message) {
    case WM_DESTROY:
        if (menu_) menu_->SetWindow(nullptr); // see DestroyWnd
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        active_ = LOWORD(wParam) != WA_INACTIVE;
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            const LRESULT r = DefaultHandler(message, wParam, lParam);
            if (activeControl_ && activeControl_->CanFocus())
                activeControl_->SetFocus();
            else
                SelectFirst();
            return r;
        }
        break;
    case WM_SIZE: {
        RECT client;
        GetClientRect(Handle(), &client);
        const RECT window = WindowBounds();
        const bool clientChanged = clientWidth_ != client.right || clientHeight_ != client.bottom;
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
        WindowStateChanged(wParam);
        TControl::SetBounds(window.left, window.top, window.right - window.left,
                            window.bottom - window.top);
        // The frame may have changed alone (a new border), which leaves the window's size as it
        // was: the aligned controls follow the client area all the same.
        if (clientChanged) AlignControls();
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        if (autoScroll_) UpdateScrollRange();
        return r;
    }
    case WM_GETMINMAXINFO: {
        const LRESULT r = DefaultHandler(message, wParam, lParam);
        ApplyMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return r;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) break; // a scroll bar control's
        ScrollMessage(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOVE:
        if (!IsIconic(Handle())) {
            const RECT window = WindowBounds();
            TControl::SetBounds(window.left, window.top, Width(), Height());
        }
        return DefaultHandler(message, wParam, lParam);
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

} // namespace kel
