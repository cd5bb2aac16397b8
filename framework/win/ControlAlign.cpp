// Alignment of controls in their parent's client area, the reading direction they take from their
// parent, and the resize notification.
#include <algorithm>

#include "framework/win/Application.h"
#include "framework/win/Controls.h"

namespace kel {

void TControl::SetAlign(TAlign value) {
    if (align_ == value) return;
    align_ = value;
    if (parent_) parent_->AlignControls();
}

void TControl::SetBiDiMode(TBiDiMode value) {
    parentBiDiMode_ = false;
    if (biDiMode_ == value) return;
    biDiMode_ = value;
    BiDiModeChanged();
}

void TControl::SetParentBiDiMode(bool value) {
    parentBiDiMode_ = value;
    if (value) ParentBiDiModeChanged();
}

bool TControl::UseRightToLeftReading() const {
    return biDiMode_ != TBiDiMode::bdLeftToRight && SysLocale.MiddleEast;
}

void TControl::ParentBiDiModeChanged() {
    if (!parentBiDiMode_ || !parent_ || parent_->BiDiMode() == biDiMode_) return;
    biDiMode_ = parent_->BiDiMode();
    BiDiModeChanged();
}

void TControl::BiDiModeChanged() {
    Invalidate();
}

void TWinControl::BiDiModeChanged() {
    TControl::BiDiModeChanged();
    for (TControl* child : controls_) child->ParentBiDiModeChanged();
}

void TControl::Resize() {
    SafeCall([this] {
        if (OnResize) OnResize(this);
    });
}

void TWinControl::AlignControls() {
    if (aligning_) return;
    aligning_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{aligning_};

    RECT free = ClientRect();
    for (TAlign kind :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        std::vector<TControl*> aligned;
        for (TControl* child : controls_)
            if (child->Visible() && child->Align() == kind) aligned.push_back(child);
        // Controls keep their order along the edge they stand against.
        std::stable_sort(aligned.begin(), aligned.end(), [kind](TControl* a, TControl* b) {
            switch (kind) {
            case TAlign::alTop:
                return a->Top() < b->Top();
            case TAlign::alBottom:
                return a->Top() + a->Height() > b->Top() + b->Height();
            case TAlign::alLeft:
                return a->Left() < b->Left();
            case TAlign::alRight:
                return a->Left() + a->Width() > b->Left() + b->Width();
            default:
                return false;
            }
        });
        for (TControl* c : aligned) {
            const int width = std::max(0, static_cast<int>(free.right - free.left));
            const int height = std::max(0, static_cast<int>(free.bottom - free.top));
            switch (kind) {
            case TAlign::alTop:
                c->SetBounds(free.left, free.top, width, c->Height());
                free.top += c->Height();
                break;
            case TAlign::alBottom:
                c->SetBounds(free.left, free.bottom - c->Height(), width, c->Height());
                free.bottom -= c->Height();
                break;
            case TAlign::alLeft:
                c->SetBounds(free.left, free.top, c->Width(), height);
                free.left += c->Width();
                break;
            case TAlign::alRight:
                c->SetBounds(free.right - c->Width(), free.top, c->Width(), height);
                free.right -= c->Width();
                break;
            default:
                c->SetBounds(free.left, free.top, width, height);
                break;
            }
        }
    }
}

} // namespace kel
