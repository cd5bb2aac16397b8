// Timers and pictures on a form.
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

} // namespace kel
