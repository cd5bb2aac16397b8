#include "framework/win/Menus.h"

#include <algorithm>

#include "framework/win/Controls.h"

namespace kel {

namespace {

UINT NextCommand() {
    static UINT next = 100;
    return next++;
}

// The items of the pop-up menu that is open, for measuring and drawing owner-drawn items.
TMenuItem* gOpenMenu = nullptr;

// The hidden window that owns open pop-up menus and draws owner-drawn items.
class TPopupList {
public:
    static TPopupList& Instance() {
        static TPopupList list;
        return list;
    }
    HWND Window() const { return window_; }

private:
    TPopupList() {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TPopupList::WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KelPopupList";
        RegisterClassExA(&wc);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, "KelPopupList", "", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_;
};

LRESULT CALLBACK TPopupList::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TMenuItem* root = gOpenMenu;
    if (message == WM_MEASUREITEM && root) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (TMenuItem* item = root->FindCommand(mis->itemID); item && item->OnMeasureItem) {
            HDC dc = GetDC(window);
            TCanvas canvas;
            canvas.SetHandle(dc);
            int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
            SafeCall([&] { item->OnMeasureItem(item, canvas, w, h); });
            canvas.SetHandle(nullptr);
            ReleaseDC(window, dc);
            mis->itemWidth = static_cast<UINT>(std::max(0, w));
            mis->itemHeight = static_cast<UINT>(std::max(0, h));
            return TRUE;
        }
    }
    if (message == WM_DRAWITEM && root) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (TMenuItem* item = root->FindCommand(dis->itemID); item && item->OnDrawItem) {
            TCanvas canvas;
            canvas.SetHandle(dis->hDC);
            SafeCall([&] {
                item->OnDrawItem(item, canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
            });
            canvas.SetHandle(nullptr);
            return TRUE;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

// ---- TMenuItem ---------------------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TMenuItem", &TComponent::StaticClassInfo());
        TPublisher<TMenuItem>(i)
            .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
            .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
        return i;
    }();
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    for (TMenuItem* item : items_) item->parent_ = nullptr;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    item->parent_ = this;
    items_.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
}

void TMenuItem::Click() {
    SafeCall([this] {
        if (OnClick) OnClick(this);
    });
}

void TMenuItem::BuildMenu(HMENU menu) const {
    for (const TMenuItem* item : items_) {
        if (!item->visible_) continue;
        UINT flags = item->OnDrawItem ? MF_OWNERDRAW : MF_STRING;
        if (item->IsLine()) flags |= MF_SEPARATOR;
        if (!item->enabled_) flags |= MF_GRAYED;
        if (item->checked_) flags |= MF_CHECKED;
        if (!item->items_.empty()) {
            HMENU sub = CreatePopupMenu();
            item->BuildMenu(sub);
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                        item->caption_.c_str());
        } else {
            AppendMenuA(menu, flags, item->command_,
                        (flags & MF_OWNERDRAW) ? reinterpret_cast<LPCSTR>(item)
                                               : item->caption_.c_str());
        }
    }
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
    if (command_ == command) return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->FindCommand(command)) return found;
    return nullptr;
}

// ---- TMenu, TPopupMenu -------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
    static const TClassInfo info("TMenu", &TComponent::StaticClassInfo());
    return info;
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
    static const TClassInfo info("TPopupMenu", &TMenu::StaticClassInfo());
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {}

TMenu::~TMenu() {
    delete items_;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int x, int y) {
    lastPoint_ = {x, y};
    SafeCall([this] {
        if (OnPopup) OnPopup(this);
    });
    HMENU menu = CreatePopupMenu();
    Items().BuildMenu(menu);
    TPopupList& list = TPopupList::Instance();
    gOpenMenu = &Items();
    // The owner must be in the foreground for the menu to close when the user clicks elsewhere.
    SetForegroundWindow(list.Window());
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, x, y, 0,
                       list.Window(), nullptr));
    PostMessageA(list.Window(), WM_NULL, 0, 0);
    gOpenMenu = nullptr;
    DestroyMenu(menu);
    if (command == 0) return;
    if (TMenuItem* item = Items().FindCommand(command)) item->Click();
}

} // namespace kel
