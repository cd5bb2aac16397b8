// MDI forms: a frame form holds the system's MDI client window, MDI child forms live inside the
// main form's client and are made, activated, maximised, restored and ended through it. The
// frame and its children use the system's MDI default procedures, and the application's loop
// gives the frame's client the MDI system keys (Ctrl+F4, Ctrl+F6) before translation.
#include "framework/win/Forms.h"

namespace kel {

namespace {

// Window-menu entries of the children get command numbers from here on; the menu items' own
// recycled numbers start far below.
constexpr UINT kFirstMDIChildCommand = 0xFF00;

TCustomForm* MDIChildOf(HWND window) {
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(window));
    return form && form->FormStyle() == TFormStyle::fsMDIChild ? form : nullptr;
}

} // namespace

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_) return;
    if (HandleAllocated()) throw Exception("Cannot change the form style of a form with a window");
    formStyle_ = value;
    ResizeToClient();
}

HWND TCustomForm::MDIClientOfMain() const {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    return main && main != this ? main->MDIClientHandle() : nullptr;
}

void TCustomForm::MDICreateParams(TCreateParams& params) const {
    // A child window of the main form's MDI client, with the frame its border style gives.
    params.Style = (params.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    params.ExStyle = (params.ExStyle & ~(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME)) | WS_EX_MDICHILD;
    params.WndParent = MDIClientOfMain();
}

void TCustomForm::CreateMDIClient() {
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = kFirstMDIChildCommand;
    RECT area;
    GetClientRect(Handle(), &area);
    // MDIS_ALLCHILDSTYLES: the children keep the frames their border styles ask for.
    mdiClient_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                     WS_HSCROLL | WS_VSCROLL | MDIS_ALLCHILDSTYLES,
                                 0, 0, area.right, area.bottom, Handle(), nullptr,
                                 GetModuleHandleA(nullptr), &client);
    if (!mdiClient_) throw EOutOfResources("Error creating window");
    if (Application)
        mdiAccelerators_ = Application->AddMessageFilter(
            [this](MSG& msg) { return mdiClient_ && TranslateMDISysAccel(mdiClient_, &msg); });
}

LRESULT TCustomForm::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleAllocated()) {
        HWND window = Handle();
        if (formStyle_ == TFormStyle::fsMDIForm)
            return DefFrameProcA(window, mdiClient_, message, wParam, lParam);
        if (formStyle_ == TFormStyle::fsMDIChild &&
            (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD))
            return DefMDIChildProcA(window, message, wParam, lParam);
    }
    return TWinControl::DefaultHandler(message, wParam, lParam);
}

void TCustomForm::MDIMessage(UINT message, LPARAM lParam) {
    if (formStyle_ == TFormStyle::fsMDIForm && message == WM_DESTROY) {
        // The client goes with the frame's window.
        mdiClient_ = nullptr;
        mdiAccelerators_.Reset();
    } else if (formStyle_ == TFormStyle::fsMDIChild && message == WM_MDIACTIVATE) {
        active_ = reinterpret_cast<HWND>(lParam) == Handle();
    }
}

void TCustomForm::ShowMDIChild() {
    // Shown, activated and, when asked for, maximised or minimised inside the frame's client.
    HWND window = Handle();
    HWND client = GetParent(window);
    ShowWindow(window, windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED : SW_SHOW);
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
    if (windowState_ == TWindowState::wsMaximized)
        SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window), 0);
}

RECT TCustomForm::WindowBounds() const {
    HWND window = const_cast<TCustomForm*>(this)->Handle();
    RECT r;
    GetWindowRect(window, &r);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (!mdiClient_) return nullptr;
    return MDIChildOf(reinterpret_cast<HWND>(SendMessageA(mdiClient_, WM_MDIGETACTIVE, 0, 0)));
}

int TCustomForm::MDIChildCount() const {
    int count = 0;
    if (mdiClient_)
        for (HWND w = GetWindow(mdiClient_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (MDIChildOf(w)) ++count;
    return count;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    if (mdiClient_ && index >= 0)
        for (HWND w = GetWindow(mdiClient_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (TCustomForm* child = MDIChildOf(w); child && index-- == 0) return child;
    throw Exception("List index out of bounds");
}

} // namespace kel
