// Menus: the pop-up and main menus over their root items, and the handling of the menu messages
// that windows showing menus forward here.
#include "framework/win/Menus.h"

#include "framework/win/Application.h"
#include "framework/win/Controls.h"

namespace kel {

namespace {

// The entry of a menu at a position, as the item it carries.
TMenuItem* EntryItem(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return nullptr;
    return TMenuItem::FromItemData(info.dwItemData);
}

// WM_MENUCHAR: the system found no entry for a typed character (owner-drawn entries have no text
// it reads); the entries whose caption has that hot key are looked up here. One match runs it,
// several select the first of them.
LRESULT MenuChar(char ch, HMENU menu) {
    const int count = GetMenuItemCount(menu);
    const char key = GetHotkey(std::string("&") + ch);
    int found = -1, matches = 0;
    for (int i = 0; i < count; ++i) {
        const TMenuItem* item = EntryItem(menu, static_cast<UINT>(i));
        if (item && item->Enabled() && !item->IsLine() && GetHotkey(item->Caption()) == key) {
            if (found < 0) found = i;
            ++matches;
        }
    }
    if (found < 0) return MAKELRESULT(0, MNC_IGNORE);
    return MAKELRESULT(found, matches == 1 ? MNC_EXECUTE : MNC_SELECT);
}

// Owner drawing of an entry whose item data is a live item; other entries (and other owner-drawn
// controls) are left to the window.
bool MeasureEntry(MEASUREITEMSTRUCT& measure, LRESULT& result) {
    TMenuItem* item =
        measure.CtlType == ODT_MENU ? TMenuItem::FromItemData(measure.itemData) : nullptr;
    if (!item) return false;
    int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
    const gdi::WindowDc screen(nullptr);
    item->MeasureItem(screen.Get(), width, height);
    measure.itemWidth = static_cast<UINT>(std::max(0, width));
    measure.itemHeight = static_cast<UINT>(std::max(0, height));
    result = TRUE;
    return true;
}

bool DrawEntry(const DRAWITEMSTRUCT& draw, LRESULT& result) {
    TMenuItem* item = draw.CtlType == ODT_MENU ? TMenuItem::FromItemData(draw.itemData) : nullptr;
    if (!item) return false;
    item->DrawItem(draw.hDC, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
    result = TRUE;
    return true;
}

} // namespace

// ---- TMenu -------------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TMenu", &TComponent::StaticClassInfo());
        TPublisher<TMenu>(i).Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
        return i;
    }();
    return info;
}

TMenu::TMenu(TComponent* owner) : TMenu(owner, false) {}

TMenu::TMenu(TComponent* owner, bool menuBar)
    : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
    items_->menuBar_ = menuBar;
}

TMenu::~TMenu() {
    items_->menu_ = nullptr; // the items' changes while they go reach no one
}

void TMenu::SetOwnerDraw(bool value) {
    ownerDraw_ = value;
    items_->RefreshEntries();
}

void TMenu::SetImages(TImageList* value) {
    images_ = value;
    MenuChanged(nullptr, false);
}

namespace {
TMenuItem* FindShortCut(TMenuItem& parent, TShortCut shortCut) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible() || !item->Enabled()) continue;
        if (item->ShortCut() == shortCut) return item;
        if (TMenuItem* found = FindShortCut(*item, shortCut)) return found;
    }
    return nullptr;
}
} // namespace

bool TMenu::IsShortCut(WORD key, unsigned shift) {
    const TShortCut shortCut = ShortCut(key, shift);
    if ((shortCut & 0xFF) == 0) return false;
    TMenuItem* item = FindShortCut(*items_, shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuilt) {
    if (rebuilt && autoHotkeys_ == TMenuAutoFlag::maAutomatic) RethinkHotkeys();
    if (OnChange) SafeCall([&] { OnChange(this, source, rebuilt); });
}

bool TMenu::DispatchMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != 0 || lParam != 0) return false; // a control's or an accelerator's
        if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam))) {
            item->Click();
            result = 0;
            return true;
        }
        return false;
    case WM_MEASUREITEM:
        return MeasureEntry(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), result);
    case WM_DRAWITEM:
        return DrawEntry(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), result);
    case WM_INITMENUPOPUP: {
        TMenuItem* item = TMenuItem::FromHandle(reinterpret_cast<HMENU>(wParam));
        if (!item) return false;
        // Handlers assigned since the entries were made take effect now; the item whose sub-menu
        // opens hears it as its click.
        item->RefreshEntries();
        if (item->Parent()) item->Click();
        result = 0;
        return true;
    }
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wParam);
        TMenuItem* item = nullptr;
        if (flags != 0xFFFF && lParam) {
            HMENU menu = reinterpret_cast<HMENU>(lParam);
            item = (flags & MF_POPUP) ? EntryItem(menu, LOWORD(wParam))
                                      : TMenuItem::FromCommand(LOWORD(wParam));
        }
        if (Application) Application->SetHint(item ? item->Hint() : std::string());
        return false; // the window's own handling goes on
    }
    case WM_MENUCHAR:
        if (!TMenuItem::FromHandle(reinterpret_cast<HMENU>(lParam))) return false;
        result = MenuChar(static_cast<char>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
        return true;
    default:
        return false;
    }
}

// ---- TPopupMenu --------------------------------------------------------------------------------

const TClassInfo& TPopupMenu::StaticClassInfo() {
    static const TClassInfo info("TPopupMenu", &TMenu::StaticClassInfo());
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}
TPopupMenu::~TPopupMenu() = default;

LRESULT TPopupMenu::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DispatchMenuMessage(message, wParam, lParam, result)) return result;
    return window_.Default(message, wParam, lParam);
}

void TPopupMenu::Popup(int x, int y) {
    lastPoint_ = {x, y};
    SafeCall([this] {
        if (OnPopup) OnPopup(this);
    });
    if (!window_.Handle()) {
        TWindowParams params;
        params.WinClassName = "KelPopupOwner";
        params.ClassStyle = 0;
        params.Style = WS_POPUP;
        params.ExStyle = WS_EX_TOOLWINDOW;
        window_.Create(params);
    }
    HMENU menu = Handle();
    Items().RefreshEntries();
    // The owner must be in the foreground for the menu to close when the user clicks elsewhere.
    SetForegroundWindow(window_.Handle());
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, x, y, 0,
                       window_.Handle(), nullptr));
    PostMessageA(window_.Handle(), WM_NULL, 0, 0);
    // The item is looked up after the loop: a handler may have freed it meanwhile.
    if (TMenuItem* item = command ? Items().FindCommand(command) : nullptr) item->Click();
}

// ---- TMainMenu ---------------------------------------------------------------------------------

const TClassInfo& TMainMenu::StaticClassInfo() {
    static const TClassInfo info("TMainMenu", &TMenu::StaticClassInfo());
    return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner, true) {}

TMainMenu::~TMainMenu() {
    SetWindow(nullptr);
}

void TMainMenu::SetWindow(HWND window) {
    if (window_ == window) return;
    if (window_ && IsWindow(window_) && Items().HandleAllocated() &&
        GetMenu(window_) == Items().Handle())
        ::SetMenu(window_, nullptr);
    window_ = window;
    if (window_) ::SetMenu(window_, Handle());
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuilt) {
    TMenu::MenuChanged(source, rebuilt);
    if (window_ && IsWindow(window_)) DrawMenuBar(window_);
}

} // namespace kel
