// The system menus behind menu items: each item with sub-items keeps a menu of their entries,
// changed entry by entry as items come, go and change, and the owner drawing of entries.
#include "framework/win/Controls.h"
#include "framework/win/MenuRegistry.h"
#include "framework/win/Menus.h"
#include "framework/win/Screen.h"

namespace kel {

namespace {

// The description of an item's entry. The caption stays in the entry also for owner-drawn items,
// so the system and tools can read it.
MENUITEMINFOA EntryInfo(TMenuItem& item, std::string& text) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    info.fType = item.IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (item.IsOwnerDraw()) info.fType |= MFT_OWNERDRAW;
    if (!item.IsLine()) {
        info.fMask |= MIIM_STRING;
        text = item.Caption();
        // A drawn entry shows its shortcut itself; the system shows it after a tab.
        if (item.ShortCut() && !item.IsOwnerDraw()) text += "\t" + ShortCutToText(item.ShortCut());
        info.dwTypeData = &text[0];
    }
    info.fState = (item.Enabled() ? MFS_ENABLED : MFS_GRAYED) |
                  (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED) |
                  (item.Default() ? MFS_DEFAULT : 0u);
    info.wID = item.Command();
    info.hSubMenu = item.Count() > 0 ? item.Handle() : nullptr;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    return info;
}

} // namespace

HMENU TMenuItem::Handle() {
    if (handle_) return handle_.get();
    handle_.reset(menuBar_ ? CreateMenu() : CreatePopupMenu());
    if (!handle_) throw EOutOfResources("Out of system resources");
    TMenuRegistry::Instance().SetHandle(handle_.get(), this);
    for (TMenuItem* item : items_)
        if (item->visible_) item->InsertEntry();
    return handle_.get();
}

int TMenuItem::EntryPosition() const {
    int position = 0;
    for (const TMenuItem* sibling : parent_->items_) {
        if (sibling == this) break;
        if (sibling->visible_) ++position;
    }
    return position;
}

void TMenuItem::InsertEntry() {
    if (!parent_ || !parent_->handle_ || !visible_) return;
    std::string text;
    const MENUITEMINFOA info = EntryInfo(*this, text);
    InsertMenuItemA(parent_->handle_.get(), static_cast<UINT>(EntryPosition()), TRUE, &info);
    SetWideEntryText();
}

void TMenuItem::UpdateEntry() {
    if (!parent_ || !parent_->handle_ || !visible_) return;
    std::string text;
    const MENUITEMINFOA info = EntryInfo(*this, text);
    SetMenuItemInfoA(parent_->handle_.get(), static_cast<UINT>(EntryPosition()), TRUE, &info);
    SetWideEntryText();
}

// A UTF-16 caption reaches the entry through the wide API, so the system keeps it exactly.
void TMenuItem::SetWideEntryText() {
    if (wideCaption_.empty() || IsLine()) return;
    std::wstring text = wideCaption_;
    if (shortCut_ && !IsOwnerDraw()) {
        const std::string shortCut = ShortCutToText(shortCut_);
        text += L'\t';
        text.append(shortCut.begin(), shortCut.end()); // the shortcut texts are ASCII
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = &text[0];
    SetMenuItemInfoW(parent_->handle_.get(), static_cast<UINT>(EntryPosition()), TRUE, &info);
}

void TMenuItem::RemoveEntry() {
    if (!parent_ || !parent_->handle_ || !visible_) return;
    // RemoveMenu, not DeleteMenu: a sub-menu belongs to its item, which frees it.
    RemoveMenu(parent_->handle_.get(), static_cast<UINT>(EntryPosition()), MF_BYPOSITION);
}

void TMenuItem::RefreshEntries() {
    for (TMenuItem* item : items_) item->UpdateEntry();
}

// ---- Owner drawing -----------------------------------------------------------------------------

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
    if (!OnMeasureItem) return;
    // The handler measures in the font the system draws menus with.
    TCanvas canvas;
    AssignSystemMenuFont(canvas.Font());
    canvas.SetHandle(dc);
    SafeCall([&] { OnMeasureItem(this, canvas, width, height); });
    canvas.SetHandle(nullptr);
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, bool selected) {
    TCanvas canvas;
    AssignSystemMenuFont(canvas.Font());
    canvas.SetHandle(dc);
    const gdi::SavedDc saved(dc);
    if (OnDrawItem) {
        SafeCall([&] { OnDrawItem(this, canvas, rect, selected); });
    } else {
        // Owner drawing asked for by the menu but no handler: the caption in the system's look.
        FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!enabled_  ? COLOR_GRAYTEXT
                                     : selected ? COLOR_HIGHLIGHTTEXT
                                                : COLOR_MENUTEXT));
        RECT text = rect;
        text.left += 20;
        if (!IsLine())
            DrawTextA(dc, caption_.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    canvas.SetHandle(nullptr);
}

} // namespace kel
