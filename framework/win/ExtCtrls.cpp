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
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TTimer::WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KelTimer";
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExA(0, "KelTimer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer() {
    KillTimer(window_, 1);
    DestroyWindow(window_);
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
    KillTimer(window_, 1);
    if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (timer && timer->enabled_)
            SafeCall([timer] {
                if (timer->OnTimer) timer->OnTimer(timer);
            });
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
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
