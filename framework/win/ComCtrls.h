// The tool bar over the common controls' tool bar window, and its tool buttons. A button is a
// component (owned by a form, say) placed on the bar with SetParent; the bar mirrors it as one of
// its window's buttons. A button bound to a menu item shows the item's caption and drops its
// sub-menu down under itself when pressed, as a menu bar does. Custom-draw events let the owner
// paint the bar's background and each button on the bar's canvas.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/win/Controls.h"
#include "framework/win/Menus.h"

namespace kel {

class TToolBar;
class TToolButton;

// What a custom-draw handler is told of a button.
enum TCustomDrawStateFlag : unsigned {
    cdsSelected = 1, // pressed, or its drop-down menu is open
    cdsGrayed = 2,
    cdsDisabled = 4,
    cdsChecked = 8,
    cdsFocused = 16,
    cdsDefault = 32,
    cdsHot = 64, // under the mouse
    cdsMarked = 128,
    cdsIndeterminate = 256
};
using TCustomDrawState = unsigned;

// Paints the bar's background into `rect` on the bar's canvas; clearing `defaultDraw` leaves out
// the bar's own drawing of everything.
using TToolBarCustomDrawEvent =
    std::function<void(TToolBar* bar, const RECT& rect, bool& defaultDraw)>;
// Paints one button at its bounds on the bar's canvas; clearing `defaultDraw` leaves out the
// bar's own drawing of it.
using TToolBarCustomDrawButtonEvent = std::function<void(
    TToolBar* bar, TToolButton* button, TCustomDrawState state, bool& defaultDraw)>;

// The bar's etched edges.
enum TEdgeBorderFlag : unsigned { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };
using TEdgeBorders = unsigned;

class TToolButton : public TGraphicControl {
    KEL_DECLARE_CLASS(TToolButton)
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    // Placing the button on a tool bar adds it to the bar: before the first button that stands
    // at or right of the button's Left (so a button left at 0 goes first).
    void SetParent(TWinControl* parent) override;
    TToolBar* ToolBar() const { return toolBar_; }
    // The button's position on its bar, or -1.
    int Index() const;

    // Part of a group of buttons between which an open drop-down menu follows the mouse.
    bool Grouping() const { return grouping_; }
    void SetGrouping(bool value);
    // Sized to its caption; otherwise as wide as set.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Takes the item's caption and enabled state; a press then drops the item's sub-menu down
    // (or runs the item when it has none) instead of the button's OnClick. nullptr unbinds.
    TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(TMenuItem* item);

    // The width applies to a button without AutoSize; the height is the bar's button height.
    void SetBounds(int left, int top, int width, int height) override;
    void Click() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void TextChanged() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    TToolBar* toolBar_ = nullptr;
    TMenuItem* menuItem_ = nullptr;
    bool grouping_ = false;
    bool autoSize_ = false;
    UINT command_ = 0; // the bar window's identifier of the button
};

class TToolBar : public TWinControl {
    KEL_DECLARE_CLASS(TToolBar)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TEdgeBorders EdgeBorders() const { return edgeBorders_; }
    void SetEdgeBorders(TEdgeBorders value);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool value);
    // Buttons that do not fit the bar's width go on to the next row.
    bool Wrapable() const { return wrapable_; }
    void SetWrapable(bool value);
    // The bar's height follows its rows of buttons.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const { return buttons_.at(index); }
    // The button whose sub-menu is open, or nullptr.
    TToolButton* MenuButton() const { return menuButton_; }

    // Draws on the bar inside the custom-draw events, with the bar's font to start with.
    TCanvas& Canvas() { return canvas_; }
    TToolBarCustomDrawEvent OnCustomDraw;
    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

    // Drops the sub-menu of the button's menu item down under the button and runs the menu;
    // while it is open the mouse moving onto another grouped menu button of the bar, or the left
    // and right keys at the menu's own level, open that one instead. False when the button has
    // no sub-menu to show.
    bool TrackMenu(TToolButton* button, bool byKeyboard = false);

    // The &-letter of a button's caption presses that button.
    bool DialogChar(char ch, TShiftState shift) override;
    void SetBounds(int left, int top, int width, int height) override;
    void FontChanged() override; // the buttons are measured again with the new font
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    friend class TToolButton;
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void AddNativeButton(TToolButton* button, int index);
    void ButtonChanged(TToolButton* button);
    int NativeIndex(const TToolButton* button) const;
    TToolButton* ButtonAt(POINT client) const;
    TToolButton* ButtonOfCommand(UINT command) const;
    void UpdateStyle();
    // After a change of the buttons or the bar's size: the buttons' bounds follow the window's
    // layout and, with AutoSize, the bar's height its rows.
    void Relayout();
    LRESULT CustomDraw(NMHDR* header);
    LRESULT NonClient(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs one button's drop-down menu; the grouped button to open next (the mouse moved onto
    // it, or a key chose it, which `byKeyboard` then tells), or nullptr.
    TToolButton* RunMenu(TToolButton* button, bool& byKeyboard);
    void FollowMouse(POINT screen);
    bool FollowKey(WPARAM key); // true when the key switched menus
    void SwitchMenu(TToolButton* next, bool byKeyboard);
    static LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam);

    std::vector<TToolButton*> buttons_;
    TCanvas canvas_;
    bool flat_ = false;
    TEdgeBorders edgeBorders_ = ebTop;
    bool showCaptions_ = false;
    bool wrapable_ = true;
    bool autoSize_ = false;
    int buttonHeight_ = 22;
    int buttonWidth_ = 23;
    UINT nextCommand_ = 1;
    bool relayingOut_ = false;
    TToolButton* menuButton_ = nullptr;
    TToolButton* switchTo_ = nullptr;
    bool switchByKeyboard_ = false;
    HMENU selectedMenu_ = nullptr;    // the open menu's level that has the selection
    bool selectedOpensPopup_ = false; // the selected entry opens a sub-menu
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace kel
