#include "framework/win/Controls.h"

#include <algorithm>

#include "framework/win/Forms.h"

namespace kel {

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

void SafeCall(const std::function<void()>& handler) {
    if (!handler) return;
    try {
        handler();
    } catch (const std::exception& e) {
        ReportHandlerException(e);
    }
}

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// ---- TControl ----------------------------------------------------------------------------------

const TClassInfo& TControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TControl", &TComponent::StaticClassInfo());
        TPublisher<TControl>(i)
            .Property("Left", &TControl::Left, &TControl::SetLeft)
            .Property("Top", &TControl::Top, &TControl::SetTop)
            .Property("Width", &TControl::Width, &TControl::SetWidth)
            .Property("Height", &TControl::Height, &TControl::SetHeight)
            .Property("Hint", &TControl::Hint, &TControl::SetHint)
            .Property("Cursor", &TControl::Cursor, &TControl::SetCursor, "TCursor");
        return i;
    }();
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    font_->OnChange = [this] {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (captureControl_ == this) captureControl_ = nullptr;
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const RECT old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    const RECT now = BoundsRect();
    if (EqualRect(&old, &now)) return;
    auto* windowed = dynamic_cast<TWinControl*>(this);
    // A window's move uncovers its parent's area through the window system; a control drawn on
    // its parent has to ask for it.
    if (parent_ && visible_ && !(windowed && windowed->HandleAllocated())) {
        InvalidateParentArea(old);
        InvalidateParentArea(now);
    }
    if (width_ != old.right - old.left || height_ != old.bottom - old.top) {
        if (windowed) windowed->AlignControls();
        Resize();
    }
    // An aligned control that changed its own size moves its siblings along.
    if (align_ != TAlign::alNone && parent_) parent_->AlignControls();
}

POINT TControl::ClientOrigin() const {
    if (const auto* w = dynamic_cast<const TWinControl*>(this); w && w->window_.Handle()) {
        POINT p{0, 0};
        ::ClientToScreen(w->window_.Handle(), &p);
        return p;
    }
    POINT p{left_, top_};
    if (parent_) {
        const POINT o = parent_->ClientOrigin();
        p.x += o.x;
        p.y += o.y;
    }
    return p;
}

POINT TControl::ScreenToClient(POINT point) const {
    const POINT o = ClientOrigin();
    return {point.x - o.x, point.y - o.y};
}

POINT TControl::ClientToScreen(POINT point) const {
    const POINT o = ClientOrigin();
    return {point.x + o.x, point.y + o.y};
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    if (parent_) InvalidateParentArea(BoundsRect());
    VisibleChanged();
    if (align_ != TAlign::alNone && parent_) parent_->AlignControls();
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    EnabledChanged();
}

void TControl::SetCursor(TCursor value) {
    cursor_ = value;
    // Show the new cursor at once when the mouse is over the control.
    auto* self = dynamic_cast<TWinControl*>(this);
    TWinControl* window = self ? self : parent_;
    if (!window || !window->HandleAllocated()) return;
    POINT p;
    if (!GetCursorPos(&p)) return;
    const POINT c = ScreenToClient(p);
    if (c.x >= 0 && c.y >= 0 && c.x < width_ && c.y < height_)
        SendMessageA(window->Handle(), WM_SETCURSOR, (WPARAM)window->Handle(), HTCLIENT);
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) ParentFontChanged();
}

void TControl::SetColor(TColor value) {
    color_ = value;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value) ParentColorChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    const auto handler = std::move(font_->OnChange);
    font_->Assign(parent_->Font());
    font_->OnChange = handler;
    FontChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::SetText(const std::string& value) {
    if (text_ == value) return;
    text_ = value;
    TextChanged();
}

void TControl::InvalidateParentArea(const RECT& area) {
    if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), &area, TRUE);
}

void TControl::Invalidate() {
    InvalidateParentArea(BoundsRect());
}

void TControl::Repaint() {
    Invalidate(), Update();
}

void TControl::Update() {
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::BringToFront() {
    if (!parent_) return;
    TWinControl* p = parent_;
    p->RemoveControl(this);
    p->InsertControl(this);
}

void TControl::CancelMode() {
    clicked_ = false;
    if (MouseCapture()) SetMouseCapture(false);
}

bool TControl::DialogKey(WORD, TShiftState) {
    return false;
}
bool TControl::DialogChar(char, TShiftState) {
    return false;
}
void TControl::FocusChanged(TWinControl*) {}
void TControl::EnabledChanged() {
    Invalidate();
}
void TControl::VisibleChanged() {}
void TControl::FontChanged() {
    Invalidate();
}
void TControl::ColorChanged() {
    Invalidate();
}
void TControl::TextChanged() {
    Invalidate();
}
void TControl::PaintTo(HDC) {}

} // namespace kel
