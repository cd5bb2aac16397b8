// A form's frame on real windows under Wine: the window styles of the border styles, and a hook
// that takes over the non-client area (size, painting, activation, hit testing) the way a skinned
// frame does, with the form's size bookkeeping following it.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/Handles.h"
#include "framework/win/StdCtrls.h"

namespace kel {
namespace {

constexpr int kSide = 5, kTop = 30;
constexpr COLORREF kFrameColour = RGB(200, 0, 0);

// Gives the form a frame of its own: kSide pixels at the sides and bottom, kTop at the top,
// painted in one colour; the top band is the caption.
class TFrameHook : public TWindowHook {
public:
    using TWindowHook::TWindowHook;
    int ncPaints = 0, ncActivates = 0;

protected:
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_NCCALCSIZE: {
            RECT& r = *reinterpret_cast<RECT*>(lParam); // the first rectangle in both forms
            r = {r.left + kSide, r.top + kTop, r.right - kSide, r.bottom - kSide};
            return 0;
        }
        case WM_NCPAINT: {
            ++ncPaints;
            HWND window = Control()->Handle();
            const gdi::WindowDc dc(window, true);
            RECT r;
            GetWindowRect(window, &r);
            const RECT top{0, 0, r.right - r.left, kTop};
            const gdi::UniqueGdi<HBRUSH> brush(CreateSolidBrush(kFrameColour));
            FillRect(dc.Get(), &top, brush.get());
            return 0;
        }
        case WM_NCACTIVATE:
            ++ncActivates;
            return TRUE;
        case WM_NCHITTEST: {
            RECT r;
            GetWindowRect(Control()->Handle(), &r);
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&r, p) && p.y < r.top + kTop) return HTCAPTION;
            break;
        }
        default:
            break;
        }
        return CallNext(message, wParam, lParam);
    }
};

void RefreshFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// A pixel of the window's own surface, frame included, copied out first: what covers the window
// on the screen does not count.
COLORREF WindowPixel(HWND window, int x, int y) {
    const gdi::WindowDc screen(window, true);
    const gdi::UniqueDc memory(CreateCompatibleDC(screen.Get()));
    const gdi::UniqueGdi<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), x + 1, y + 1));
    const gdi::ScopedSelect select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, x + 1, y + 1, screen.Get(), 0, 0, SRCCOPY);
    return GetPixel(memory.get(), x, y);
}

RECT ClientOf(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return r;
}

class FormFrame : public ::testing::Test {
protected:
    void SetUp() override {
        InitFramework();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 400, 300);
        form->HandleNeeded();
    }
    std::unique_ptr<TForm> form;
};

TEST_F(FormFrame, EachBorderStyleGetsItsWindowStylesAndKeepsTheClientSizeAlsoOnALiveWindow) {
    struct Expected {
        TFormBorderStyle style;
        bool caption, sizing, dialogFrame, toolWindow;
    };
    const Expected cases[] = {
        {TFormBorderStyle::bsNone, false, false, false, false},
        {TFormBorderStyle::bsSingle, true, false, false, false},
        {TFormBorderStyle::bsSizeable, true, true, false, false},
        {TFormBorderStyle::bsDialog, true, false, true, false},
        {TFormBorderStyle::bsToolWindow, true, false, false, true},
        {TFormBorderStyle::bsSizeToolWin, true, true, false, true},
    };
    for (const bool live : {false, true}) {
        for (const Expected& c : cases) {
            SCOPED_TRACE(static_cast<int>(c.style) + (live ? 10 : 0));
            TForm f(nullptr);
            if (live) f.HandleNeeded(); // changed on the window it has
            const int clientWidth = f.ClientWidth(), clientHeight = f.ClientHeight();
            f.SetBorderStyle(c.style);
            HWND h = f.Handle();
            const auto style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
            const auto ex = static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE));
            EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.caption);
            EXPECT_EQ((style & WS_THICKFRAME) != 0, c.sizing);
            EXPECT_EQ((ex & WS_EX_DLGMODALFRAME) != 0, c.dialogFrame);
            EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, c.toolWindow);
            // The client area keeps its size, and the bookkeeping matches the window.
            EXPECT_EQ(ClientOf(h).right, clientWidth);
            EXPECT_EQ(ClientOf(h).bottom, clientHeight);
            EXPECT_EQ(f.ClientWidth(), clientWidth);
            EXPECT_EQ(f.ClientHeight(), clientHeight);
        }
    }
}

TEST_F(FormFrame, AHookDecidesTheFrameAndTheFormsSizesFollowIt) {
    HWND h = form->Handle();
    auto hook = std::make_unique<TFrameHook>(*form);
    RefreshFrame(h);
    EXPECT_EQ(ClientOf(h).right, 400 - 2 * kSide);
    EXPECT_EQ(ClientOf(h).bottom, 300 - kTop - kSide);
    EXPECT_EQ(form->ClientWidth(), 400 - 2 * kSide);
    EXPECT_EQ(form->ClientHeight(), 300 - kTop - kSide);

    // Client sizes set afterwards are measured against the hook's frame, not the system's.
    form->SetClientWidth(200);
    form->SetClientHeight(100);
    EXPECT_EQ(form->Width(), 200 + 2 * kSide);
    EXPECT_EQ(form->Height(), 100 + kTop + kSide);
    EXPECT_EQ(ClientOf(h).right, 200);
    EXPECT_EQ(ClientOf(h).bottom, 100);
    form->SetBounds(40, 40, 320, 240);
    EXPECT_EQ(form->ClientWidth(), 320 - 2 * kSide);
    EXPECT_EQ(form->ClientHeight(), 240 - kTop - kSide);

    // The hook gone, the system's frame comes back with the next frame change.
    hook.reset();
    RefreshFrame(h);
    RECT standard{0, 0, 0, 0};
    AdjustWindowRectEx(&standard, static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE)));
    EXPECT_EQ(form->ClientWidth(), 320 - (standard.right - standard.left));
    EXPECT_EQ(form->ClientWidth(), ClientOf(h).right);
}

TEST_F(FormFrame, TheHookPaintsActivatesAndHitTestsTheFrame) {
    HWND h = form->Handle();
    // Without the system's caption the whole frame is the window's own to paint.
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~WS_CAPTION);
    TFrameHook hook(*form);
    RefreshFrame(h);
    form->Show();
    Application->ProcessMessages();

    const int paints = hook.ncPaints;
    SendMessageA(h, WM_NCPAINT, 1, 0);
    EXPECT_EQ(hook.ncPaints, paints + 1);
    EXPECT_EQ(WindowPixel(h, 10, 5), kFrameColour);

    const int activates = hook.ncActivates;
    EXPECT_EQ(SendMessageA(h, WM_NCACTIVATE, FALSE, 0), TRUE);
    EXPECT_EQ(hook.ncActivates, activates + 1);

    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + 50, r.top + 10)), HTCAPTION);
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + 50, r.top + kTop + 20)),
              HTCLIENT);
}

TEST_F(FormFrame, AutomaticScrollingShowsTheControlsExtentAndMovesThem) {
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto* top = new TPanel(form.get()); // aligned: neither measured nor scrolled
    top->SetParent(form.get());
    top->SetAlign(TAlign::alTop);
    auto* outside = new TButton(form.get());
    outside->SetParent(form.get());
    outside->SetBounds(250, 350, 80, 30); // reaches to (330, 380)
    HWND h = form->Handle();
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0); // off by default

    form->SetAutoScroll(true);
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(h, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 379);
    EXPECT_EQ(static_cast<int>(info.nPage), form->ClientHeight());

    SendMessageA(h, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(outside->Top() + outside->Height(), form->ClientHeight()); // the last row in view
    EXPECT_EQ(form->ScrollPosition().y, 380 - form->ClientHeight());
    RECT r;
    GetWindowRect(outside->Handle(), &r);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, outside->Top()); // the window moved with it
    SendMessageA(h, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(outside->Left(), 250 - 8);
    EXPECT_EQ(top->Top(), 0);
    EXPECT_EQ(top->Left(), 0);

    // Switched off: the scroll bars go and the controls are back where they were put.
    form->SetAutoScroll(false);
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(outside->Left(), 250);
    EXPECT_EQ(outside->Top(), 350);
}

} // namespace
} // namespace kel
