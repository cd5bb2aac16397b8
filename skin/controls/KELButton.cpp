// TkelCustomButton: property writes, the mouse and keyboard state machine, the repeat timer,
// default, cancel and accelerator handling. The painting is in KELButtonPaint.cpp.
#include "skin/controls/KELButton.h"

#include <algorithm>

#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

// Sets a flag for the lifetime of the scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

const TClassInfo& TkelCustomButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelCustomButton", &TCustomControl::StaticClassInfo());
        TPublisher<TkelCustomButton>(i)
            .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .Property("Caption", &TkelCustomButton::Caption, &TkelCustomButton::SetCaption)
            .Property("AutoSize", &TkelCustomButton::AutoSize, &TkelCustomButton::SetAutoSize)
            .Property("Visible", &TControl::Visible, &TControl::SetVisible)
            .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
        return i;
    }();
    return info;
}

TkelCustomButton::TkelCustomButton(TComponent* owner) : TCustomControl(owner) {
    // No double clicks: a quick second press is an ordinary press, so it clicks again.
    SetControlStyle(ControlStyle() & ~(csDoubleClicks | csAcceptsControls));
    OnClick = nullptr;
    TCustomControl::SetText("");
    SetTabStop(true);
    SetUIStyle(DefaultUIStyleOf(owner));
}

TkelCustomButton::~TkelCustomButton() = default;

// ---- Property writes ---------------------------------------------------------------------------

void TkelCustomButton::SetAutoSize(bool value) {
    autoSize_ = value;
    UpdateAutoSize();
    Repaint();
}

void TkelCustomButton::SetCaption(const std::string& value) {
    caption_ = value;
    {
        const FlagScope writing(writingCaption_);
        TCustomControl::SetText(value);
    }
    CaptionChanged();
    Repaint();
}

void TkelCustomButton::SetDefault(bool value) {
    default_ = value;
    // Every button of the form recomputes which one Enter clicks.
    if (!HandleAllocated()) return;
    if (TCustomForm* form = GetParentForm(this)) form->FocusChanged(form->ActiveControl());
}

void TkelCustomButton::SetTransparent(bool value) {
    transparent_ = value;
    TransparentChanged();
    Repaint();
}

void TkelCustomButton::SetUIStyle(TkelUIStyle value) {
    uiStyle_ = value;
    UIStyleChanged();
    Repaint();
}

void TkelCustomButton::SetFileTheme(TkelFileTheme* value) {
    if (fileTheme_ && fileTheme_ != value) RemoveFreeNotification(fileTheme_);
    fileTheme_ = value;
    // The theme is not owned: hear of its end so no dangling reference survives.
    if (fileTheme_) FreeNotification(fileTheme_);
    Repaint();
}

void TkelCustomButton::SetFocusedRectMargin(int value) {
    focusedRectMargin_ = value;
    Repaint();
}

void TkelCustomButton::SetEnabled(bool value) {
    const bool changed = Enabled() != value;
    TCustomControl::SetEnabled(value); // a change reaches EnabledChanged through the framework
    if (!changed) EnabledChanged();
    Repaint();
}

void TkelCustomButton::TransparentChanged() {
    seeThrough_ = transparent_;
    Repaint();
}

void TkelCustomButton::EnabledChanged() {
    TCustomControl::EnabledChanged();
}

void TkelCustomButton::FontChanged() {
    TCustomControl::FontChanged();
    Canvas().Font().Assign(Font());
    Repaint();
}

void TkelCustomButton::TextChanged() {
    TCustomControl::TextChanged();
    // Text set from outside (for example through the framework's caption) becomes the Caption.
    if (!writingCaption_) SetCaption(TCustomControl::GetText());
}

void TkelCustomButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component &&
        component == static_cast<TComponent*>(fileTheme_)) {
        fileTheme_ = nullptr;
        SetUIStyle(TkelUIStyle::DeepBlue);
    }
}

// ---- Window ------------------------------------------------------------------------------------

void TkelCustomButton::CreateWnd() {
    TCustomControl::CreateWnd();
    active_ = default_;
}

bool TkelCustomButton::PressKey(WPARAM key) const {
    return (key == VK_SPACE || key == VK_RETURN) && Focused() && Enabled();
}

LRESULT TkelCustomButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // Paint covers every pixel; erasing first would only flicker
    case WM_BUTTONQUERY:
        return 1;
    case WM_KEYDOWN: {
        const LRESULT result = TCustomControl::WndProc(message, wParam, lParam);
        if (PressKey(wParam)) {
            pressed_ = true;
            Repaint();
        }
        return result;
    }
    case WM_KEYUP: {
        const LRESULT result = TCustomControl::WndProc(message, wParam, lParam);
        if (PressKey(wParam) && pressed_) {
            pressed_ = false;
            Repaint();
            Click();
        }
        return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT result = TCustomControl::WndProc(message, wParam, lParam);
        Repaint();
        return result;
    }
    default:
        return TCustomControl::WndProc(message, wParam, lParam);
    }
}

// ---- State machine -----------------------------------------------------------------------------

void TkelCustomButton::DropMouseState() {
    mouseOver_ = false;
    pressed_ = false;
}

void TkelCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        pressed_ = true;
        if (!repeatTimer_) StartRepeatTimer();
        if (TabStop() && CanFocus()) {
            try {
                SetFocus();
            } catch (const std::exception&) {
                // A button that cannot take the focus still presses.
            }
        }
        Repaint();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TkelCustomButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    // The right and bottom edges still count as inside. The repeat timer keeps running.
    if (x < 0 || y < 0 || x > Width() || y > Height()) {
        DropMouseState();
        Repaint();
    }
}

void TkelCustomButton::MouseEnter() {
    if (Designing()) return;
    mouseOver_ = true;
    Repaint();
    SafeCall([this] {
        if (OnMouseEnter) OnMouseEnter(this);
    });
}

void TkelCustomButton::MouseLeave() {
    DropMouseState();
    FreeRepeatTimer();
    Repaint();
    SafeCall([this] {
        if (OnMouseExit) OnMouseExit(this);
    });
}

void TkelCustomButton::CancelMode() {
    TCustomControl::CancelMode();
    DropMouseState();
    FreeRepeatTimer();
    Repaint();
}

void TkelCustomButton::Click() {
    if (pressed_) {
        FreeRepeatTimer();
        pressed_ = false;
        Repaint();
    }
    if (Parent())
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TCustomControl::Click();
}

bool TkelCustomButton::DialogKey(WORD key, TShiftState shift) {
    const bool role = (key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_);
    if (role && (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click();
        return true;
    }
    return TCustomControl::DialogKey(key, shift);
}

bool TkelCustomButton::DialogChar(char ch, TShiftState shift) {
    if (TCustomControl::DialogChar(ch, shift)) return true;
    if (!IsAccel(ch, caption_)) return false;
    // Without Alt the accelerator works only while a skinned button has the keyboard focus.
    if ((shift & ssAlt) == 0 && SendMessageA(GetFocus(), WM_BUTTONQUERY, 0, 0) != 1) return false;
    if (!Parent() || !Parent()->Enabled() || !Enabled() || !Visible()) return false;
    Click();
    return true;
}

void TkelCustomButton::FocusChanged(TWinControl* focused) {
    TCustomControl::FocusChanged(focused);
    // Only which button Enter clicks is decided here, and no picture shows it: the buttons losing
    // and taking the focus repaint themselves. Repainting every button of the form would paint
    // them all twice as the window first shows.
    active_ = default_;
}

// ---- Repeat timer ------------------------------------------------------------------------------

void TkelCustomButton::StartRepeatTimer() {
    if (tickDepth_ == 0) retiredTimer_.reset();
    repeatTimer_ = std::make_unique<TTimer>(nullptr);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
    // The interval is read once, here; a negative one never ticks.
    repeatTimer_->SetInterval(static_cast<unsigned>(std::max(0, repeatInterval_)));
    repeatTimer_->SetEnabled(true);
}

void TkelCustomButton::FreeRepeatTimer() {
    if (!repeatTimer_) return;
    if (tickDepth_ > 0) {
        // Freed from its own tick handler: stop it now, destroy it once the tick has returned.
        repeatTimer_->SetEnabled(false);
        retiredTimer_ = std::move(repeatTimer_);
        return;
    }
    repeatTimer_.reset();
    retiredTimer_.reset();
}

void TkelCustomButton::RepeatTick() {
    ++tickDepth_;
    SafeCall([this] {
        if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
    });
    --tickDepth_;
}

} // namespace kel
