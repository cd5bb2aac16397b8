#include "framework/win/ExtCtrls.h"

namespace kel {

// ---- TTimer ------------------------------------------------------------------------------------

const TClassInfo& TTimer::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TTimer", &TComponent::StaticClassInfo());
        TPublisher<TTimer>(i)
            .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
            .Property("Interval", &TTimer::Interval, &TTimer::SetInterval);
        return i;
    }();
    return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    TWindowParams params;
    params.WinClassName = "KelTimer";
    params.ClassStyle = 0;
    params.WndParent = HWND_MESSAGE;
    window_.Create(params);
    UpdateTimer();
}

TTimer::~TTimer() {
    KillTimer(window_.Handle(), 1);
}

void TTimer::SetEnabled(bool value) {
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(window_.Handle(), 1);
    if (enabled_ && interval_ > 0 && !SetTimer(window_.Handle(), 1, interval_, nullptr))
        throw EOutOfResources("Not enough timers available");
}

LRESULT TTimer::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return window_.Default(message, wParam, lParam);
    if (enabled_)
        SafeCall([this] {
            if (OnTimer) OnTimer(this);
        });
    return 0;
}

// ---- TImage ------------------------------------------------------------------------------------

const TClassInfo& TImage::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TImage", &TGraphicControl::StaticClassInfo());
        TPublisher<TImage>(i).Property("Stretch", &TImage::Stretch, &TImage::SetStretch);
        return i;
    }();
    return info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { Invalidate(); };
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    Invalidate();
}

void TImage::Paint() {
    TGraphic* graphic = picture_.Graphic();
    if (!graphic || graphic->Empty()) return;
    const RECT target = stretch_ ? ClientRect() : RECT{0, 0, graphic->Width(), graphic->Height()};
    Canvas().StretchDraw(target, *graphic);
}

} // namespace kel
