// Mouse input of controls: capture, clicks, enter and leave for windows and their windowless
// children, and routing of a window's mouse messages to the windowless child under the pointer.
#include "framework/win/Controls.h"

#include <windowsx.h>

#include "framework/win/MouseMessages.h"

namespace kel {

bool TControl::MouseCapture() const {
    if (const auto* w = dynamic_cast<const TWinControl*>(this))
        if (w->window_.Handle()) return GetCapture() == w->window_.Handle();
    return captureControl_ == this;
}

void TControl::SetMouseCapture(bool value) {
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (value)
            SetCapture(w->Handle());
        else if (w->window_.Handle() && GetCapture() == w->window_.Handle())
            ReleaseCapture();
        return;
    }
    if (value) {
        captureControl_ = this;
        if (parent_) SetCapture(parent_->Handle());
    } else if (captureControl_ == this) {
        captureControl_ = nullptr;
        ReleaseCapture();
    }
}

void TControl::Click() {
    SafeCall([this] {
        if (OnClick) OnClick(this);
    });
}
void TControl::DblClick() {
    SafeCall([this] {
        if (OnDblClick) OnDblClick(this);
    });
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    SafeCall([&] {
        if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    });
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
    SafeCall([&] {
        if (OnMouseMove) OnMouseMove(this, shift, x, y);
    });
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    SafeCall([&] {
        if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    });
}
void TControl::MouseEnter() {
    SafeCall([this] {
        if (OnMouseEnter) OnMouseEnter(this);
    });
}
void TControl::MouseLeave() {
    SafeCall([this] {
        if (OnMouseLeave) OnMouseLeave(this);
    });
}

void TControl::HandleMouseButton(UINT message, TShiftState shift, int x, int y) {
    const TMouseButton button = ButtonOf(message);
    if (IsButtonDown(message)) {
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
        if (button == mbLeft && (controlStyle_ & csClickEvents)) clicked_ = true;
        if (IsDoubleClick(message)) {
            shift |= ssDouble;
            if (button == mbLeft) DblClick();
        }
        MouseDown(button, shift, x, y);
        return;
    }
    if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) Click();
    }
    MouseUp(button, shift, x, y);
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y) {
    MouseMove(shift, x, y);
}

// Mouse enter and leave for the window itself and for its windowless children. The window is
// entered while the pointer is inside its client area; leaving is seen either on a move outside
// (the window has the capture) or through the system's leave message.
void TWinControl::TrackMouse(POINT client) {
    const bool inside =
        client.x >= 0 && client.y >= 0 && client.x < ClientWidth() && client.y < ClientHeight();
    if (!inside) {
        LeaveMouse();
        return;
    }
    if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, window_.Handle(), 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
    }
    if (!mouseInside_) {
        mouseInside_ = true;
        MouseEnter();
    }
    if (!captureControl_) UpdateHoverChild(ControlAtPos(client));
}

void TWinControl::LeaveMouse() {
    UpdateHoverChild(nullptr);
    if (mouseInside_) {
        mouseInside_ = false;
        MouseLeave();
    }
}

void TWinControl::UpdateHoverChild(TControl* child) {
    if (child == hoverChild_) return;
    TControl* old = hoverChild_;
    hoverChild_ = child;
    if (old) old->MouseLeave();
    if (child) child->MouseEnter();
}

bool TWinControl::RouteMouseToChild(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TControl* target = nullptr;
    if (captureControl_) {
        if (captureControl_->Parent() == this) target = captureControl_;
    } else if (GetCapture() != window_.Handle()) {
        target = ControlAtPos(p);
    }
    if (!target) return false;
    const int x = p.x - target->Left(), y = p.y - target->Top();
    if (message == WM_MOUSEMOVE)
        target->HandleMouseMove(MouseShift(wParam), x, y);
    else if (message != WM_MOUSEWHEEL)
        target->HandleMouseButton(message, MouseShift(wParam), x, y);
    return true;
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (point.x >= c->Left() && point.y >= c->Top() && point.x < c->Left() + c->Width() &&
            point.y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

} // namespace kel
