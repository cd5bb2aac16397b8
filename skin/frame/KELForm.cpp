// The skinned form component: attaching to the host form, its settings, and giving the host its
// own frame back when it goes.
#include "skin/frame/KELForm.h"

#include "skin/frame/KELFormHook.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/frame/KELMenuBar.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

constexpr UINT kMDIBottomFrameQuery = 34768, kMDILeftFrameQuery = 34769;

int SaneFrame(LRESULT value) {
    return value < 0 || value > 12 ? 4 : static_cast<int>(value);
}

} // namespace

const TClassInfo& TkelForm::StaticClassInfo() {
    static const TClassInfo info = [] {
        using F = TkelForm;
        TClassInfo i("TkelForm", &TCustomPanel::StaticClassInfo());
        TPublisher<F>(i)
            .Property("TitleBarCustom", &F::TitleBarCustom, &F::SetTitleBarCustom)
            .Property("FileTheme", &F::FileTheme, &F::SetFileTheme)
            .Property("UIStyle", &F::UIStyle, &F::SetUIStyle)
            .Property("UIStyleAutoUpdateSub", &F::UIStyleAutoUpdateSub, &F::SetUIStyleAutoUpdateSub)
            .Property("BorderColor", &F::BorderColor, &F::SetBorderColor, "TColor")
            .Property("BorderWidth", &F::BorderWidth, &F::SetBorderWidth)
            .Property("TitleBarVisible", &F::TitleBarVisible, &F::SetTitleBarVisible)
            .Property("Caption", &F::Caption, &F::SetCaption)
            .Property("FormPanel", &F::FormPanel, &F::SetFormPanel)
            .Property("TitleBarButtons", &F::TitleBarButtons, &F::SetTitleBarButtons)
            .Property("TitleBarSections", &F::TitleBarSections, &F::SetTitleBarSections)
            .Property("TitleBarDrawAppIcon", &F::TitleBarDrawAppIcon, &F::SetTitleBarDrawAppIcon)
            .Property("Menu", &F::Menu, &F::SetMenu)
            .Property("MenuBarColor", &F::MenuBarColor, &F::SetMenuBarColor, "TColor")
            .Property("MenuBarToColor", &F::MenuBarToColor, &F::SetMenuBarToColor, "TColor")
            .Property("MenuBarHeight", &F::MenuBarHeight, &F::SetMenuBarHeight)
            .Property("RoundCorner", &F::RoundCorner, &F::SetRoundCorner)
            .Property("RoundCornerBottom", &F::RoundCornerBottom, &F::SetRoundCornerBottom)
            .Property("Version", &F::Version, &F::SetVersion)
            .Property("About", &F::About, &F::SetAbout)
            .Property("InactiveCaptionColor", &F::InactiveCaptionColor, &F::SetInactiveCaptionColor,
                      "TColor");
        return i;
    }();
    return info;
}

TkelForm::TkelForm(TComponent* owner) : TCustomPanel(owner) {
    // The bottom border's images and the region's mask follow the window's width, which changes
    // at every step of a resize.
    for (TBitmap* image : {&bottomImage_, &bottomShown_, &regionMask_}) image->SetKeepsMemory(true);
    titleBar_ = new TkelTitleBar(this);
    titleBar_->SetParent(this);
    auto* host = dynamic_cast<TCustomForm*>(owner);
    if (!host) return; // not on a form: a plain panel
    bool first = true;
    for (int i = 0; i < host->ControlCount(); ++i)
        if (dynamic_cast<IkelSkinnedForm*>(host->Controls(i))) first = false;
    SetParent(host);
    if (first) Attach(*host);
}

void TkelForm::Attach(TCustomForm& host) {
    host_ = &host;
    MeasureHostFrame();
    hostBounds_ = host.BoundsRect();
    createdMaximized_ = host.WindowState() == TWindowState::wsMaximized;

    menuBarColor_ = menuBarToColor_ = Color();
    menuBarHeight_ = 22;
    SetUIStyle(TkelUIStyle::DeepBlue);
    SetBevelOuter(TPanelBevel::bvNone);
    SetBevelInner(TPanelBevel::bvNone);
    SetBorderSingle(false);
    SetAlign(TAlign::alClient);
    titleBar_->SetCaption(host.Caption());
    titleBar_->SetVisible(true);
    titleWish_ = true;
    text_ = " ";

    host.SetScaled(false);
    hostBorderStyle_ = host.BorderStyle();
    host.SetAutoScroll(false);
    switch (hostBorderStyle_) {
    case TFormBorderStyle::bsNone:
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
        host.SetBorderStyle(TFormBorderStyle::bsDialog);
        break;
    default:
        break;
    }
    hook_ = std::make_unique<THostHook>(*this, host);
    RefreshHostFrame();
    appEvents_ = std::make_unique<TApplicationEvents>(nullptr);
    appEvents_->OnMessage = [this](MSG& message, bool& handled) { KeyboardHook(message, handled); };
    SetWindowPos(host.Handle(), nullptr, 0, 0, 0, 0, kFrameChangedFlags);
}

void TkelForm::MeasureHostFrame() {
    if (IsMDIChild()) {
        HWND main =
            Application && Application->MainForm() ? Application->MainForm()->Handle() : nullptr;
        measuredBottom_ = SaneFrame(main ? SendMessageA(main, kMDIBottomFrameQuery, 0, 0) : 0);
        measuredLeft_ = SaneFrame(main ? SendMessageA(main, kMDILeftFrameQuery, 0, 0) : 0);
        return;
    }
    HWND window = host_->Handle();
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT topLeft{0, 0}, bottomRight{client.right, client.bottom};
    ::ClientToScreen(window, &topLeft);
    ::ClientToScreen(window, &bottomRight);
    measuredBottom_ = SaneFrame(outer.bottom - bottomRight.y);
    measuredLeft_ = SaneFrame(topLeft.x - outer.left);
}

// Takes the caption bits out of the host's style: the skin draws the caption itself.
void TkelForm::RefreshHostFrame() {
    if (!host_ || !host_->HandleAllocated()) return;
    HWND window = host_->Handle();
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (style & WS_CAPTION) SetWindowLongA(window, GWL_STYLE, style & ~WS_CAPTION);
}

TkelForm::~TkelForm() {
    closing_ = true;
    // The menu must not call back into a form that is gone, attached or not.
    if (auto* menu = SkinnedMenu()) menu->SetShowingForm(nullptr);
    Detach();
    appEvents_.reset();
    DestroyMenuBar();
}

void TkelForm::Detach() {
    if (!hook_) return;
    if (auto* menu = SkinnedMenu()) menu->SetShowingForm(nullptr);
    closing_ = true;
    hook_.reset(); // the host's own window procedure again
    if (host_ && host_->HandleAllocated() && !host_->Destroying()) {
        HWND window = host_->Handle();
        SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_CAPTION);
        SetWindowRgn(window, nullptr, TRUE);
        SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

bool TkelForm::IsMDIChild() const {
    return host_ && host_->FormStyle() == TFormStyle::fsMDIChild;
}

HWND TkelForm::MDIClient() const {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    return main ? main->MDIClientHandle() : nullptr;
}

const std::string& TkelForm::Version() const {
    static const std::string version = "6.5";
    return version;
}

const std::string& TkelForm::About() const {
    static const std::string about = "https://skin-library.example/components";
    return about;
}

int TkelForm::FrameWidthAnswer() const {
    return skinLeft_ != 0 ? std::max(skinLeft_, 4) : measuredBottom_ - 1;
}

void TkelForm::SetBorderColor(TColor value) {
    borderColor_ = value;
    PaintFrame();
}

void TkelForm::SetBorderWidth(int value) {
    borderWidth_ = value;
    PaintFrame();
}

void TkelForm::SetTitleBarVisible(bool value) {
    if (titleBar_->Visible() == value) return;
    if (!mdiToggle_) titleWish_ = value;
    titleBar_->SetVisible(value);
    titleBar_->SetTop(0);
    PaintFrame();
    UpdateRegion();
}

void TkelForm::SetCaption(const std::string& value) {
    titleBar_->SetCaption(value);
    if (host_) host_->SetCaption(value);
}

void TkelForm::SetFormPanel(TCustomPanel* value) {
    if (value == this) {
        ShowErrorMessage("Sorry, you can't select the Form assign to FormPanel property");
        return;
    }
    if (formPanel_) formPanel_->RemoveFreeNotification(this);
    formPanel_ = value;
    if (!value) return;
    value->FreeNotification(this);
    value->SetAlign(TAlign::alClient);
    if (dynamic_cast<TPanel*>(value)) {
        value->SetBevelOuter(TPanelBevel::bvNone);
        value->SetBevelInner(TPanelBevel::bvNone);
        value->SetBorderSingle(false);
        value->SetCaption("");
    }
}

void TkelForm::SetRoundCorner(int value) {
    titleBar_->SetRoundCorner(value);
    UpdateRegion();
}

void TkelForm::SetRoundCornerBottom(int value) {
    titleBar_->SetRoundCornerBottom(value);
    UpdateRegion();
}

void TkelForm::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == formPanel_) formPanel_ = nullptr;
    if (component == menu_) {
        menu_ = nullptr;
        DestroyMenuBar();
    }
    if (component == fileTheme_ && !Destroying()) {
        fileTheme_ = nullptr;
        ApplyThemeToChildren(*this, TkelUIStyle::DeepBlue, nullptr);
        SetUIStyle(TkelUIStyle::DeepBlue);
    }
    if (component == host_) {
        Detach();
        host_ = nullptr;
    }
}

void TkelForm::Resize() {
    TCustomPanel::Resize();
    if (titleBar_) titleBar_->SetTop(0);
}

} // namespace kel
