// A form's window state, its size limits and the question whether it may close.
#include <algorithm>

#include "framework/win/Forms.h"

namespace kel {

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    SafeCall([&] {
        if (OnCloseQuery) OnCloseQuery(this, canClose);
    });
    return canClose;
}

TWindowState TCustomForm::WindowState() const {
    if (!HandleAllocated()) return windowState_;
    HWND h = const_cast<TCustomForm*>(this)->Handle();
    if (!IsWindowVisible(h)) return windowState_;
    if (IsIconic(h)) return TWindowState::wsMinimized;
    if (IsZoomed(h)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TCustomForm::SetWindowState(TWindowState value) {
    windowState_ = value;
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    switch (value) {
    case TWindowState::wsMaximized:
        ShowWindow(Handle(), SW_SHOWMAXIMIZED);
        break;
    case TWindowState::wsMinimized:
        ShowWindow(Handle(), SW_MINIMIZE);
        break;
    case TWindowState::wsNormal:
        ShowWindow(Handle(), SW_RESTORE);
        break;
    }
}

void TCustomForm::WindowStateChanged(WPARAM sizeType) {
    // A hidden window's sizes are no state anyone chose (an MDI child is sized while it is made):
    // the state asked for before the first show stays.
    if (!IsWindowVisible(Handle())) return;
    switch (sizeType) {
    case SIZE_MAXIMIZED:
        windowState_ = TWindowState::wsMaximized;
        break;
    case SIZE_MINIMIZED:
        windowState_ = TWindowState::wsMinimized;
        break;
    case SIZE_RESTORED:
        windowState_ = TWindowState::wsNormal;
        break;
    default:
        break;
    }
}

SIZE TCustomForm::Constrained(int width, int height) const {
    const TSizeConstraints& c = constraints_;
    if (c.MaxWidth > 0) width = std::min(width, c.MaxWidth);
    if (c.MaxHeight > 0) height = std::min(height, c.MaxHeight);
    width = std::max(width, c.MinWidth);
    height = std::max(height, c.MinHeight);
    return {width, height};
}

void TCustomForm::SetConstraints(const TSizeConstraints& value) {
    constraints_ = value;
    const SIZE size = Constrained(Width(), Height());
    if (size.cx != Width() || size.cy != Height())
        SetBounds(Left(), Top(), static_cast<int>(size.cx), static_cast<int>(size.cy));
}

void TCustomForm::ApplyMinMaxInfo(MINMAXINFO& info) const {
    const TSizeConstraints& c = constraints_;
    if (c.MinWidth > 0) info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, c.MinWidth);
    if (c.MinHeight > 0) info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, c.MinHeight);
    if (c.MaxWidth > 0) info.ptMaxTrackSize.x = std::min<LONG>(info.ptMaxTrackSize.x, c.MaxWidth);
    if (c.MaxHeight > 0) info.ptMaxTrackSize.y = std::min<LONG>(info.ptMaxTrackSize.y, c.MaxHeight);
}

} // namespace kel
