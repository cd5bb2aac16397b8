#include "framework/win/StdCtrls.h"

#include <cctype>

#include "framework/win/Forms.h"

namespace kel {

char AcceleratorOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return caption[i + 1];
        ++i; // "&&" is a literal ampersand
    }
    return 0;
}

bool IsAccel(char ch, const std::string& caption) {
    const char accel = AcceleratorOf(caption);
    return accel != 0 && std::toupper(static_cast<unsigned char>(accel)) ==
                             std::toupper(static_cast<unsigned char>(ch));
}

// ---- TLabel ------------------------------------------------------------------------------------

const TClassInfo& TLabel::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TLabel", &TGraphicControl::StaticClassInfo());
        TPublisher<TLabel>(i)
            .Property("Caption", &TLabel::Caption, &TLabel::SetCaption)
            .Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
            .Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
            .Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
        return i;
    }();
    return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustBounds();
    TGraphicControl::FontChanged();
}

void TLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS | DT_LEFT;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    const std::string text = Caption();
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), text.empty() && !wordWrap_ ? 0 : r.right, r.bottom);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.Brush().SetStyle(TBrushStyle::Solid);
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    canvas.Font().Assign(Font());
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    const std::string text = Caption();
    if (!Enabled()) {
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextA(dc, text.c_str(), -1, &shifted, DrawFlags());
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(Font().Color()));
    }
    DrawTextA(dc, text.c_str(), -1, &r, DrawFlags());
}

// ---- TButton -----------------------------------------------------------------------------------

const TClassInfo& TButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TButton", &TWinControl::StaticClassInfo());
        TPublisher<TButton>(i)
            .Property("Caption", &TButton::Caption, &TButton::SetCaption)
            .Property("Default", &TButton::Default, &TButton::SetDefault)
            .Property("Cancel", &TButton::Cancel, &TButton::SetCancel)
            .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
        return i;
    }();
    return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SystemClass = "BUTTON";
    params.Style |= WS_TABSTOP | (active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
    default_ = value;
    SetActive(value);
}

void TButton::SetActive(bool value) {
    active_ = value;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::FocusChanged(TWinControl* focused) {
    // The focused button, or else the default one, is the one Enter presses.
    SetActive(dynamic_cast<TButton*>(focused) ? focused == this : default_);
}

void TButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED) Click();
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

bool TButton::DialogKey(WORD key, TShiftState shift) {
    if (((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) &&
        (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

bool TButton::DialogChar(char ch, TShiftState) {
    if (IsAccel(ch, Caption()) && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

// ---- TEdit -------------------------------------------------------------------------------------

const TClassInfo& TEdit::StaticClassInfo() {
    static const TClassInfo info("TEdit", &TWinControl::StaticClassInfo());
    return info;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void TEdit::SetPasswordChar(char value) {
    passwordChar_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<BYTE>(value), 0);
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SystemClass = "EDIT";
    params.Style |= WS_TABSTOP | ES_AUTOHSCROLL | WS_BORDER;
    if (passwordChar_) params.Style |= ES_PASSWORD;
}

} // namespace kel
