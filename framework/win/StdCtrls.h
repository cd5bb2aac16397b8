// Labels and push buttons.
#pragma once

#include "framework/win/Controls.h"

namespace kel {

// Text on a form, drawn on the parent's canvas. With AutoSize it takes the size of its text (one
// line, or the lines of its width when WordWrap is set).
class TLabel : public TGraphicControl {
    KEL_DECLARE_CLASS(TLabel)
public:
    explicit TLabel(TComponent* owner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    void FontChanged() override;
    void TextChanged() override;

protected:
    void Paint() override;

private:
    UINT DrawFlags() const;
    void AdjustBounds();

    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};

// The system's push button. A click writes its ModalResult to the form; Default makes Enter click
// it, Cancel makes Escape click it.
class TButton : public TWinControl {
    KEL_DECLARE_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }

    void Click() override;
    bool DialogKey(WORD key, TShiftState shift) override;
    bool DialogChar(char ch, TShiftState shift) override;
    void FocusChanged(TWinControl* focused) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CommandNotify(WORD code) override;

private:
    void SetActive(bool value);
    bool default_ = false, cancel_ = false, active_ = false;
    int modalResult_ = mrNone;
};

// The system's one-line edit box; with PasswordChar its text shows as that character.
class TEdit : public TWinControl {
    KEL_DECLARE_CLASS(TEdit)
public:
    explicit TEdit(TComponent* owner);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char value);
    std::string Text() const { return GetText(); }
    void SetTextValue(const std::string& value) { SetText(value); }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    char passwordChar_ = 0;
};

// The character after the ampersand of an accelerator caption ("&OK" gives 'O'), or 0.
char AcceleratorOf(const std::string& caption);
// True when `ch` is the accelerator of the caption, letter case ignored.
bool IsAccel(char ch, const std::string& caption);

} // namespace kel
