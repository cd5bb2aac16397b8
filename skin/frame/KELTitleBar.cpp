// The title bar component: construction, its settings, the mouse rules, the messages it handles
// and its system menu.
#include "skin/frame/KELTitleBar.h"

#include "framework/win/Forms.h"
#include "skin/frame/KELStringIds.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

// The text of the program's string table, or the given one when the program carries none.
std::wstring LoadWideString(UINT id) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleA(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

} // namespace

// ---- System menu -------------------------------------------------------------------------------

const TClassInfo& TkelTitleBarPopupMenu::StaticClassInfo() {
    static const TClassInfo info("TkelTitleBarPopupMenu", &TkelPopupMenu::StaticClassInfo());
    return info;
}

TkelTitleBarPopupMenu::TkelTitleBarPopupMenu(TComponent* owner, TkelTitleBar* bar)
    : TkelPopupMenu(owner), bar_(bar) {
    SetAutoHotkeys(TMenuAutoFlag::maManual);
    struct Entry {
        UINT Text;
        std::function<void()> Action;
    };
    const Entry entries[] = {
        {KEL_IDS_SYSMENU_MINIMIZE, [bar] { bar->Minimize(); }},
        {KEL_IDS_SYSMENU_MAXIMIZE, [bar] { bar->ClickMaxButtons(false); }},
        {0, nullptr},
        {KEL_IDS_SYSMENU_CLOSE, [bar] { bar->CloseForm(); }},
    };
    for (const Entry& entry : entries) {
        auto* item = new TMenuItem(this);
        if (entry.Text) {
            item->SetWideCaption(LoadWideString(entry.Text));
            item->OnClick = [action = entry.Action](TObject*) { action(); };
        } else {
            item->SetCaption("-");
        }
        Items().Add(item);
    }
    HookItems();
}

void TkelTitleBarPopupMenu::UpdateItemStates() {
    auto shows = [this](TkelTitleBarBtnType type) {
        TkelTitleBarButtons& buttons = *bar_->Buttons();
        for (int i = 0; i < buttons.Count(); ++i)
            if (buttons.Items(i).ButtonType() == type && buttons.Items(i).Visible()) return true;
        return false;
    };
    Items().Items(0)->SetEnabled(shows(TkelTitleBarBtnType::kelMin));
    Items().Items(1)->SetEnabled(shows(TkelTitleBarBtnType::kelMax));
    Items().Items(3)->SetEnabled(shows(TkelTitleBarBtnType::kelClose));
}

void TkelTitleBarPopupMenu::Popup(int x, int y) {
    if (bar_->UseRightToLeftReading()) x += 176;
    UpdateItemStates();
    TkelPopupMenu::Popup(x, y);
}

// ---- Title bar ---------------------------------------------------------------------------------

const TClassInfo& TkelTitleBar::StaticClassInfo() {
    static const TClassInfo info = [] {
        using B = TkelTitleBar;
        TClassInfo i("TkelTitleBar", &TCustomPanel::StaticClassInfo());
        TPublisher<B>(i)
            .Property("Custom", &B::Custom, &B::SetCustom)
            .Property("FileTheme", &B::FileTheme, &B::SetFileTheme)
            .Property("UIStyle", &B::UIStyle, &B::SetUIStyle)
            .Property("AutoSize", &B::AutoSize, &B::SetAutoSize)
            .Property("Height", &B::Height, &B::SetHeight)
            .Property("Sections", &B::Sections, &B::SetSections)
            .Property("Buttons", &B::Buttons, &B::SetButtons)
            .Property("ButtonInterval", &B::ButtonInterval, &B::SetButtonInterval)
            .Property("FormActive", &B::FormActive, &B::SetFormActive)
            .Property("LeftBtnXOffset", &B::LeftBtnXOffset, &B::SetLeftBtnXOffset)
            .Property("RightBtnXOffset", &B::RightBtnXOffset, &B::SetRightBtnXOffset)
            .Property("DrawAppIcon", &B::DrawAppIcon, &B::SetDrawAppIcon)
            .Property("RoundCorner", &B::RoundCorner, &B::SetRoundCorner)
            .Property("RoundCornerBottom", &B::RoundCornerBottom, &B::SetRoundCornerBottom)
            .Property("InactiveCaptionColor", &B::InactiveCaptionColor, &B::SetInactiveCaptionColor,
                      "TColor");
        return i;
    }();
    return info;
}

TkelTitleBar::TkelTitleBar(TComponent* owner) : TCustomPanel(owner) {
    // The bar's images follow its width, which changes at every step of a resize.
    for (TBitmap* image : {&fullTitle_, &composedTitle_, &paintBuffer_, &sectionsLayer_})
        image->SetKeepsMemory(true);
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBevelOuter(TPanelBevel::bvNone);
    systemMenu_ = std::make_unique<TkelTitleBarPopupMenu>(this, this);
    sections_ = std::make_unique<TkelTitleBarSections>(this);
    buttons_ = std::make_unique<TkelTitleBarButtons>(this);
    for (TkelTitleBarBtnType type :
         {TkelTitleBarBtnType::kelControlBox, TkelTitleBarBtnType::kelClose,
          TkelTitleBarBtnType::kelMax, TkelTitleBarBtnType::kelMin})
        buttons_->Add().SetButtonType(type);
    SetAlign(TAlign::alTop);
    SetParentFont(false);
    Font().SetColor(clWhite);
    Font().SetName("Tahoma");
    Font().SetStyle(fsBold);
    SetUIStyle(DefaultUIStyleOf(owner));
}

TkelTitleBar::~TkelTitleBar() {
    buttons_.reset();
    sections_.reset();
    systemMenu_.reset();
}

TCustomForm* TkelTitleBar::ParentForm() const {
    return GetParentForm(this);
}

bool TkelTitleBar::Framed() const {
    return dynamic_cast<IkelSkinnedForm*>(Parent()) != nullptr;
}

void TkelTitleBar::SetSections(TkelTitleBarSections* value) {
    if (value) sections_->Assign(*value);
}

void TkelTitleBar::SetButtons(TkelTitleBarButtons* value) {
    if (value) buttons_->Assign(*value);
}

void TkelTitleBar::SetButtonInterval(int value) {
    buttonInterval_ = value;
    Invalidate();
}

void TkelTitleBar::SetFormActive(bool value) {
    formActive_ = value;
    Invalidate();
}

void TkelTitleBar::SetLeftBtnXOffset(int value) {
    leftBtnXOffset_ = value;
    Invalidate();
}

void TkelTitleBar::SetRightBtnXOffset(int value) {
    rightBtnXOffset_ = value;
    Invalidate();
}

void TkelTitleBar::SetDrawAppIcon(bool value) {
    drawAppIcon_ = value;
    Invalidate();
}

void TkelTitleBar::SetInactiveCaptionColor(TColor value) {
    inactiveCaptionColor_ = value;
    Invalidate();
}

void TkelTitleBar::FontChanged() {
    Invalidate();
}

void TkelTitleBar::TextChanged() {
    Invalidate();
}

void TkelTitleBar::Invalidate() {
    sectionsStale_ = true;
    TCustomPanel::Invalidate();
}

void TkelTitleBar::RefreshMaxPictures() {
    for (int i = 0; i < buttons_->Count(); ++i) buttons_->Items(i).RefreshMaxPictures();
}

void TkelTitleBar::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove || Destroying()) return;
    if (buttons_)
        for (int i = 0; i < buttons_->Count(); ++i)
            if (buttons_->Items(i).ControlBoxMenu() == component)
                buttons_->Items(i).SetControlBoxMenu(nullptr);
    if (component == fileTheme_) {
        fileTheme_ = nullptr;
        SetUIStyle(TkelUIStyle::DeepBlue);
    }
}

// ---- Actions -----------------------------------------------------------------------------------

void TkelTitleBar::Minimize() {
    TCustomForm* form = ParentForm();
    if (!form) return;
    bool allow = true;
    SafeCall([&] {
        if (OnMinClick) OnMinClick(this, allow);
    });
    if (!allow) return;
    if (Application && Application->MainForm() == form)
        SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else
        form->SetWindowState(TWindowState::wsMinimized);
}

void TkelTitleBar::ClickMaxButtons(bool firstOnly) {
    for (int i = 0; i < buttons_->Count(); ++i) {
        TkelTitleBarButton& button = buttons_->Items(i);
        if (button.ButtonType() != TkelTitleBarBtnType::kelMax || !button.Visible()) continue;
        button.Click();
        if (firstOnly) return;
    }
}

void TkelTitleBar::CloseForm() {
    if (TCustomForm* form = ParentForm()) form->Close();
}

void TkelTitleBar::PopupSystemMenu() {
    const POINT p = ClientToScreen({0, Height()});
    systemMenu_->Popup(p.x, p.y);
}

// ---- Mouse -------------------------------------------------------------------------------------

void TkelTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomPanel::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    pressed_ = true;
    Repaint();
    TCustomForm* form = ParentForm();
    if (!form) return;
    const bool maximized = form->WindowState() == TWindowState::wsMaximized;
    if ((hotButton_ == -1 && !maximized) || Designing()) {
        // The window manager moves the form with the mouse until the button comes up.
        ReleaseCapture();
        pressed_ = false;
        SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
}

void TkelTitleBar::MouseMove(TShiftState shift, int x, int y) {
    TCustomPanel::MouseMove(shift, x, y);
    Repaint();
}

void TkelTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomPanel::MouseUp(button, shift, x, y);
    if (button == mbLeft && hotButton_ >= 0 && hotButton_ < buttons_->Count()) {
        const int index = hotButton_;
        TkelTitleBarButton& hot = buttons_->Items(index);
        const TkelTitleBarBtnType type = hot.ButtonType();
        if (type == TkelTitleBarBtnType::kelControlBox && !hot.ControlBoxMenu()) {
            pressed_ = false;
            PopupSystemMenu();
        } else {
            hot.Click();
            if (type == TkelTitleBarBtnType::kelCustom && OnCustomBtnsClick)
                SafeCall([&] { OnCustomBtnsClick(this, index); });
            else if (type == TkelTitleBarBtnType::kelHelp && OnHelpBtnClick)
                SafeCall([&] { OnHelpBtnClick(this, index); });
        }
    }
    pressed_ = false;
    Repaint();
}

void TkelTitleBar::MouseLeave() {
    TCustomPanel::MouseLeave();
    Repaint();
}

void TkelTitleBar::DblClick() {
    TCustomPanel::DblClick();
    if (Designing()) return;
    if (hotButton_ == -1) {
        ClickMaxButtons(true);
    } else if (hotButton_ < buttons_->Count() &&
               buttons_->Items(hotButton_).ButtonType() == TkelTitleBarBtnType::kelControlBox) {
        CloseForm();
    }
}

LRESULT TkelTitleBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
        // The bar has no frame of its own: the form's frame handling answers.
        if (TCustomForm* form = ParentForm(); form && form->HandleAllocated())
            return SendMessageA(form->Handle(), message, wParam, lParam);
        break;
    default:
        break;
    }
    return TCustomPanel::WndProc(message, wParam, lParam);
}

} // namespace kel
