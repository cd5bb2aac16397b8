// The title bar's sections and buttons: their setters, copies, the button pictures cut from the
// title-button strip and the button actions.
#include "framework/win/Forms.h"
#include "skin/controls/KELPublic.h"
#include "skin/frame/KELTitleBar.h"
#include "skin/frame/KELTitleBarTable.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

using namespace titlebar;

// The first (normal) frame of each button in the title-button strip, from 1.
constexpr int kControlBoxFrame = 1, kHelpFrame = 4, kMaxFrame = 7, kRestoreFrame = 10,
              kMinFrame = 13, kCloseFrame = 16;

} // namespace

// ---- Sections ----------------------------------------------------------------------------------

TkelTitleBarSection::TkelTitleBarSection(TCollection& collection) : TCollectionItem(collection) {}

TkelTitleBar* TkelTitleBarSection::Bar() const {
    return static_cast<TkelTitleBarSections&>(Collection()).Bar();
}

void TkelTitleBarSection::Repaint() {
    if (TkelTitleBar* bar = Bar()) bar->Invalidate();
}

void TkelTitleBarSection::SetAutoSize(bool value) {
    autoSize_ = value;
    if (picture_.HasGraphic()) width_ = picture_.Width();
    Repaint();
}

void TkelTitleBarSection::SetWidth(int value) {
    width_ = value;
    Repaint();
}

void TkelTitleBarSection::SetAlign(TkelTitleBarAlign value) {
    if (value == TkelTitleBarAlign::kelClient) {
        auto& sections = static_cast<TkelTitleBarSections&>(Collection());
        for (int i = 0; i < sections.Count(); ++i)
            if (sections.Items(i).Align() == TkelTitleBarAlign::kelClient) {
                ShowErrorMessage("Sorry, only one section's Align property can be \"kelClient\"");
                return;
            }
        stretch_ = true;
    }
    align_ = value;
    Repaint();
}

void TkelTitleBarSection::SetPicture(const TPicture& value) {
    picture_.Assign(value);
    if (autoSize_) width_ = picture_.Width();
    Repaint();
}

void TkelTitleBarSection::SetStretch(bool value) {
    stretch_ = value || align_ == TkelTitleBarAlign::kelClient;
    Repaint();
}

void TkelTitleBarSection::SetCapSec(bool value) {
    capSec_ = value;
    Repaint();
}

void TkelTitleBarSection::Assign(const TCollectionItem& source) {
    const auto* other = dynamic_cast<const TkelTitleBarSection*>(&source);
    if (!other) return TCollectionItem::Assign(source);
    SetWidth(other->Width());
    SetAlign(other->Align());
    SetPicture(other->Picture());
    SetStretch(other->Stretch());
    SetAutoSize(other->AutoSize());
}

const TClassInfo& TkelTitleBarSections::StaticClassInfo() {
    static const TClassInfo info("TkelTitleBarSections", &TOwnedCollection::StaticClassInfo());
    return info;
}

TkelTitleBarSections::TkelTitleBarSections(TkelTitleBar* bar) : TTypedCollection(bar) {}

TkelTitleBar* TkelTitleBarSections::Bar() const {
    return static_cast<TkelTitleBar*>(Owner());
}

void TkelTitleBarSections::Update(TCollectionItem*) {
    if (TkelTitleBar* bar = Bar()) bar->Invalidate();
}

// ---- Buttons -----------------------------------------------------------------------------------

TkelTitleBarButton::TkelTitleBarButton(TCollection& collection) : TCollectionItem(collection) {}

TkelTitleBar* TkelTitleBarButton::Bar() const {
    return static_cast<TkelTitleBarButtons&>(Collection()).Bar();
}

void TkelTitleBarButton::Repaint() {
    if (TkelTitleBar* bar = Bar()) bar->Invalidate();
}

void TkelTitleBarButton::SetUIStyle(TkelUIStyle value) {
    uiStyle_ = value;
    ReloadPictures();
}

void TkelTitleBarButton::SetButtonType(TkelTitleBarBtnType value) {
    if (value == TkelTitleBarBtnType::kelControlBox) {
        auto& buttons = static_cast<TkelTitleBarButtons&>(Collection());
        for (int i = 0; i < buttons.Count(); ++i)
            if (buttons.Items(i).ButtonType() == TkelTitleBarBtnType::kelControlBox) {
                ShowErrorMessage(
                    "Sorry, only one button's ButtonType property can be \"kelControlBox\"");
                return;
            }
    }
    buttonType_ = value;
    ReloadPictures();
    Repaint();
}

void TkelTitleBarButton::SetTransparent(bool value) {
    transparent_ = value;
    Repaint();
}

void TkelTitleBarButton::SetTop(int value) {
    top_ = value;
    Repaint();
}

void TkelTitleBarButton::SetControlBoxMenu(TPopupMenu* value) {
    controlBoxMenu_ = value;
    // The bar hears when the menu is freed and forgets it here.
    if (TkelTitleBar* bar = Bar(); bar && value) bar->FreeNotification(value);
}

void TkelTitleBarButton::SetVisible(bool value) {
    visible_ = value;
    Repaint();
}

void TkelTitleBarButton::SetPicNormal(const TPicture& value) {
    picNormal_.Assign(value);
    Repaint();
}

void TkelTitleBarButton::SetPicMouseOn(const TPicture& value) {
    picMouseOn_.Assign(value);
    Repaint();
}

void TkelTitleBarButton::SetPicMouseDown(const TPicture& value) {
    picMouseDown_.Assign(value);
    Repaint();
}

bool TkelTitleBarButton::HasPictures() const {
    for (const TPicture* p : {&picNormal_, &picMouseOn_, &picMouseDown_})
        if (!p->HasGraphic() || p->Graphic()->Empty()) return false;
    return true;
}

void TkelTitleBarButton::Assign(const TCollectionItem& source) {
    const auto* other = dynamic_cast<const TkelTitleBarButton*>(&source);
    if (!other) return TCollectionItem::Assign(source);
    SetVisible(other->Visible());
    SetButtonType(other->ButtonType());
    SetTransparent(other->Transparent());
    SetTop(other->Top());
    SetUIStyle(other->UIStyle());
    picNormal_.Assign(other->picNormal_);
    picMouseOn_.Assign(other->picMouseOn_);
    picMouseDown_.Assign(other->picMouseDown_);
    SetControlBoxMenu(other->ControlBoxMenu());
}

void TkelTitleBarButton::TakeStyleSettings() {
    TkelTitleBar* bar = Bar();
    const bool custom = buttonType_ == TkelTitleBarBtnType::kelCustom;
    if (bar && bar->UsesFileTheme(uiStyle_)) {
        const TkelFileTheme& theme = *bar->FileTheme();
        transparent_ = theme.GetBool(TkelThemeBoolKey::TitleBtnTrans);
        if (!custom) top_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarButtonPosY);
        return;
    }
    const TkelUIStyle style = ResolveUIStyle(nullptr, uiStyle_).Style;
    transparent_ = GetThemeBool(style, kTransparentPosition);
    if (!custom) top_ = GetThemeInt(style, kButtonTopPosition);
}

bool TkelTitleBarButton::LoadStrip(TBitmap& strip) const {
    TkelTitleBar* bar = Bar();
    if (bar && bar->UsesFileTheme(uiStyle_)) {
        const TBitmap* source = bar->FileTheme()->GetBitmap(TkelThemeBitmapKey::TitleButtons);
        if (!source) return false;
        strip.Assign(*source);
        return true;
    }
    GetThemeBitmap(ResolveUIStyle(nullptr, uiStyle_).Style, kStripPosition, &strip, 0, 0);
    return true;
}

int TkelTitleBarButton::FirstFrame() const {
    switch (buttonType_) {
    case TkelTitleBarBtnType::kelControlBox:
        return kControlBoxFrame;
    case TkelTitleBarBtnType::kelHelp:
        return kHelpFrame;
    case TkelTitleBarBtnType::kelMin:
        return kMinFrame;
    case TkelTitleBarBtnType::kelClose:
        return kCloseFrame;
    case TkelTitleBarBtnType::kelMax: {
        TkelTitleBar* bar = Bar();
        const TCustomForm* form = bar ? bar->ParentForm() : nullptr;
        return form && form->WindowState() == TWindowState::wsMaximized ? kRestoreFrame : kMaxFrame;
    }
    default:
        return 0;
    }
}

void TkelTitleBarButton::CutPictures() {
    TBitmap strip;
    TPicture* pictures[] = {&picNormal_, &picMouseOn_, &picMouseDown_};
    if (!LoadStrip(strip)) {
        // A theme without a title-button strip: no pictures, so the button is not drawn.
        for (TPicture* p : pictures) p->Clear();
        return;
    }
    for (int i = 0; i < 3; ++i)
        ExtractFrame(strip, pictures[i]->Bitmap(), kStripFrames, FirstFrame() + i);
}

void TkelTitleBarButton::ReloadPictures() {
    TakeStyleSettings();
    if (buttonType_ != TkelTitleBarBtnType::kelCustom) CutPictures();
    Repaint();
}

void TkelTitleBarButton::RefreshMaxPictures() {
    TkelTitleBar* bar = Bar();
    if (buttonType_ != TkelTitleBarBtnType::kelMax || !bar || bar->Custom()) return;
    CutPictures();
    Repaint();
}

void TkelTitleBarButton::Click() {
    TkelTitleBar* bar = Bar();
    TCustomForm* form = bar ? bar->ParentForm() : nullptr;
    if (!form) return;
    if (bar->Designing() && buttonType_ != TkelTitleBarBtnType::kelClose) return;
    switch (buttonType_) {
    case TkelTitleBarBtnType::kelMax: {
        bool allow = true;
        SafeCall([&] {
            if (bar->OnMaxClick) bar->OnMaxClick(bar, allow);
        });
        if (!allow) return;
        if (form->WindowState() == TWindowState::wsMaximized) {
            form->SetWindowState(TWindowState::wsNormal);
        } else {
            form->SetWindowState(TWindowState::wsMaximized);
            if (!bar->Framed()) {
                const RECT work = GetWorkArea();
                SetBoundsFromRect(*form,
                                  {work.left - 2, work.top - 2, work.right + 2, work.bottom - 1});
            }
        }
        RefreshMaxPictures();
        break;
    }
    case TkelTitleBarBtnType::kelMin:
        bar->Minimize();
        break;
    case TkelTitleBarBtnType::kelClose:
        bar->CloseForm();
        break;
    case TkelTitleBarBtnType::kelControlBox:
        if (controlBoxMenu_) {
            const bool rtl = bar->UseRightToLeftReading();
            POINT p = bar->ClientToScreen({rtl ? 176 : 0, bar->Height()});
            controlBoxMenu_->Popup(std::max<LONG>(0, p.x), p.y);
        }
        break;
    default:
        break;
    }
}

const TClassInfo& TkelTitleBarButtons::StaticClassInfo() {
    static const TClassInfo info("TkelTitleBarButtons", &TOwnedCollection::StaticClassInfo());
    return info;
}

TkelTitleBarButtons::TkelTitleBarButtons(TkelTitleBar* bar) : TTypedCollection(bar) {}

TkelTitleBar* TkelTitleBarButtons::Bar() const {
    return static_cast<TkelTitleBar*>(Owner());
}

void TkelTitleBarButtons::Update(TCollectionItem*) {
    if (TkelTitleBar* bar = Bar()) bar->Invalidate();
}

} // namespace kel
