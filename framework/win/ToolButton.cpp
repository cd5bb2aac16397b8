// Tool buttons: components placed on a tool bar, each mirrored by one button of the bar's window.
#include "framework/win/ComCtrls.h"

namespace kel {

const TClassInfo& TToolButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TToolButton", &TGraphicControl::StaticClassInfo());
        TPublisher<TToolButton>(i)
            .Property("Caption", &TToolButton::Caption, &TToolButton::SetCaption)
            .Property("Grouping", &TToolButton::Grouping, &TToolButton::SetGrouping)
            .Property("AutoSize", &TToolButton::AutoSize, &TToolButton::SetAutoSize);
        return i;
    }();
    return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    TControl::SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
    if (menuItem_) menuItem_->RemoveFreeNotification(this);
    SetParent(nullptr);
}

void TToolButton::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (toolBar_) toolBar_->RemoveButton(this);
    TGraphicControl::SetParent(parent);
    if (auto* bar = dynamic_cast<TToolBar*>(parent)) bar->InsertButton(this);
}

int TToolButton::Index() const {
    if (!toolBar_) return -1;
    const auto& all = toolBar_->buttons_;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i] == this) return static_cast<int>(i);
    return -1;
}

void TToolButton::SetGrouping(bool value) {
    if (grouping_ == value) return;
    grouping_ = value;
    if (toolBar_) toolBar_->ButtonChanged(this);
}

void TToolButton::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    if (toolBar_) toolBar_->ButtonChanged(this);
}

void TToolButton::SetMenuItem(TMenuItem* item) {
    if (menuItem_ == item) return;
    if (menuItem_) menuItem_->RemoveFreeNotification(this);
    menuItem_ = item;
    if (!item) return;
    item->FreeNotification(this);
    SetCaption(item->Caption());
    SetEnabled(item->Enabled());
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == menuItem_) menuItem_ = nullptr;
}

void TToolButton::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TGraphicControl::SetBounds(left, top, width, height);
    if (!toolBar_ || !resized) return;
    if (height != toolBar_->ButtonHeight()) toolBar_->SetButtonHeight(height);
    toolBar_->ButtonChanged(this);
}

void TToolButton::Click() {
    // A bound button stands for its item: a press drops the sub-menu down (the item hears the
    // opening as its click) or runs the item. Either may free the button, so nothing follows.
    if (!menuItem_) {
        TGraphicControl::Click();
    } else if (toolBar_ && menuItem_->Count() > 0) {
        toolBar_->TrackMenu(this);
    } else {
        menuItem_->Click();
    }
}

void TToolButton::EnabledChanged() {
    if (toolBar_) toolBar_->ButtonChanged(this);
}

void TToolButton::VisibleChanged() {
    if (toolBar_) toolBar_->ButtonChanged(this);
}

void TToolButton::TextChanged() {
    if (toolBar_) toolBar_->ButtonChanged(this);
}

} // namespace kel
