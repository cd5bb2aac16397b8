// Automatic scrolling of a form: the extent of the controls beyond the client area becomes the
// range of the window's scroll bars, and scrolling moves them. Aligned controls keep their places.
#include <algorithm>

#include "framework/win/Forms.h"

namespace kel {

namespace {

constexpr int kLineStep = 8; // pixels per arrow click

// Showing a scroll bar resizes the client area, which asks for the range again: the outer
// measuring finishes the job.
thread_local bool tMeasuring = false;

int Axis(POINT p, int bar) {
    return bar == SB_HORZ ? p.x : p.y;
}

} // namespace

void TCustomForm::SetAutoScroll(bool value) {
    autoScroll_ = value;
    UpdateScrollRange();
}

void TCustomForm::UpdateScrollRange() {
    if (!HandleAllocated() || tMeasuring) return;
    struct Scope {
        Scope() { tMeasuring = true; }
        ~Scope() { tMeasuring = false; }
    } scope;
    HWND window = Handle();
    if (!autoScroll_) {
        ScrollTo({0, 0});
        ShowScrollBar(window, SB_BOTH, FALSE);
        return;
    }
    // The extent in unscrolled coordinates.
    POINT extent{0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != TAlign::alNone) continue; // aligned ones stay put
        extent.x = std::max<LONG>(extent.x, c->Left() + c->Width() + scrollPosition_.x);
        extent.y = std::max<LONG>(extent.y, c->Top() + c->Height() + scrollPosition_.y);
    }
    // Twice: a bar that appears narrows the client area for the other one.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client;
        GetClientRect(window, &client);
        for (const int bar : {SB_HORZ, SB_VERT}) {
            const int page = bar == SB_HORZ ? client.right : client.bottom;
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMax = std::max(0, Axis(extent, bar) - 1);
            info.nPage = static_cast<UINT>(std::max(0, page));
            info.nPos = Axis(scrollPosition_, bar);
            SetScrollInfo(window, bar, &info, TRUE);
        }
    }
    // A larger client area may show controls scrolled out before.
    RECT client;
    GetClientRect(window, &client);
    ScrollTo({std::clamp<LONG>(scrollPosition_.x, 0, std::max<LONG>(0, extent.x - client.right)),
              std::clamp<LONG>(scrollPosition_.y, 0, std::max<LONG>(0, extent.y - client.bottom))});
}

void TCustomForm::ScrollMessage(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(Handle(), bar, &info)) return;
    int position = info.nPos;
    const int page = std::max(1, static_cast<int>(info.nPage));
    switch (request) {
    case SB_LINEUP:
        position -= kLineStep;
        break;
    case SB_LINEDOWN:
        position += kLineStep;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    position = std::clamp(position, info.nMin, std::max(info.nMin, info.nMax - page + 1));
    POINT target = scrollPosition_;
    (bar == SB_HORZ ? target.x : target.y) = position;
    ScrollTo(target);
}

void TCustomForm::ScrollTo(POINT position) {
    const int dx = scrollPosition_.x - position.x, dy = scrollPosition_.y - position.y;
    if (dx == 0 && dy == 0) return;
    scrollPosition_ = position;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() == TAlign::alNone)
            c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    if (HandleAllocated()) {
        SetScrollPos(Handle(), SB_HORZ, position.x, TRUE);
        SetScrollPos(Handle(), SB_VERT, position.y, TRUE);
    }
    Invalidate();
}

} // namespace kel
