// Menu items: the tree, its system menus kept in step entry by entry, recycled command numbers
// and owner drawing.
#include <algorithm>

#include "framework/win/Controls.h"
#include "framework/win/MenuRegistry.h"
#include "framework/win/Menus.h"

namespace kel {

char GetHotkey(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') { // a literal ampersand
            ++i;
            continue;
        }
        // Upper case by the system's code page, so accented hot keys match too.
        const auto ch = static_cast<unsigned char>(caption[i + 1]);
        return static_cast<char>(reinterpret_cast<ULONG_PTR>(
            CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(ch)))));
    }
    return 0;
}

const TClassInfo& TMenuItem::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TMenuItem", &TComponent::StaticClassInfo());
        TPublisher<TMenuItem>(i)
            .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
            .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
            .Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
            .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
            .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, "TShortCut")
            .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
        return i;
    }();
    return info;
}

TMenuItem::TMenuItem(TComponent* owner)
    : TComponent(owner), command_(TMenuRegistry::Instance().Allocate(this)) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    // The entries leave the system menu first (RemoveMenu keeps their sub-menus alive for their
    // own items to free), then the sub-items go, last first.
    if (handle_) {
        while (GetMenuItemCount(handle_.get()) > 0) RemoveMenu(handle_.get(), 0, MF_BYPOSITION);
        TMenuRegistry::Instance().SetHandle(handle_.get(), nullptr);
    }
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        items_.pop_back();
        item->parent_ = nullptr;
        delete item;
    }
    TMenuRegistry::Instance().Release(command_, this);
}

// ---- Properties --------------------------------------------------------------------------------

void TMenuItem::SetCaption(const std::string& value) {
    const bool wasLine = IsLine();
    caption_ = value;
    wideCaption_.clear();
    if (wasLine != IsLine() && parent_ && visible_) {
        // A separator and a text entry differ in kind: make the entry anew.
        RemoveEntry();
        InsertEntry();
    }
    Changed();
}

void TMenuItem::SetWideCaption(const std::wstring& value) {
    std::string narrow;
    if (!value.empty()) {
        const int n = WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(value.size()),
                                          nullptr, 0, nullptr, nullptr);
        narrow.assign(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(value.size()), &narrow[0], n,
                            nullptr, nullptr);
    }
    SetCaption(narrow);
    wideCaption_ = value; // after SetCaption, which forgets any earlier one
    UpdateEntry();
}

std::wstring TMenuItem::DisplayCaption() const {
    if (!wideCaption_.empty() || caption_.empty()) return wideCaption_;
    const int n = MultiByteToWideChar(CP_ACP, 0, caption_.data(), static_cast<int>(caption_.size()),
                                      nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, caption_.data(), static_cast<int>(caption_.size()), &wide[0], n);
    return wide;
}

void TMenuItem::SetEnabled(bool value) {
    enabled_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value) {
    checked_ = value;
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    default_ = value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
    shortCut_ = value;
    Changed();
}

void TMenuItem::SetImageIndex(int value) {
    imageIndex_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value) {
    if (visible_ == value) return;
    if (!value) RemoveEntry();
    visible_ = value;
    if (value) InsertEntry();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, true);
}

bool TMenuItem::IsOwnerDraw() const {
    if (OnDrawItem) return true;
    const TMenu* menu = GetParentMenu();
    return menu && menu->OwnerDraw();
}

void TMenuItem::Changed() {
    UpdateEntry();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, false);
}

// ---- The tree ----------------------------------------------------------------------------------

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw Exception("A menu item cannot hold itself");
    if (item->parent_) item->parent_->Remove(item);
    const bool hadItems = !items_.empty();
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (handle_ && item->visible_) item->InsertEntry();
    if (!hadItems) UpdateEntry(); // this item's entry opens a sub-menu now
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(item, true);
}

void TMenuItem::Remove(TMenuItem* item) {
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    if (item->visible_) item->RemoveEntry();
    items_.erase(it);
    item->parent_ = nullptr;
    if (items_.empty()) UpdateEntry(); // no sub-menu any more
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(nullptr, true);
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back(); // each leaves this item on its way
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
    if (command_ == command) return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->FindCommand(command)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
    return TMenuRegistry::Instance().ByCommand(command);
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
    return TMenuRegistry::Instance().ByData(data);
}

TMenuItem* TMenuItem::FromHandle(HMENU menu) {
    return menu ? TMenuRegistry::Instance().ByHandle(menu) : nullptr;
}

void TMenuItem::Click() {
    SafeCall([this] {
        if (OnClick) OnClick(this);
    });
}

} // namespace kel
