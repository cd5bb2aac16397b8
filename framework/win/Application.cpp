#include "framework/win/Forms.h"

#include <algorithm>

namespace kel {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;
TSysLocale SysLocale;

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
        // The standard control classes are registered before the first system-class window is
        // created (see WindowBinding.cpp), not here: start-up does not wait for the common
        // controls library.
        Application = new TApplication(nullptr);
        SysLocale.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
    }
    if (!Screen) Screen = new TScreen(nullptr);
}

void DoneFramework() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
}

void ReportHandlerException(const std::exception& error) {
    if (Application) Application->HandleException(error);
}

// ---- TApplication ------------------------------------------------------------------------------

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo info("TApplication", &TComponent::StaticClassInfo());
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    TWindowParams params;
    params.WinClassName = "KelApplication";
    params.ClassStyle = 0;
    params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    window_.Create(params);
}

TApplication::~TApplication() {
    // Forms owned by the application go first, while the application object is still whole.
    DestroyComponents();
}

LRESULT TApplication::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return window_.Default(message, wParam, lParam);
}

void TApplication::Initialize() {}

std::string TApplication::Title() const {
    char buffer[256] = {};
    GetWindowTextA(Handle(), buffer, sizeof buffer);
    return buffer;
}

void TApplication::SetTitle(const std::string& value) {
    SetWindowTextA(Handle(), value.c_str());
}

void TApplication::SetIcon(HICON icon, bool owned) {
    icon_.SetHandle(icon, owned);
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, (LPARAM)icon);
    if (mainForm_ && mainForm_->HandleAllocated()) {
        SendMessageA(mainForm_->Handle(), WM_SETICON, ICON_BIG, (LPARAM)icon);
        SendMessageA(mainForm_->Handle(), WM_SETICON, ICON_SMALL, (LPARAM)icon);
    }
}

bool TApplication::Active() const {
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    return foreground && process == GetCurrentProcessId();
}

void TApplication::SetHint(const std::string& value) {
    if (hint_ == value) return;
    hint_ = value;
    SafeCall([this] {
        if (OnHint) OnHint(this);
    });
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
    Dispatch(msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        Dispatch(msg);
    }
}

void TApplication::Dispatch(MSG& msg) {
    if (FilterMessage(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// ---- Message filters ---------------------------------------------------------------------------

TMessageFilterRegistration TApplication::AddMessageFilter(TMessageFilter filter) {
    auto entry = std::make_shared<TMessageFilter>(std::move(filter));
    filters_->Filters.push_back(entry);
    return TMessageFilterRegistration(filters_, std::move(entry));
}

bool TApplication::FilterMessage(MSG& message) {
    // A snapshot, newest first: filters may register or go while one runs. One that went since
    // the snapshot was taken is skipped.
    const auto snapshot = filters_->Filters;
    auto& live = filters_->Filters;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (std::find(live.begin(), live.end(), *it) == live.end()) continue;
        bool handled = false;
        SafeCall([&] { handled = (**it)(message); });
        if (handled) return true;
    }
    return false;
}

void TMessageFilterRegistration::Reset() {
    if (const auto list = list_.lock()) {
        auto& filters = list->Filters;
        filters.erase(std::remove(filters.begin(), filters.end(), filter_), filters.end());
    }
    list_.reset();
    filter_.reset();
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
    MessageBoxA(Handle(), text.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

int TApplication::ShowMessageBox(const std::string& text, UINT flags) {
    const std::string caption = Title();
    if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
    HWND owner = GetActiveWindow();
    return MessageBoxA(owner ? owner : Handle(), text.c_str(), caption.c_str(), flags);
}

void ShowErrorMessage(const std::string& text) {
    if (Application)
        Application->ShowMessageBox(text, MB_OK | MB_ICONERROR);
    else
        MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

} // namespace kel
