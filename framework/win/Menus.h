// Menus: items in a tree, a pop-up menu shown with the system's menu loop. Items may be drawn by
// their owner (handlers for measuring and drawing), which the skinned menus use.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/win/Graphics.h"

namespace kel {

class TMenuItem;
using TMenuMeasureEvent =
    std::function<void(TMenuItem* item, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawEvent =
    std::function<void(TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected)>;

class TMenuItem : public TComponent {
    KEL_DECLARE_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }
    bool IsLine() const { return caption_ == "-"; } // a separator line
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool Checked() const { return checked_; }
    void SetChecked(bool value) { checked_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }

    // Sub-items; an item does not own them (their owner component does) but drops them when they
    // go.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    TMenuItem* Parent() const { return parent_; }

    void Click();
    TNotifyEvent OnClick;
    TMenuMeasureEvent OnMeasureItem;
    TMenuDrawEvent OnDrawItem;

    // Appends this item's sub-items to a system menu; command numbers identify the items.
    void BuildMenu(HMENU menu) const;
    // The item with this command number among this item and its sub-items.
    TMenuItem* FindCommand(UINT command);
    UINT Command() const { return command_; }

private:
    std::string caption_;
    bool enabled_ = true, checked_ = false, visible_ = true;
    int imageIndex_ = -1;
    UINT command_;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    KEL_DECLARE_CLASS(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem& Items() { return *items_; }

private:
    TMenuItem* items_;
};

class TPopupMenu : public TMenu {
    KEL_DECLARE_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);

    // Opens the menu with its top-left corner at a screen point and runs the system's menu loop;
    // choosing an item runs its click, dismissing the menu does nothing.
    void Popup(int x, int y);
    POINT LastPopupPoint() const { return lastPoint_; }
    TNotifyEvent OnPopup;

private:
    POINT lastPoint_{0, 0};
};

} // namespace kel
