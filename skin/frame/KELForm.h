// The skinned form: a component dropped on an ordinary form (the host) that frames the host's
// window with the skin. It fills the host's client area as a panel carrying a skinned title bar
// and, with a main menu, a skinned menu bar; it removes the system caption, takes over the host's
// window procedure, sizes and paints the non-client frame from the style's or the file theme's
// pictures, shapes the window with a region, and handles activation, maximising, MDI children,
// Alt+Space and menu shortcuts. Only the first one on a host does this; a second stays a panel.
#pragma once

#include <memory>
#include <string>

#include "framework/win/AppEvnts.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "skin/frame/KELTitleBar.h"

namespace kel {

class TkelMenuBar;
class TkelMainMenu;

class TkelForm : public TCustomPanel, public IkelSkinnedForm {
    KEL_DECLARE_CLASS(TkelForm)
public:
    explicit TkelForm(TComponent* owner);
    ~TkelForm() override;

    bool TitleBarCustom() const { return titleBar_->Custom(); }
    void SetTitleBarCustom(bool value) { titleBar_->SetCustom(value); }
    TkelFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TkelFileTheme* value);
    TkelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TkelUIStyle value);
    // Applying the style also gives it (and the theme) to the child controls that publish both.
    bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
    void SetUIStyleAutoUpdateSub(bool value) { autoUpdateSub_ = value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    bool TitleBarVisible() const { return titleBar_->Visible(); }
    void SetTitleBarVisible(bool value);
    // The title bar's caption; setting it also sets the host form's.
    std::string Caption() const { return titleBar_->Caption(); }
    void SetCaption(const std::string& value);
    // The panel the host's controls stand on; the form itself is refused with a message.
    TCustomPanel* FormPanel() const { return formPanel_; }
    void SetFormPanel(TCustomPanel* value);
    TkelTitleBarButtons* TitleBarButtons() const { return titleBar_->Buttons(); }
    void SetTitleBarButtons(TkelTitleBarButtons* value) { titleBar_->SetButtons(value); }
    TkelTitleBarSections* TitleBarSections() const { return titleBar_->Sections(); }
    void SetTitleBarSections(TkelTitleBarSections* value) { titleBar_->SetSections(value); }
    bool TitleBarDrawAppIcon() const { return titleBar_->DrawAppIcon(); }
    void SetTitleBarDrawAppIcon(bool value) { titleBar_->SetDrawAppIcon(value); }
    TColor InactiveCaptionColor() const { return titleBar_->InactiveCaptionColor(); }
    void SetInactiveCaptionColor(TColor value) { titleBar_->SetInactiveCaptionColor(value); }
    // Rounded corners of the window; 0 while the title bar is hidden.
    int RoundCorner() const { return TitleBarVisible() ? titleBar_->RoundCorner() : 0; }
    void SetRoundCorner(int value);
    int RoundCornerBottom() const { return TitleBarVisible() ? titleBar_->RoundCornerBottom() : 0; }
    void SetRoundCornerBottom(int value);
    const std::string& Version() const;
    void SetVersion(const std::string&) {}
    const std::string& About() const;
    void SetAbout(const std::string&) {}

    // ---- The menu bar ----
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* value);
    TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(TColor value);
    TColor MenuBarToColor() const { return menuBarToColor_; }
    void SetMenuBarToColor(TColor value);
    // The bar's height while it exists and shows, else 0; setting stores the height for the bar
    // and its buttons.
    int MenuBarHeight() const;
    void SetMenuBarHeight(int value);
    TkelMenuBar* MenuBar() const { return menuBar_; }
    void RebuildMenuBar() override;
    void SyncMenuBarButtons() override;
    void RefreshMenuBarFont() override;
    // A key-down message that is a shortcut of Menu runs the item; true then.
    bool IsMenuShortCut(const MSG& message);

    TkelTitleBarButtonClickEvent& OnTitleBarCustomBtnsClick() {
        return titleBar_->OnCustomBtnsClick;
    }
    TkelTitleBarButtonClickEvent& OnTitleBarHelpBtnClick() { return titleBar_->OnHelpBtnClick; }
    TkelTitleBarButtonClickEvent2& OnTitleBarMinBtnClick() { return titleBar_->OnMinClick; }
    TkelTitleBarButtonClickEvent2& OnTitleBarMaxBtnClick() { return titleBar_->OnMaxClick; }

    TkelTitleBar& TitleBar() const { return *titleBar_; }
    TCustomForm* Host() const { return host_; }
    // False for a component that is not the first skinned form of a form (or not on a form).
    bool Attached() const { return hook_ != nullptr; }
    // The side frame width the title bar asks for.
    int FrameWidthAnswer() const;
    // Paints the whole non-client frame of the host window.
    void PaintFrame() override;
    // Gives the host window its region: rounded corners, or the outline of the theme pictures.
    // Without `redraw` the window is not repainted for it; the caller sees to that.
    void UpdateRegion(bool redraw = true);
    // Bands beside the menu bar, filled as the bar is.
    void FillLikeMenuBar(TCanvas& canvas, const RECT& rect);

protected:
    void Paint() override;
    void EraseBackground(HDC dc) override;
    void Resize() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    class THostHook;
    friend class THostHook;
    friend class TkelMenuBar;
    void Attach(TCustomForm& host);
    void Detach();
    void MeasureHostFrame();
    void ApplyStyle();
    void ApplyFileThemeLook();
    void RefreshHostFrame();
    LRESULT HostMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CalcClientArea(WPARAM wParam, LPARAM lParam);
    void HostSized();
    void MDIChildSized(bool maximized);
    // Paints the title bar now if part of it waits for a paint.
    void PaintPendingTitleBar();
    // Whether the panel is shown and part of it waits for a paint (which paints the frame too).
    bool PanelPaintPending();
    void ScrollPanelControls(int dy);
    void KeyboardHook(MSG& message, bool& handled);
    void PaintBuiltInFrame(HDC dc, int width, int height);
    void PaintThemeFrame(HDC dc, int width, int height);
    void PaintBottomImage(HDC dc, int width, int height);
    // Makes the bottom border's picture for a window `width` wide, unless it is made already.
    void UpdateBottomImage(int width);
    HRGN RegionFromPictures(int width, int height);
    // While a hold is open, frame paints asked for (by the title bar drawing its sections, say)
    // are left out: the holder paints or invalidates the frame once when it is done.
    class TFramePaintHold {
    public:
        explicit TFramePaintHold(TkelForm& form) : form_(form) { ++form_.framePaintHolds_; }
        ~TFramePaintHold() { --form_.framePaintHolds_; }
        TFramePaintHold(const TFramePaintHold&) = delete;
        TFramePaintHold& operator=(const TFramePaintHold&) = delete;

    private:
        TkelForm& form_;
    };
    bool IsMDIChild() const;
    HWND MDIClient() const;
    TkelMainMenu* SkinnedMenu() const;
    void CreateMenuBar();
    void DestroyMenuBar();
    TkelUIStyle MenuStyle() const;

    TCustomForm* host_ = nullptr;
    std::unique_ptr<THostHook> hook_;
    TFormBorderStyle hostBorderStyle_ = TFormBorderStyle::bsSizeable;
    int measuredBottom_ = 4, measuredLeft_ = 4;
    int skinLeft_ = 0, skinRight_ = 0, skinBottom_ = 0;
    TBitmap bottomImage_; // the bottom border's picture at the window's width
    TBitmap bottomShown_; // ... with its transparent pixels in the form's colour, for a region
    TBitmap regionMask_;  // the rows a region is cut from
    int bottomImageWidth_ = -1; // the width both were made for; -1: none made
    TColor transparentColor_ = clFuchsia;
    bool titleRegion_ = false, bottomRegion_ = false;
    int titleFirstRow_ = 0, titleLastRow_ = 0, bottomFirstRow_ = 0, bottomLastRow_ = 0;
    RECT hostBounds_{};
    bool createdMaximized_ = false;
    bool titleWish_ = true, mdiToggle_ = false;
    bool mdiMaxLayout_ = false, restoredOnce_ = false, createdMaxMdiChild_ = false;
    bool closing_ = false;
    bool shownMaximized_ = false;    // the state the maximise button's pictures show
    bool systemMenuPending_ = false; // Alt+Space came: the system menu opens when Alt is up
    int framePaintHolds_ = 0;
    bool sizeChanging_ = false;      // between the host's size-changing and size-changed messages
    bool framePaintSkipped_ = false; // a frame paint came during that time and was left out

    TkelTitleBar* titleBar_ = nullptr;
    TkelMenuBar* menuBar_ = nullptr;
    std::unique_ptr<TApplicationEvents> appEvents_;
    TkelFileTheme* fileTheme_ = nullptr;
    TkelUIStyle uiStyle_ = TkelUIStyle::DeepBlue;
    bool autoUpdateSub_ = false;
    TColor borderColor_ = clBlack;
    int borderWidth_ = 1;
    TCustomPanel* formPanel_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TColor menuBarColor_ = clBtnFace, menuBarToColor_ = clBtnFace;
    int menuBarHeight_ = 22;
};

} // namespace kel
