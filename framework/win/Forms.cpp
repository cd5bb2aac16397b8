#include "framework/win/Forms.h"

#include <commctrl.h>

#include <algorithm>

#include <vector>

namespace kel {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

std::string ExeName() {
    constexpr size_t kLongestPath = 32768; // the longest path the system can return
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= kLongestPath) return std::string();
        path.resize(path.size() * 2);
    }
}

void InitFramework() {
    if (!Application) {
        // Only the standard controls are used as windows; image lists need no registration.
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        Application = new TApplication(nullptr);
    }
    if (!Screen) Screen = new TScreen(nullptr);
}

void DoneFramework() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
}

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
}

void TCustomForm::DoCreate() {
    SafeCall([this] {
        if (OnCreate) OnCreate(this);
    });
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
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
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (Application && Application->Icon().Handle()) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, (LPARAM)Application->Icon().Handle());
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, (LPARAM)Application->Icon().Handle());
    }
}

SIZE TCustomForm::FrameSize() const {
    DWORD style, exStyle;
    if (HandleAllocated()) {
        HWND h = const_cast<TCustomForm*>(this)->Handle();
        style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE));
    } else {
        TCreateParams params;
        const_cast<TCustomForm*>(this)->CreateParams(params);
        style = params.Style;
        exStyle = params.ExStyle;
    }
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style & ~WS_CHILD, FALSE, exStyle);
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
    const SIZE frame = FrameSize();
    clientWidth_ = std::max(0, width - static_cast<int>(frame.cx));
    clientHeight_ = std::max(0, height - static_cast<int>(frame.cy));
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value;
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
        if (!shownOnce_) {
            shownOnce_ = true;
            ApplyPosition();
        }
        SafeCall([this] {
            if (OnShow) OnShow(this);
        });
        TControl::SetVisible(true);
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
    } else {
        TControl::SetVisible(false);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    }
}

void TCustomForm::Close() {
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

namespace {
// The windows that a modal form disables for its lifetime, enabled again afterwards.
struct TaskWindows {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM data) {
    auto* task = reinterpret_cast<TaskWindows*>(data);
    if (window != task->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
        task->disabled.push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}
} // namespace

int TCustomForm::ShowModal() {
    if (Visible() || modal_) throw Exception("Cannot make a visible window modal");
    HWND previousFocus = GetFocus();
    HWND previousActive = GetActiveWindow();
    TaskWindows task{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&task));
    modal_ = true;
    modalResult_ = mrNone;
    try {
        Show();
        while (modalResult_ == mrNone) {
            if (!Application->HandleMessage()) {
                PostQuitMessage(0); // let the outer loop see the quit too
                modalResult_ = mrCancel;
            }
        }
    } catch (...) {
        modal_ = false;
        for (HWND w : task.disabled) EnableWindow(w, TRUE);
        throw;
    }
    modal_ = false;
    for (HWND w : task.disabled) EnableWindow(w, TRUE);
    Hide();
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
    if (previousFocus && IsWindow(previousFocus)) ::SetFocus(previousFocus);
    return modalResult_;
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
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
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
        RECT client, window;
        GetClientRect(Handle(), &client);
        GetWindowRect(Handle(), &window);
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
        TControl::SetBounds(window.left, window.top, window.right - window.left,
                            window.bottom - window.top);
        return DefaultHandler(message, wParam, lParam);
    }
    case WM_MOVE:
        if (!IsIconic(Handle())) {
            RECT window;
            GetWindowRect(Handle(), &window);
            TControl::SetBounds(window.left, window.top, Width(), Height());
        }
        return DefaultHandler(message, wParam, lParam);
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

// ---- TApplication ------------------------------------------------------------------------------

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo info("TApplication", &TComponent::StaticClassInfo());
    return info;
}

namespace {
LRESULT CALLBACK ApplicationWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ApplicationWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KelApplication";
    RegisterClassExA(&wc);
    handle_ = CreateWindowExA(0, "KelApplication", "",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TApplication::~TApplication() {
    // Forms owned by the application go first, while the application object is still whole.
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {}

std::string TApplication::Title() const {
    char buffer[256] = {};
    GetWindowTextA(handle_, buffer, sizeof buffer);
    return buffer;
}

void TApplication::SetTitle(const std::string& value) {
    SetWindowTextA(handle_, value.c_str());
}

void TApplication::SetIcon(HICON icon, bool owned) {
    icon_.SetHandle(icon, owned);
    SendMessageA(handle_, WM_SETICON, ICON_BIG, (LPARAM)icon);
    if (mainForm_ && mainForm_->HandleAllocated()) {
        SendMessageA(mainForm_->Handle(), WM_SETICON, ICON_BIG, (LPARAM)icon);
        SendMessageA(mainForm_->Handle(), WM_SETICON, ICON_SMALL, (LPARAM)icon);
    }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (mainForm_) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        GetStartupInfoA(&startup);
        mainForm_->Show();
        if (startup.dwFlags & STARTF_USESHOWWINDOW) {
            const WORD show = startup.wShowWindow;
            if (show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show == SW_SHOWMINNOACTIVE)
                ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
            else if (show == SW_SHOWMAXIMIZED)
                ShowWindow(mainForm_->Handle(), SW_SHOWMAXIMIZED);
        }
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

bool TApplication::HandleMessage() {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TApplication::Minimize() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::HandleException(const std::exception& error) {
    ShowException(error.what());
}

void TApplication::ShowException(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    if (ExceptionBox) {
        ExceptionBox(text, Title());
        return;
    }
    MessageBoxA(handle_, text.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

// ---- TScreen -----------------------------------------------------------------------------------

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo info("TScreen", &TComponent::StaticClassInfo());
    return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    const struct {
        TCursor id;
        LPCSTR system;
    } standard[] = {{crArrow, IDC_ARROW},    {crCross, IDC_CROSS},   {crIBeam, IDC_IBEAM},
                    {crHourGlass, IDC_WAIT}, {crNo, IDC_NO},         {crAppStart, IDC_APPSTARTING},
                    {crHelp, IDC_HELP},      {crHandPoint, IDC_HAND}};
    for (const auto& s : standard) cursors_[s.id] = LoadCursorA(nullptr, s.system);
}

HCURSOR TScreen::Cursors(TCursor id) const {
    const auto it = cursors_.find(id);
    if (it != cursors_.end() && it->second) return it->second;
    return LoadCursorA(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor) {
    cursors_[id] = cursor;
}

void TScreen::SetCursor(TCursor value) {
    cursor_ = value;
    if (value != crDefault) {
        ::SetCursor(Cursors(value));
        return;
    }
    // Let the window under the pointer choose its cursor again.
    POINT p;
    GetCursorPos(&p);
    HWND window = WindowFromPoint(p);
    DWORD process = 0;
    if (window) GetWindowThreadProcessId(window, &process);
    if (window && process == GetCurrentProcessId())
        SendMessageA(window, WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    else
        ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

} // namespace kel
