// Menus: a tree of items over real Win32 menus. An item owns its sub-items; an item with sub-items
// keeps a system menu of them in step with every change. Every entry carries its item as item
// data, so owner-drawn items (handlers for measuring and drawing) are found by what the system
// hands back, and commands use recycled 16-bit command numbers. TPopupMenu opens with the
// system's menu loop; TMainMenu is a form's menu bar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/win/Graphics.h"
#include "framework/win/Handles.h"
#include "framework/win/ImgList.h"
#include "framework/win/WindowBinding.h"

namespace kel {

class TMenu;
class TMenuItem;
using TMenuMeasureEvent =
    std::function<void(TMenuItem* item, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawEvent =
    std::function<void(TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected)>;

// A keyboard shortcut: the virtual key in the low byte, and the modifier bits.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(WORD key, unsigned shift);
// The framework's text of a shortcut: "Ctrl+O", "Shift+Del", "F5"; empty for none or for a key
// without a name.
std::string ShortCutToText(TShortCut shortCut);

// Whether a menu gives items without a hot key one of their own (maAutomatic) or leaves the
// captions as written (maManual, the framework's default, so captions never change unasked).
enum class TMenuAutoFlag { maAutomatic, maManual };

enum class TBiDiMode {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
KEL_ENUM_NAMES(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
               "bdRightToLeftReadingOnly")

// The hot key of a caption: the character after a single "&" ("&&" is a literal ampersand),
// upper-cased; 0 when there is none.
char GetHotkey(const std::string& caption);

class TMenuItem : public TComponent {
    KEL_DECLARE_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    // Frees the sub-items and leaves the parent item.
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // A caption given as UTF-16 is kept and shown exactly as written, whatever the system's code
    // page; Caption() then holds its 8-bit form in that code page.
    void SetWideCaption(const std::wstring& value);
    // The caption as it is shown: the UTF-16 caption when one was given, else the 8-bit caption
    // read in the system's code page.
    std::wstring DisplayCaption() const;
    bool IsLine() const { return caption_ == "-"; } // a separator line
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }

    // Sub-items, owned by this item: freeing it frees them. Adding an item that has a parent
    // moves it; Remove hands it back to the caller unfreed.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Clear(); // frees every sub-item
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return parent_; }
    // The menu whose tree holds this item, or nullptr.
    TMenu* GetParentMenu() const;

    void Click();
    TNotifyEvent OnClick;
    TMenuMeasureEvent OnMeasureItem;
    TMenuDrawEvent OnDrawItem;

    // The command number of the item, unique among the live items and below 65536.
    UINT Command() const { return command_; }
    // The system menu of the sub-items, made on first use and kept in step afterwards.
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    bool IsOwnerDraw() const;
    // Refreshes every entry of the system menu (handlers may have been assigned since).
    void RefreshEntries();

    // The item with this command number among this item and its sub-items, or nullptr.
    TMenuItem* FindCommand(UINT command);
    // The live item of a command number or of an entry's item data, or nullptr.
    static TMenuItem* FromCommand(UINT command);
    static TMenuItem* FromItemData(ULONG_PTR data);
    // The live item whose sub-items' system menu this is, or nullptr.
    static TMenuItem* FromHandle(HMENU menu);

    // Owner drawing, called by the framework for the item's entry.
    void MeasureItem(HDC dc, int& width, int& height);
    void DrawItem(HDC dc, const RECT& rect, bool selected);

private:
    friend class TMenu;
    // The entry's position in the parent's system menu (visible items only).
    int EntryPosition() const;
    void InsertEntry();
    void UpdateEntry();
    void RemoveEntry();
    void SetWideEntryText();
    // This item's look changed: its entry follows, and the menu hears of it.
    void Changed();

    std::string caption_;
    std::wstring wideCaption_; // empty unless the caption was given as UTF-16
    std::string hint_;
    bool enabled_ = true, checked_ = false, visible_ = true, default_ = false;
    int imageIndex_ = -1;
    TShortCut shortCut_ = scNone;
    uint16_t command_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr; // set on a menu's root item only
    std::vector<TMenuItem*> items_;
    gdi::UniqueMenu handle_;
    bool menuBar_ = false; // the root of a main menu is a menu bar, not a pop-up
};

class TMenu : public TComponent {
    KEL_DECLARE_CLASS(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem& Items() { return *items_; }
    HMENU Handle() { return items_->Handle(); }
    // Owner drawing for every item of the menu, not only those with a draw handler.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    // The images of the items (ImageIndex), not owned; nullptr for none.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag value);
    // Gives every item without a hot key the first letter or digit of its caption that no sibling
    // uses yet, marking it with "&" in the caption.
    void RethinkHotkeys();
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value) { biDiMode_ = value; }
    // Runs the enabled, visible item (sub-items included) whose shortcut the key and modifiers
    // make; true when there was one.
    bool IsShortCut(WORD key, unsigned shift);
    // The items changed (inserted, removed, or one's look); `rebuilt` when the tree changed.
    std::function<void(TMenu* sender, TMenuItem* source, bool rebuilt)> OnChange;

    // Handles a menu message of a window that shows menus (WM_COMMAND from a menu, measuring and
    // drawing of owner-drawn entries, WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUCHAR); true when it
    // was one, with its result.
    static bool DispatchMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    explicit TMenu(TComponent* owner, bool menuBar);

    // Told of every change of the items; the menu-changed notification.
    virtual void MenuChanged(TMenuItem* source, bool rebuilt);

private:
    friend class TMenuItem;

    std::unique_ptr<TMenuItem> items_;
    bool ownerDraw_ = false;
    TImageList* images_ = nullptr;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    TMenuAutoFlag autoHotkeys_ = TMenuAutoFlag::maManual;
};

class TPopupMenu : public TMenu, public TWindowTarget {
    KEL_DECLARE_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Opens the menu with its top-left corner at a screen point and runs the system's menu loop;
    // choosing an item runs its click, dismissing the menu does nothing.
    virtual void Popup(int x, int y);
    POINT LastPopupPoint() const { return lastPoint_; }
    TNotifyEvent OnPopup;

private:
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    POINT lastPoint_{0, 0};
    TWindowBinding window_{*this}; // hidden owner of the open menu, made on first use
};

// A form's menu bar (TCustomForm::SetMenu shows it).
class TMainMenu : public TMenu {
    KEL_DECLARE_CLASS(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner);
    // Leaves the window that shows it, which would otherwise destroy the menu with itself.
    ~TMainMenu() override;
    // The window showing the menu as its menu bar, or nullptr; set by the form.
    HWND Window() const { return window_; }
    void SetWindow(HWND window);

protected:
    void MenuChanged(TMenuItem* source, bool rebuilt) override; // redraws the bar

private:
    HWND window_ = nullptr;
};

} // namespace kel
