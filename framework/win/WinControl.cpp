#include "framework/win/Controls.h"

#include <algorithm>

#include "framework/win/Forms.h"

namespace kel {

namespace {

// True when the window stands at `bounds` already, in its parent's client coordinates (the
// screen's for a top-level window): moving it there again would still cost the window system a
// whole position change.
bool WindowHasBounds(HWND window, const RECT& bounds) {
    RECT now;
    if (!GetWindowRect(window, &now)) return false;
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    return EqualRect(&now, &bounds) != FALSE;
}

} // namespace

// ---- TWinControl -------------------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TWinControl", &TControl::StaticClassInfo());
        TPublisher<TWinControl>(i)
            .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
        return i;
    }();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Leaves the parent while still a windowed control, so the parent lets go of everything it
    // knows of it (tab order, focus, its window).
    if (Parent()) Parent()->RemoveControl(this);
    // Children that are not owned by this control are detached; owned ones are freed by their
    // owner.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    for (TWindowHook* hook : hooks_) hook->control_ = nullptr;
    DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return dynamic_cast<TWinControl*>(TWindowBinding::TargetOf(window));
}

HWND TWinControl::Handle() {
    if (!HandleAllocated()) {
        if (Parent()) Parent()->HandleNeeded();
        if (!HandleAllocated()) CreateWnd();
    }
    return window_.Handle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : nullptr;
    if (ControlStyle() & csDoubleClicks) {
        params.ClassStyle |= CS_DBLCLKS;
        params.WinClassName = "KelControlDbl";
    }
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    window_.Create(params);
    HWND window = window_.Handle();
    if (Parent())
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(window, WM_SETFONT, (WPARAM)Font().Handle(), 0);
    CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
}

void TWinControl::DestroyHandle() {
    if (HandleAllocated()) DestroyWnd();
}

void TWinControl::DestroyWnd() {
    window_.Destroy();
    WindowDestroyed();
}

void TWinControl::WindowDestroyed() {
    // The window went (with its owner or parent, or on request): the control makes a new one when
    // asked, and no hover or tracking state of the old one survives.
    mouseInside_ = false;
    tracking_ = false;
    hoverChild_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (HandleAllocated()) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        tabList_.push_back(w);
        if (HandleAllocated()) w->HandleNeeded();
    } else {
        control->Invalidate();
    }
    control->ParentFontChanged();
    control->ParentColorChanged();
    control->ParentBiDiModeChanged();
    if (control->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    if (hoverChild_ == control) hoverChild_ = nullptr;
    if (captureControl_ == control) control->SetMouseCapture(false);
    // Found by address, not by a cast: a control leaving from its destructor is no longer a
    // TWinControl to dynamic_cast, and must not stay behind in the tab list.
    const auto entry = std::find_if(tabList_.begin(), tabList_.end(),
                                    [control](TWinControl* w) { return w == control; });
    if (entry != tabList_.end()) {
        TWinControl* w = *entry;
        tabList_.erase(entry);
        if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(w);
        if (auto* alive = dynamic_cast<TWinControl*>(control)) alive->DestroyHandle();
    } else {
        control->Invalidate();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (control->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    HWND h = window_.Handle();
    // The background uncovered is erased with the next paint, not at once: a resized parent
    // resizes its aligned children, and each would else have the whole family erased again.
    if (h && !WindowHasBounds(h, BoundsRect()))
        SetWindowPos(h, nullptr, Left(), Top(), Width(), Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
}

void TWinControl::SetVisible(bool value) {
    if (Visible() == value) return;
    TControl::SetVisible(value);
    if (HWND h = window_.Handle()) ShowWindow(h, value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool value) {
    if (Enabled() == value) return;
    if (HWND h = window_.Handle()) EnableWindow(h, value);
    TControl::SetEnabled(value);
}

void TWinControl::Invalidate() {
    if (HWND h = window_.Handle()) InvalidateRect(h, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (HWND h = window_.Handle()) {
        InvalidateRect(h, nullptr, TRUE);
        UpdateWindow(h);
    }
}

void TWinControl::FontChanged() {
    if (HWND h = window_.Handle()) SendMessageA(h, WM_SETFONT, (WPARAM)Font().Handle(), TRUE);
    for (TControl* c : controls_) c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_) c->ParentColorChanged();
    Invalidate();
}

void TWinControl::SetText(const std::string& value) {
    const bool changed = GetText() != value;
    text_ = value;
    if (HWND h = window_.Handle()) SetWindowTextA(h, value.c_str());
    if (changed) TextChanged();
}

std::string TWinControl::GetText() const {
    HWND h = window_.Handle();
    if (!h) return text_;
    const int length = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(length) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(h, &s[0], length + 1)));
    return s;
}

} // namespace kel
