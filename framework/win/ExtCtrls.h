// Timers, pictures and panels on a form.
#pragma once

#include <windows.h>

#include "framework/win/Controls.h"

namespace kel {

// A Win32 timer: OnTimer fires every Interval milliseconds on the GUI thread while Enabled.
// An interval of 0 never fires.
class TTimer : public TComponent, public TWindowTarget {
    KEL_DECLARE_CLASS(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer;

private:
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void UpdateTimer();

    TWindowBinding window_{*this}; // message-only window that receives WM_TIMER
    bool enabled_ = true;
    unsigned interval_ = 1000;
};

// Shows a picture at its top-left corner (or stretched to its bounds).
class TImage : public TGraphicControl {
    KEL_DECLARE_CLASS(TImage)
public:
    explicit TImage(TComponent* owner);
    TPicture& Picture() { return picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);

protected:
    void Paint() override;

private:
    TPicture picture_;
    bool stretch_ = false;
};

enum class TPanelBevel { bvNone, bvLowered, bvRaised };
KEL_ENUM_NAMES(TPanelBevel, "bvNone", "bvLowered", "bvRaised")

// A windowed rectangle that holds other controls: filled with its colour, framed by an outer and
// an inner bevel, its caption centred. Usually aligned to an edge or the client area of its parent.
class TCustomPanel : public TCustomControl {
    KEL_DECLARE_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    // A single-line border drawn by the window system around the panel.
    bool BorderSingle() const { return borderSingle_; }
    void SetBorderSingle(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    bool borderSingle_ = false;
};

class TPanel : public TCustomPanel {
    KEL_DECLARE_CLASS(TPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

} // namespace kel
