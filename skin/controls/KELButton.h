// The skin library's push buttons. TkelCustomButton owns the behaviour (mouse-over and pressed
// states, the repeat timer while the left button is held, Space and Enter, accelerators, default
// and cancel roles, the modal result) and paints itself double-buffered from a state picture of
// its UI style or file theme. TkelImageButton draws from four pictures the application supplies.
#pragma once

#include <memory>
#include <string>

#include "framework/win/Controls.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Graphics.h"
#include "skin/controls/KELThemes.h"
#include "skin/themes/KELMgr.h"

namespace kel {

class TkelFileTheme;

class TkelCustomButton : public TCustomControl, public IkelThemedComponent {
    KEL_DECLARE_CLASS(TkelCustomButton)
public:
    explicit TkelCustomButton(TComponent* owner);
    ~TkelCustomButton() override;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    virtual TkelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TkelUIStyle value);
    TkelFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TkelFileTheme* value);
    int MouseContinuouslyDownInterval() const { return repeatInterval_; }
    void SetMouseContinuouslyDownInterval(int value) { repeatInterval_ = value; }
    int FocusedRectMargin() const { return focusedRectMargin_; }
    void SetFocusedRectMargin(int value);
    void SetEnabled(bool value) override;

    // Enter clicks this button (follows Default on window creation and every focus change).
    bool Active() const { return active_; }
    bool MouseOver() const { return mouseOver_; }
    bool Pressed() const { return pressed_; }
    bool RepeatTimerRunning() const { return repeatTimer_ != nullptr; }

    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMouseContinuouslyDown;

    // ---- Framework input and notifications ----
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelMode() override;
    bool DialogKey(WORD key, TShiftState shift) override;
    bool DialogChar(char ch, TShiftState shift) override;
    void FocusChanged(TWinControl* focused) override;
    void TextChanged() override;
    // Also the hook of the font property: takes the font into the control's canvas and repaints.
    void FontChanged() override;
    // Also the hook of the Enabled property; here only the framework's own handling.
    void EnabledChanged() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

    // ---- Hooks of the button's looks, replaced by descendants ----
    virtual void UpdateAutoSize();
    virtual void CaptionChanged() {}
    virtual void TransparentChanged();
    virtual void UIStyleChanged() {}
    virtual void DrawPicture(TCanvas& canvas, TBitmap* picture);
    virtual void DrawCaption(TCanvas& canvas, const std::string& caption);
    virtual void PaintFocusRect(TCanvas& canvas);
    virtual void GetNormalPicture(TBitmap& bitmap);
    virtual void GetMouseOnPicture(TBitmap& bitmap);
    virtual void GetMouseDownPicture(TBitmap& bitmap);
    virtual void GetDisabledPicture(TBitmap& bitmap);

    // Copied from Transparent by TransparentChanged: pixels of the picture's top-left colour are
    // left out when drawing.
    bool SeeThrough() const { return seeThrough_; }
    void SetSeeThrough(bool value) { seeThrough_ = value; }

private:
    void FillStatePicture(TBitmap& picture);
    void StyleFrame(TBitmap& bitmap, int frame); // frame 1..3 of the style's button strip
    void StartRepeatTimer();
    void FreeRepeatTimer();
    void RepeatTick();
    void DropMouseState(); // leaves the mouse-over and pressed states
    bool PressKey(WPARAM key) const;

    bool autoSize_ = false;
    std::string caption_;
    bool cancel_ = false;
    bool default_ = false;
    bool transparent_ = false;
    int modalResult_ = mrNone;
    TkelUIStyle uiStyle_ = TkelUIStyle::DeepBlue;
    TkelFileTheme* fileTheme_ = nullptr;
    bool seeThrough_ = false;
    std::unique_ptr<TTimer> repeatTimer_;
    // A timer freed from inside its own tick lives on until the tick has returned.
    std::unique_ptr<TTimer> retiredTimer_;
    int tickDepth_ = 0;
    int repeatInterval_ = 100;
    int focusedRectMargin_ = 2;
    bool active_ = false;
    bool mouseOver_ = false;
    bool pressed_ = false;
    bool writingCaption_ = false; // the control text is being set from Caption
};

class TkelImageButton : public TkelCustomButton {
    KEL_DECLARE_CLASS(TkelImageButton)
public:
    explicit TkelImageButton(TComponent* owner);
    ~TkelImageButton() override;

    // The owned pictures; loading into them in place neither resizes nor repaints the button.
    TPicture& PicNormal() { return picNormal_; }
    TPicture& PicMouseOn() { return picMouseOn_; }
    TPicture& PicMouseDown() { return picMouseDown_; }
    TPicture& PicDisabled() { return picDisabled_; }
    // Copy the picture in, size from PicNormal when AutoSize is set, repaint.
    void SetPicNormal(const TPicture& value);
    void SetPicMouseOn(const TPicture& value);
    void SetPicMouseDown(const TPicture& value);
    void SetPicDisabled(const TPicture& value);

    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool DrawFocused() const { return drawFocused_; }
    void SetDrawFocused(bool value);
    // An image button takes no look from a style: it always reads FromThemeFile.
    TkelUIStyle UIStyle() const override { return TkelUIStyle::FromThemeFile; }

protected:
    void UpdateAutoSize() override;
    void DrawPicture(TCanvas& canvas, TBitmap* picture) override;
    void PaintFocusRect(TCanvas& canvas) override;
    void GetNormalPicture(TBitmap& bitmap) override;
    void GetMouseOnPicture(TBitmap& bitmap) override;
    void GetMouseDownPicture(TBitmap& bitmap) override;
    void GetDisabledPicture(TBitmap& bitmap) override;

private:
    void AssignPicture(TPicture& slot, const TPicture& value);

    TPicture picNormal_;
    TPicture picMouseOn_;
    TPicture picMouseDown_;
    TPicture picDisabled_;
    bool stretch_ = false;
    bool drawFocused_ = false;
};

// Paints the control's parent (its background and windowless children) into the canvas, shifted
// so that the part behind the control lands at the canvas's origin.
void PaintParentBackground(TCanvas& canvas, TControl& control);

} // namespace kel
