// The skinned title bar: a windowed panel along the top of a form, drawn entirely from pictures.
// A row of picture strips (sections) makes the background, caption buttons stand at the right, the
// control box or the application icon at the left and the caption between them. The bar drags,
// maximises, restores, minimises and closes its form and opens a skinned system menu. Its look
// comes from a built-in UI style or a file theme.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/Collections.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Handles.h"
#include "skin/frame/KELPopupMenu.h"

namespace kel {

class TkelTitleBar;
class TkelFileTheme;

// Sent by the bar to its form during every paint: a skinned form answers with the width of its
// side frame, any other form with 0.
constexpr UINT WM_KEL_FRAMEWIDTH = 9923;

enum class TkelTitleBarAlign { kelLeft, kelRight, kelClient };
enum class TkelTitleBarBtnType { kelMax, kelMin, kelClose, kelHelp, kelControlBox, kelCustom };

using TkelTitleBarButtonClickEvent = std::function<void(TObject* sender, int buttonIndex)>;
// Asked before an action; setting allow to false cancels it.
using TkelTitleBarButtonClickEvent2 = std::function<void(TObject* sender, bool& allow)>;

// One picture strip of the bar. Left and right sections are drawn at their picture's size from
// the edges inwards; the one client section is stretched over what is left; a caption section
// grows with the caption.
class TkelTitleBarSection : public TCollectionItem {
public:
    explicit TkelTitleBarSection(TCollection& collection);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value); // takes the picture's width when there is a picture
    int Width() const { return width_; }
    void SetWidth(int value);
    TkelTitleBarAlign Align() const { return align_; }
    // A second client section is refused with a message; a client section is always stretched.
    void SetAlign(TkelTitleBarAlign value);
    const TPicture& Picture() const { return picture_; }
    void SetPicture(const TPicture& value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool CapSec() const { return capSec_; }
    void SetCapSec(bool value);

    // Copies Width, Align, Picture, Stretch and AutoSize (not CapSec) through the setters.
    void Assign(const TCollectionItem& source) override;

private:
    void Repaint();
    TkelTitleBar* Bar() const;

    bool autoSize_ = false;
    int width_ = 10;
    TkelTitleBarAlign align_ = TkelTitleBarAlign::kelLeft;
    TPicture picture_;
    bool stretch_ = false;
    bool capSec_ = false;
};

// A caption button: its pictures for the normal, hot and pressed states come from the title-button
// strip of its UI style (a custom button keeps the pictures it is given).
class TkelTitleBarButton : public TCollectionItem {
public:
    explicit TkelTitleBarButton(TCollection& collection);

    TkelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TkelUIStyle value); // reloads the pictures
    TkelTitleBarBtnType ButtonType() const { return buttonType_; }
    // A second control box is refused with a message; otherwise the pictures are reloaded.
    void SetButtonType(TkelTitleBarBtnType value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    int Top() const { return top_; }
    void SetTop(int value);
    TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void SetControlBoxMenu(TPopupMenu* value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    const TPicture& PicNormal() const { return picNormal_; }
    void SetPicNormal(const TPicture& value);
    const TPicture& PicMouseOn() const { return picMouseOn_; }
    void SetPicMouseOn(const TPicture& value);
    const TPicture& PicMouseDown() const { return picMouseDown_; }
    void SetPicMouseDown(const TPicture& value);
    // True when all three pictures hold a graphic with pixels: only such a button is drawn and
    // can be hit.
    bool HasPictures() const;

    // Performs the button's action on the bar's form (maximise or restore, minimise, close, the
    // control box's menu), asking the veto events first.
    void Click();
    // Cuts the three pictures from the style's or file theme's title-button strip.
    void ReloadPictures();
    // A maximise button shows the restore pictures while the form is maximised.
    void RefreshMaxPictures();

    // Copies Visible, ButtonType, Transparent, Top and UIStyle through the setters, the three
    // pictures, and the ControlBoxMenu reference.
    void Assign(const TCollectionItem& source) override;

private:
    void Repaint();
    TkelTitleBar* Bar() const;
    // Transparent and Top as the style or file theme gives them.
    void TakeStyleSettings();
    // The strip this button's pictures come from; false when the file theme holds none.
    bool LoadStrip(TBitmap& strip) const;
    // The strip frame of the normal picture (hot and pressed follow it) for the button's type.
    int FirstFrame() const;
    void CutPictures();

    TkelUIStyle uiStyle_ = TkelUIStyle::DeepBlue;
    TkelTitleBarBtnType buttonType_ = TkelTitleBarBtnType::kelCustom;
    bool transparent_ = false;
    int top_ = 2;
    TPopupMenu* controlBoxMenu_ = nullptr;
    bool visible_ = true;
    TPicture picNormal_, picMouseOn_, picMouseDown_;
};

// The bar's collections: every change repaints the bar.
class TkelTitleBarSections : public TTypedCollection<TkelTitleBarSection> {
    KEL_DECLARE_CLASS(TkelTitleBarSections)
public:
    explicit TkelTitleBarSections(TkelTitleBar* bar);
    TkelTitleBar* Bar() const;

protected:
    void Update(TCollectionItem* item) override;
};

class TkelTitleBarButtons : public TTypedCollection<TkelTitleBarButton> {
    KEL_DECLARE_CLASS(TkelTitleBarButtons)
public:
    explicit TkelTitleBarButtons(TkelTitleBar* bar);
    TkelTitleBar* Bar() const;

protected:
    void Update(TCollectionItem* item) override;
};

// The bar's system menu: minimise, maximise/restore, a separator and close, each enabled only
// while the bar shows the matching button.
class TkelTitleBarPopupMenu : public TkelPopupMenu {
    KEL_DECLARE_CLASS(TkelTitleBarPopupMenu)
public:
    TkelTitleBarPopupMenu(TComponent* owner, TkelTitleBar* bar);
    TkelTitleBar* Bar() const { return bar_; }
    // Enables the items for the bar's visible buttons; opens 176 pixels further right when the
    // bar reads right to left.
    void Popup(int x, int y) override;
    void UpdateItemStates();

private:
    TkelTitleBar* bar_;
};

class TkelTitleBar : public TCustomPanel, public IkelThemedComponent {
    KEL_DECLARE_CLASS(TkelTitleBar)
public:
    explicit TkelTitleBar(TComponent* owner);
    ~TkelTitleBar() override;

    // With Custom, a new UIStyle or FileTheme keeps the user's sections, buttons, offsets and
    // font colour.
    bool Custom() const { return custom_; }
    void SetCustom(bool value) { custom_ = value; }
    TkelFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TkelFileTheme* value);
    TkelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TkelUIStyle value);
    bool AutoSize() const { return autoSize_; }
    // Takes the height of the first section's picture (3 less on a skinned form).
    void SetAutoSize(bool value);
    TkelTitleBarSections* Sections() const { return sections_.get(); }
    void SetSections(TkelTitleBarSections* value);
    TkelTitleBarButtons* Buttons() const { return buttons_.get(); }
    void SetButtons(TkelTitleBarButtons* value);
    int ButtonInterval() const { return buttonInterval_; }
    void SetButtonInterval(int value);
    bool FormActive() const { return formActive_; }
    void SetFormActive(bool value);
    int LeftBtnXOffset() const { return leftBtnXOffset_; }
    void SetLeftBtnXOffset(int value);
    int RightBtnXOffset() const { return rightBtnXOffset_; }
    void SetRightBtnXOffset(int value);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void SetDrawAppIcon(bool value);
    // Stored for the skinned form, which rounds the window's corners with them.
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int value) { roundCorner_ = value; }
    int RoundCornerBottom() const { return roundCornerBottom_; }
    void SetRoundCornerBottom(int value) { roundCornerBottom_ = value; }
    TColor InactiveCaptionColor() const { return inactiveCaptionColor_; }
    void SetInactiveCaptionColor(TColor value);

    TkelTitleBarButtonClickEvent OnCustomBtnsClick;
    TkelTitleBarButtonClickEvent OnHelpBtnClick;
    TkelTitleBarButtonClickEvent2 OnMinClick;
    TkelTitleBarButtonClickEvent2 OnMaxClick;

    // Paints the sections into a bitmap of the bar's size and rebuilds the full and the composed
    // title image.
    virtual void DrawSections(TBitmap& bitmap);
    // Paints the buttons, the control box or icon and the caption, and finds the hot button.
    virtual void DrawButtons(TBitmap& bitmap);
    // -1: the full title image; -2: the composed title image; another index: that section's
    // picture, only when there are more than two sections. False leaves `graphic` as it was.
    bool GetTitleGraphic(int index, TGraphic*& graphic);
    // Draws the sections and the title images again if the bar's size, settings, form or caption
    // changed since they were last drawn, without painting the screen; true when it drew them.
    bool UpdateSections();
    // Exactly three or exactly five sections.
    bool HasStandardSections() const;
    // Every maximise button shows the pictures for the form's present window state.
    void RefreshMaxPictures();
    // The bar stands on a skinned form, which frames the window around it.
    bool Framed() const;
    TkelTitleBarPopupMenu& SystemMenu() { return *systemMenu_; }
    // The form the bar commands, or nullptr.
    TCustomForm* ParentForm() const;

    // Index of the button under the mouse at the last paint, -1 for none.
    int HotButton() const { return hotButton_; }
    bool Pressed() const { return pressed_; }
    // The caption as the caption section shows it; empty without a caption section.
    const std::string& FittedCaption() const { return fittedCaption_; }
    // The caption text the last paint drew, shortened with "..." where it had to be.
    const std::string& DrawnCaption() const { return drawnCaption_; }
    // Where the buttons and the icon stand (set by the style).
    int ButtonTop() const { return buttonTop_; }
    // True when the file theme gives this style's look.
    bool UsesFileTheme(TkelUIStyle style) const;

    // The system menu's actions and the minimise button's.
    void Minimize();
    void ClickMaxButtons(bool firstOnly);
    void CloseForm();
    void PopupSystemMenu();

    // ---- Framework input and notifications ----
    void DblClick() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void FontChanged() override;
    void TextChanged() override;
    // Every change of the bar's settings, sections or buttons comes here: the sections are drawn
    // again at the next paint.
    void Invalidate() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint() override;
    void EraseBackground(HDC dc) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TkelTitleBarButton;
    void ApplyStyle();
    void ApplyFileThemeLook();
    void ApplyBuiltInLook(TkelUIStyle style);
    void SetFormMinimumSize(int width, int height);
    int FrameWidthOfForm() const;
    TBitmap& PreparedPaintBuffer();
    HICON SmallIcon();
    POINT CursorInBar() const;
    std::string CaptionToDraw(TCanvas& canvas, int space) const;
    void DrawCaption(TBitmap& bitmap, int xl, int xb);
    void DrawControlBox(TBitmap& bitmap, TkelTitleBarButton& box, POINT cursor, int& xl);
    TBitmap& PictureFor(TkelTitleBarButton& button, bool hot);
    void DrawPictureWithBackground(TCanvas& canvas, int x, int y, TGraphic& picture);

    bool custom_ = false;
    TkelFileTheme* fileTheme_ = nullptr;
    TkelUIStyle uiStyle_ = TkelUIStyle::DeepBlue;
    bool autoSize_ = false;
    std::unique_ptr<TkelTitleBarSections> sections_;
    std::unique_ptr<TkelTitleBarButtons> buttons_;
    std::unique_ptr<TkelTitleBarPopupMenu> systemMenu_;
    TBitmap fullTitle_, composedTitle_;
    TBitmap buttonPicture_; // carries one button picture while the buttons are drawn
    TBitmap backedPicture_; // carries a right section's picture over the background colour
    TBitmap paintBuffer_;   // the bar is painted here and copied to the screen
    // The sections as last drawn, and what they were drawn for.
    struct TSectionsKey {
        int Width = -1, Height = -1, FrameWidth = -1;
        const TCustomForm* Form = nullptr;
        std::string Caption;
        bool operator==(const TSectionsKey& o) const {
            return Width == o.Width && Height == o.Height && FrameWidth == o.FrameWidth &&
                   Form == o.Form && Caption == o.Caption;
        }
    };
    TBitmap sectionsLayer_;
    TSectionsKey sectionsKey_;
    bool sectionsStale_ = true;
    // What the paint buffer's finished bar was painted for, besides the sections.
    struct TPaintedKey {
        POINT Cursor{};
        bool Pressed = false;
        HICON Icon = nullptr;
        bool operator==(const TPaintedKey& o) const {
            return Cursor.x == o.Cursor.x && Cursor.y == o.Cursor.y && Pressed == o.Pressed &&
                   Icon == o.Icon;
        }
    };
    TPaintedKey paintedKey_;
    std::optional<POINT> paintCursor_; // the cursor while one paint draws the buttons
    bool paintedValid_ = false;
    bool paintFontStale_ = true;
    gdi::UniqueIcon smallIcon_; // the application's icon at 16 x 16, made when it changes
    HICON smallIconSource_ = nullptr;
    int buttonInterval_ = 0;
    bool formActive_ = true;
    int leftBtnXOffset_ = 0, rightBtnXOffset_ = 0;
    bool drawAppIcon_ = true;
    int roundCorner_ = 0, roundCornerBottom_ = 0;
    TColor inactiveCaptionColor_ = 0xFF000000 | COLOR_INACTIVECAPTION;

    int hotButton_ = -1;
    bool pressed_ = false;
    std::string fittedCaption_, drawnCaption_;
    // Taken from the theme when the sections are built.
    bool fivePart_ = false;
    TColor transparentColor_ = 0, titleBackColor_ = 0;
    int buttonTop_ = 0, iconTop_ = 0, captionTop_ = 0, stripHeight_ = 0;
    bool assigningFileTheme_ = false;
};

} // namespace kel
