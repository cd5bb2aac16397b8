// Menus on real Win32 menus under Wine: the item tree and its ownership, entries kept in step,
// owner-drawn nested sub-menus found by their item data, recycled command numbers, items freed
// while their menu is open, and a form's menu bar with its forwarded messages.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"

namespace kel {
namespace {

class Menus : public ::testing::Test {
protected:
    void SetUp() override { InitFramework(); }

    TMenuItem* Item(TMenuItem& parent, const std::string& caption) {
        auto* item = new TMenuItem(&owner);
        item->SetCaption(caption);
        parent.Add(item);
        return item;
    }
    static MENUITEMINFOA Entry(HMENU menu, int position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info));
        return info;
    }
    static std::string EntryText(HMENU menu, int position) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        return text;
    }

    TComponent owner{nullptr};
};

TEST_F(Menus, EntriesFollowTheItemsAndCarryThemAsItemData) {
    TPopupMenu menu(&owner);
    TMenuItem* open = Item(menu.Items(), "&Open");
    TMenuItem* line = Item(menu.Items(), "-");
    TMenuItem* recent = Item(menu.Items(), "Recent");
    TMenuItem* first = Item(*recent, "first.skn");
    HMENU handle = menu.Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 3);
    EXPECT_EQ(EntryText(handle, 0), "&Open");
    EXPECT_TRUE(Entry(handle, 1).fType & MFT_SEPARATOR);
    const MENUITEMINFOA sub = Entry(handle, 2);
    EXPECT_EQ(TMenuItem::FromItemData(sub.dwItemData), recent);
    EXPECT_EQ(sub.hSubMenu, recent->Handle());
    EXPECT_EQ(TMenuItem::FromHandle(sub.hSubMenu), recent);
    EXPECT_EQ(TMenuItem::FromItemData(Entry(sub.hSubMenu, 0).dwItemData), first);

    open->SetEnabled(false);
    open->SetChecked(true);
    open->SetDefault(true);
    open->SetCaption("&Open skin...");
    const MENUITEMINFOA changed = Entry(handle, 0);
    EXPECT_TRUE(changed.fState & MFS_GRAYED);
    EXPECT_TRUE(changed.fState & MFS_CHECKED);
    EXPECT_TRUE(changed.fState & MFS_DEFAULT);
    EXPECT_EQ(EntryText(handle, 0), "&Open skin...");

    line->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(handle), 2);
    EXPECT_EQ(TMenuItem::FromItemData(Entry(handle, 1).dwItemData), recent);
    line->SetVisible(true);
    EXPECT_EQ(TMenuItem::FromItemData(Entry(handle, 1).dwItemData), line);

    // The last sub-item gone: the entry no longer opens a sub-menu.
    delete first;
    EXPECT_EQ(Entry(handle, 2).hSubMenu, nullptr);
}

TEST_F(Menus, ItemsOwnTheirSubItemsAndMoveBetweenParents) {
    TPopupMenu menu(&owner);
    TMenuItem* parent = Item(menu.Items(), "Parent");
    TMenuItem* child = Item(*parent, "Child");
    TMenuItem* grandchild = Item(*child, "Grandchild");
    struct TWatch : TComponent {
        using TComponent::TComponent;
        std::vector<TComponent*> gone;
        void Notification(TComponent* c, TOperation op) override {
            if (op == TOperation::opRemove) gone.push_back(c);
        }
    } watch(nullptr);
    child->FreeNotification(&watch);
    grandchild->FreeNotification(&watch);

    // Moving keeps the item alive and takes its entry along.
    TMenuItem* other = Item(menu.Items(), "Other");
    other->Add(grandchild);
    EXPECT_EQ(grandchild->Parent(), other);
    EXPECT_EQ(child->Count(), 0);
    EXPECT_EQ(GetMenuItemCount(other->Handle()), 1);
    EXPECT_THROW(grandchild->Add(other), Exception); // no cycles

    const int before = owner.ComponentCount();
    delete parent; // frees Child with it
    EXPECT_EQ(watch.gone, (std::vector<TComponent*>{child}));
    EXPECT_EQ(owner.ComponentCount(), before - 2);
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 1);

    other->Remove(grandchild); // handed back, not freed
    EXPECT_EQ(grandchild->Parent(), nullptr);
    EXPECT_EQ(watch.gone.size(), 1u);
    delete grandchild;
    menu.Items().Clear();
    EXPECT_EQ(menu.Items().Count(), 0);
}

TEST_F(Menus, CommandNumbersStayBelow65536AndAreRecycled) {
    std::set<UINT> live;
    std::vector<std::unique_ptr<TMenuItem>> items;
    for (int i = 0; i < 5000; ++i) {
        items.push_back(std::make_unique<TMenuItem>(nullptr));
        live.insert(items.back()->Command());
        EXPECT_LE(items.back()->Command(), 0xFFFFu);
    }
    EXPECT_EQ(live.size(), 5000u);
    EXPECT_EQ(TMenuItem::FromCommand(items[42]->Command()), items[42].get());
    const UINT freed = items[42]->Command();
    items[42].reset();
    EXPECT_EQ(TMenuItem::FromCommand(freed), nullptr);
    items.clear();
    // Far more items over time than numbers exist: every number comes back.
    for (int i = 0; i < 140000; ++i) {
        TMenuItem item(nullptr);
        ASSERT_LE(item.Command(), 0xFFFFu);
    }
    std::set<UINT> again;
    for (int i = 0; i < 5000; ++i) {
        items.push_back(std::make_unique<TMenuItem>(nullptr));
        again.insert(items.back()->Command());
    }
    EXPECT_EQ(again.size(), 5000u);
}

TEST_F(Menus, ThousandsOfEntriesComeAndGo) {
    TPopupMenu menu(&owner);
    for (int i = 0; i < 3000; ++i) Item(menu.Items(), "Item " + std::to_string(i));
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 3000);
    for (int i = 0; i < 3000; i += 2) delete menu.Items().Items(i / 2); // every other one
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 1500);
    EXPECT_EQ(EntryText(menu.Handle(), 0), "Item 1");
    menu.Items().Clear();
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 0);
}

// Drives the open menu from a helper thread: the menu runs its own loop on the GUI thread.
std::thread PressKeys(std::vector<WPARAM> keys) {
    return std::thread([keys] {
        HWND window = nullptr;
        for (int i = 0; i < 400 && !window; ++i) {
            Sleep(10);
            HWND w = FindWindowA("#32768", nullptr);
            if (w && IsWindowVisible(w)) window = w;
        }
        for (WPARAM key : keys) {
            Sleep(60);
            // The key goes to the newest menu window (a sub-menu opens its own).
            HWND target = FindWindowA("#32768", nullptr);
            PostMessageA(target ? target : window, WM_KEYDOWN, key, 0);
        }
    });
}

TEST_F(Menus, NestedOwnerDrawnSubMenusAreMeasuredAndDrawnByTheirItems) {
    TPopupMenu menu(&owner);
    std::vector<std::string> drawn, measured;
    auto ownerDraw = [&](TMenuItem* item) {
        item->OnMeasureItem = [&](TMenuItem* i, TCanvas&, int& w, int& h) {
            measured.push_back(i->Caption());
            w = 120;
            h = 20;
        };
        item->OnDrawItem = [&](TMenuItem* i, TCanvas& canvas, const RECT& r, bool) {
            drawn.push_back(i->Caption());
            canvas.Brush().SetColor(0x00C08040);
            canvas.FillRect(r);
        };
    };
    TMenuItem* styles = Item(menu.Items(), "Styles");
    TMenuItem* more = Item(*styles, "More");
    TMenuItem* deep = Item(*more, "Deep");
    for (TMenuItem* item : {styles, more, deep}) ownerDraw(item);
    int deepClicks = 0;
    deep->OnClick = [&](TObject*) { ++deepClicks; };

    std::thread keys = PressKeys({VK_DOWN, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    menu.Popup(100, 100);
    keys.join();
    for (const char* caption : {"Styles", "More", "Deep"}) {
        EXPECT_NE(std::find(measured.begin(), measured.end(), caption), measured.end()) << caption;
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), caption), drawn.end()) << caption;
    }
    EXPECT_EQ(deepClicks, 1);
}

TEST_F(Menus, AnItemFreedWhileItsMenuIsOpenIsNeitherDrawnNorRun) {
    TPopupMenu menu(&owner);
    int clicks = 0;
    TMenuItem* doomed = Item(menu.Items(), "Doomed");
    doomed->OnClick = [&](TObject*) { ++clicks; };
    TMenuItem* stays = Item(menu.Items(), "Stays");
    stays->OnDrawItem = [](TMenuItem*, TCanvas& c, const RECT& r, bool) { c.FillRect(r); };
    TTimer timer(&owner);
    timer.SetInterval(50);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        delete doomed; // while the menu loop runs
    };
    std::thread keys = PressKeys({VK_DOWN, VK_RETURN});
    menu.Popup(100, 100);
    keys.join();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(menu.Items().Count(), 1);
}

TEST_F(Menus, AFormShowsItsMainMenuAndForwardsTheMenuMessages) {
    TForm form(nullptr);
    auto* bar = new TMainMenu(&form);
    TMenuItem* file = Item(bar->Items(), "&File");
    TMenuItem* exit = Item(*file, "E&xit");
    Item(*file, "E&xport");
    TMenuItem* save = Item(*file, "&Save");
    save->OnDrawItem = [](TMenuItem*, TCanvas&, const RECT&, bool) {};
    int exits = 0, popups = 0;
    exit->OnClick = [&](TObject*) { ++exits; };
    file->OnClick = [&](TObject*) { ++popups; };
    save->SetHint("Saves the skin");
    form.SetMenu(bar);
    HWND window = form.Handle();
    EXPECT_EQ(GetMenu(window), bar->Handle());

    SendMessageA(window, WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
    EXPECT_EQ(exits, 1);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->Handle()), 0);
    EXPECT_EQ(popups, 1);
    SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(save->Command(), MF_OWNERDRAW),
                 reinterpret_cast<LPARAM>(file->Handle()));
    EXPECT_EQ(Application->Hint(), "Saves the skin");

    // Hot keys of owner-drawn entries: one match runs, several select.
    EXPECT_EQ(SendMessageA(window, WM_MENUCHAR, 's', reinterpret_cast<LPARAM>(file->Handle())),
              MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(SendMessageA(window, WM_MENUCHAR, 'X', reinterpret_cast<LPARAM>(file->Handle())),
              MAKELRESULT(0, MNC_SELECT));

    // Item data that is no live item is left to the system.
    MEASUREITEMSTRUCT stray{ODT_MENU, 0, 1, 0, 0, 0x1234};
    SendMessageA(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&stray));
    EXPECT_EQ(stray.itemWidth, 0u);

    // The window goes first: the menu stays whole for its items.
    HMENU handle = bar->Handle();
    DestroyWindow(window);
    EXPECT_TRUE(IsMenu(handle));
    EXPECT_EQ(GetMenuItemCount(handle), 1);
}

TEST_F(Menus, ShortcutsHaveTheirTextAndRunTheirItems) {
    EXPECT_EQ(ShortCutToText(ShortCut('O', ssCtrl)), "Ctrl+O");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssShift)), "Shift+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, 0)), "F5");
    EXPECT_EQ(ShortCutToText(ShortCut('S', ssShift | ssCtrl | ssAlt)), "Shift+Ctrl+Alt+S");
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCutToText(ShortCut(0xE5, ssCtrl)), ""); // a key without a name

    TForm form(nullptr);
    auto* bar = new TMainMenu(&form);
    TMenuItem* file = Item(bar->Items(), "&File");
    TMenuItem* reload = Item(*file, "&Reload");
    TMenuItem* hidden = Item(*file, "Hidden");
    int reloads = 0, hiddens = 0;
    reload->OnClick = [&](TObject*) { ++reloads; };
    hidden->OnClick = [&](TObject*) { ++hiddens; };
    reload->SetShortCut(ShortCut(VK_F5, 0));
    hidden->SetShortCut(ShortCut(VK_F6, 0));
    hidden->SetVisible(false);
    EXPECT_EQ(EntryText(file->Handle(), 0), "&Reload\tF5");
    form.SetMenu(bar);
    form.Show();
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_F5, 0);
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_F6, 0);
    Application->ProcessMessages();
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(hiddens, 0); // an invisible item takes no shortcut
    EXPECT_FALSE(bar->IsShortCut(0, 0));
}

TEST_F(Menus, AutomaticHotkeysAreDistinctPerLevelAndCaptionsStayOtherwise) {
    TPopupMenu menu(&owner);
    Item(menu.Items(), "Burn");
    Item(menu.Items(), "Blank");
    Item(menu.Items(), "-");
    Item(menu.Items(), "&Save");
    TMenuItem* copy = Item(menu.Items(), "Copy");
    Item(*copy, "Copy all");
    EXPECT_EQ(menu.Items().Items(0)->Caption(), "Burn"); // manual by default
    menu.SetAutoHotkeys(TMenuAutoFlag::maAutomatic);
    std::vector<std::string> captions;
    for (int i = 0; i < menu.Items().Count(); ++i)
        captions.push_back(menu.Items().Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"&Burn", "B&lank", "-", "&Save", "&Copy"}));
    EXPECT_EQ(copy->Items(0)->Caption(), "&Copy all"); // a level of its own
    TMenuItem* later = Item(menu.Items(), "Settings");
    EXPECT_EQ(later->Caption(), "S&ettings"); // items inserted later too
}

} // namespace
} // namespace kel
