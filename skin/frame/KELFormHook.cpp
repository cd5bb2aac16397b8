// The skinned form's handling of its host window's messages: the size of the non-client frame,
// the frame-width question, activation, painting of the frame, size changes with the maximised
// and MDI rules, and the application-wide keys (Alt+Space, menu shortcuts).
#include <algorithm>
#include <optional>

#include "skin/controls/KELPublic.h"
#include "skin/frame/KELFormHook.h"
#include "skin/frame/KELMenuBar.h"

namespace kel {

namespace {

// Maximised forms share one count of the size changes they went through while created maximised.
int createdMaximizedEvents = 0;

} // namespace

LRESULT TkelForm::HostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (closing_) return hook_->Saved(message, wParam, lParam);
    // A size change realigns the title bar, which draws its sections again and asks for the
    // frame; the frame is painted once, after the size change, instead.
    std::optional<TFramePaintHold> sizing;
    if (message == WM_SIZE) sizing.emplace(*this);
    LRESULT result = 0;
    switch (message) {
    case WM_NCCALCSIZE:
        return CalcClientArea(wParam, lParam);
    case WM_KEL_FRAMEWIDTH:
        return FrameWidthAnswer();
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        break;
    default:
        result = hook_->Saved(message, wParam, lParam);
        break;
    }
    if (closing_ || !host_) return result;
    switch (message) {
    case WM_MDIACTIVATE: {
        const bool activated = reinterpret_cast<HWND>(lParam) == host_->Handle();
        if (activated)
            if (HWND client = MDIClient())
                SendMessageA(client, WM_MDIREFRESHMENU, reinterpret_cast<WPARAM>(host_->Handle()),
                             0);
        titleBar_->SetFormActive(activated);
        break;
    }
    case WM_KEYDOWN: {
        MSG msg{host_->Handle(), message, wParam, lParam, 0, {}};
        return IsMenuShortCut(msg) ? 1 : 0;
    }
    case WM_SHOWWINDOW:
        if (GetMenu(host_->Handle())) ::SetMenu(host_->Handle(), nullptr);
        break;
    case WM_DESTROY:
        if (IsMDIChild() && Application && Application->MainForm()) {
            HWND client = MDIClient();
            if (client && Application->MainForm()->MDIChildCount() == 1)
                SendMessageA(client, WM_MDIREFRESHMENU, reinterpret_cast<WPARAM>(host_->Handle()),
                             0);
            if (client && IsZoomed(host_->Handle()))
                SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(host_->Handle()), 0);
        }
        break;
    case WM_ACTIVATE:
        titleBar_->SetFormActive(LOWORD(wParam) != WA_INACTIVE);
        PaintFrame();
        break;
    case WM_WINDOWPOSCHANGING: {
        auto& pos = *reinterpret_cast<WINDOWPOS*>(lParam);
        RECT now;
        GetWindowRect(host_->Handle(), &now);
        sizeChanging_ = !(pos.flags & SWP_NOSIZE) &&
                        (pos.cx != now.right - now.left || pos.cy != now.bottom - now.top);
        // The size handling repaints the whole window, so the old picture is not copied over.
        if (sizeChanging_) pos.flags |= SWP_NOCOPYBITS;
        break;
    }
    case WM_WINDOWPOSCHANGED:
        // A frame paint left out during the size change and not made good by the size handling
        // (a size change that came without WM_SIZE) is asked for again.
        if (sizeChanging_ && framePaintSkipped_)
            RedrawWindow(host_->Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        sizeChanging_ = framePaintSkipped_ = false;
        break;
    case WM_NCACTIVATE:
    case WM_NCPAINT:
        if (IsIconic(host_->Handle())) return hook_->Saved(message, wParam, lParam);
        if (message == WM_NCPAINT && sizeChanging_) {
            // The window is taking a new size and will get the region for it: a frame painted
            // now would be painted again at once, so it is painted after the size change.
            framePaintSkipped_ = true;
            return 0;
        }
        // Activation changes the caption's colour; a frame paint needs the bar only when it is
        // waiting for a paint of its own (the frame is drawn from its pictures).
        {
            TFramePaintHold hold(*this); // the frame is painted once, below
            if (message == WM_NCACTIVATE)
                titleBar_->Repaint();
            else if (titleBar_->HandleAllocated())
                PaintPendingTitleBar();
        }
        // A panel waiting for its paint paints the frame with it, straight after this.
        if (message == WM_NCACTIVATE || !PanelPaintPending()) PaintFrame();
        return message == WM_NCACTIVATE ? TRUE : 0;
    case CM_RECREATEWND:
    case CM_FLOAT:
    case CN_PARENTNOTIFY:
        if (host_->HandleAllocated() && (GetWindowLongA(host_->Handle(), GWL_STYLE) & WS_CAPTION)) {
            RefreshHostFrame();
            SetWindowPos(host_->Handle(), nullptr, 0, 0, 0, 0, kFrameChangedFlags);
        }
        break;
    case WM_SIZE:
        HostSized();
        break;
    case WM_NCHITTEST:
        if (IsMDIChild() && hostBorderStyle_ == TFormBorderStyle::bsSingle && result >= HTLEFT &&
            result <= HTBOTTOMRIGHT)
            return HTBORDER;
        break;
    default:
        break;
    }
    return result;
}

// The client rectangle of the window position being set: the skin's frame instead of the
// system's caption and borders. The host's own procedure then takes its border off the rectangle.
LRESULT TkelForm::CalcClientArea(WPARAM wParam, LPARAM lParam) {
    if (!wParam) return hook_->Saved(WM_NCCALCSIZE, wParam, lParam);
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS& pos = *params->lppos;
    const int sb = std::max(4, measuredBottom_), sl = std::max(4, measuredLeft_);
    RECT& r = params->rgrc[0];
    r.top = pos.y - sb + 4;
    if (skinLeft_ != 0) {
        r.right = pos.x + pos.cx - std::max(skinRight_, 4) + sl - 1;
        r.left = pos.x + std::max(skinLeft_, 4) - sl + 1;
    } else {
        r.right = pos.x + pos.cx + sl - 4;
        r.left = pos.x - sl + 4;
    }
    if (skinBottom_ != 0)
        r.bottom = pos.y + pos.cy - std::max(skinBottom_, 4) + sb - 1;
    else if (borderWidth_ == 3)
        r.bottom = pos.y + pos.cy + sb - 4;
    else
        r.bottom = pos.y + pos.cy + sb - borderWidth_ - 2;
    params->rgrc[1] = params->rgrc[0];
    return hook_->Saved(WM_NCCALCSIZE, wParam, lParam);
}

void TkelForm::HostSized() {
    const bool maximized = host_->WindowState() == TWindowState::wsMaximized;
    if (maximized && Designing()) return;
    if (createdMaximized_) {
        if (IsMDIChild()) {
            mdiMaxLayout_ = true;
            createdMaxMdiChild_ = true;
            createdMaximized_ = false;
        } else if (maximized) {
            createdMaximizedEvents = std::min(createdMaximizedEvents + 1, 2);
            if (createdMaximizedEvents == 2) host_->SetWindowState(TWindowState::wsMaximized);
        } else {
            createdMaximized_ = false;
            host_->SetBounds(hostBounds_.left, hostBounds_.top,
                             hostBounds_.right - hostBounds_.left,
                             hostBounds_.bottom - hostBounds_.top);
        }
    }
    if (maximized && !IsMDIChild()) {
        const RECT work = GetWorkArea();
        const RECT wanted{work.left - 2, work.top - 2, work.right + 2, work.bottom - 1};
        RECT now;
        GetWindowRect(host_->Handle(), &now);
        if (!EqualRect(&now, &wanted)) SetBoundsFromRect(*host_, wanted);
    }
    if (maximized != shownMaximized_) {
        shownMaximized_ = maximized; // the maximise button's pictures follow the window state
        titleBar_->RefreshMaxPictures();
    }
    // Frame paints are held while the size change is handled. The new region is given without a
    // repaint of its own; then the whole window, frame and children, is invalidated and painted
    // once by the update the size change brings. What waits for a paint is let go first: the
    // region's own position change would else erase the frame and every child at once.
    if (IsMDIChild()) MDIChildSized(maximized);
    RedrawWindow(host_->Handle(), nullptr, nullptr,
                 RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
    UpdateRegion(false);
    RedrawWindow(host_->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    framePaintSkipped_ = false;
}

bool TkelForm::PanelPaintPending() {
    if (!HandleAllocated()) return false;
    HWND panel = Handle();
    return IsWindowVisible(panel) && GetUpdateRect(panel, nullptr, FALSE);
}

void TkelForm::PaintPendingTitleBar() {
    // Painted straight onto its window and marked painted: a paint message of its own costs the
    // window system a round of its own, and the bar is painted whole every time anyway.
    HWND bar = titleBar_->Handle();
    if (!GetUpdateRect(bar, nullptr, FALSE)) return;
    {
        gdi::WindowDc dc(bar);
        if (!dc.Get()) return;
        titleBar_->PaintWindow(dc.Get());
        titleBar_->PaintControls(dc.Get());
    }
    ValidateRect(bar, nullptr);
}

void TkelForm::MDIChildSized(bool maximized) {
    HWND client = MDIClient();
    const WPARAM window = reinterpret_cast<WPARAM>(host_->Handle());
    const int shift = titleBar_->Height() - 3;
    mdiToggle_ = true;
    if (maximized) {
        SetTitleBarVisible(false);
        if (!mdiMaxLayout_) {
            ScrollPanelControls(-shift);
            mdiMaxLayout_ = true;
            if (client) SendMessageA(client, WM_MDIMAXIMIZE, window, 0);
        }
    } else {
        if (titleWish_) SetTitleBarVisible(true);
        if (mdiMaxLayout_) {
            if (!(createdMaxMdiChild_ && !restoredOnce_)) ScrollPanelControls(shift);
            restoredOnce_ = true;
            mdiMaxLayout_ = false;
            titleBar_->RefreshMaxPictures();
            if (client) SendMessageA(client, WM_MDIRESTORE, 0, 0);
        }
    }
    mdiToggle_ = false;
}

void TkelForm::ScrollPanelControls(int dy) {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c == titleBar_ || c->Align() != TAlign::alNone) continue;
        c->SetBounds(c->Left(), c->Top() + dy, c->Width(), c->Height());
    }
}

void TkelForm::KeyboardHook(MSG& message, bool& handled) {
    // Every queued message of the application passes here: only key messages are looked at.
    if (closing_ || !host_) return;
    const UINT kind = message.message;
    if (kind != WM_KEYDOWN && kind != WM_SYSKEYDOWN && kind != WM_KEYUP && kind != WM_SYSKEYUP)
        return;
    auto ours = [this] {
        return host_->HandleAllocated() && GetForegroundWindow() == host_->Handle();
    };
    if (kind == WM_SYSKEYDOWN && message.wParam == VK_SPACE) {
        // Only the skinned form of the window that has the keys answers Alt+Space. The menu
        // opens when Alt is let go: a menu open while Alt is still down closes on its release.
        if (!ours()) return;
        handled = true;
        systemMenuPending_ = true;
    } else if (systemMenuPending_ && (kind == WM_SYSKEYUP || kind == WM_KEYUP)) {
        handled = true;
        if (message.wParam != VK_MENU) return;
        systemMenuPending_ = false;
        if (ours())
            titleBar_->SystemMenu().Popup(host_->Left(), host_->Top() + titleBar_->Height());
    } else if (kind == WM_KEYDOWN || kind == WM_SYSKEYDOWN) {
        systemMenuPending_ = false;
        if (kind == WM_KEYDOWN) handled = IsMenuShortCut(message);
    }
}

} // namespace kel
