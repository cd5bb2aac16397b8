// Docking a form on a control and floating it off again: docked, the form is a frameless child
// window of the control; floated, a top-level window again at the same place on the screen, and
// CM_FLOAT tells the form and whatever hooks it.
#include "framework/win/Forms.h"

namespace kel {

void TCustomForm::DockedCreateParams(TCreateParams& params) const {
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    params.ExStyle = 0;
    params.WndParent = Parent()->Handle();
}

void TCustomForm::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (parent && formStyle_ != TFormStyle::fsNormal)
        throw Exception("An MDI form cannot be docked on a control");
    const bool floating = Parent() && !parent;
    POINT onScreen{Left(), Top()};
    if (floating && HandleAllocated()) {
        RECT r;
        GetWindowRect(Handle(), &r);
        onScreen = {r.left, r.top};
    }
    // Leaving a parent ends the window, joining one makes a child window.
    TWinControl::SetParent(parent);
    if (!floating) return;
    SetBounds(onScreen.x, onScreen.y, Width(), Height());
    if (Visible()) HandleNeeded();
    Perform(CM_FLOAT, 0, 0);
}

} // namespace kel
