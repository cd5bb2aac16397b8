// A notification-style window: a top-most, non-activating tool window in the work area's
// bottom-right corner, away from the launcher, which the desktop centres. It paints itself
// (no caption, so no system glyphs) in the colours of the launcher's skins.
#include "tools/sibling-stub/StubNotice.h"

#include "framework/win/Handles.h"

#include <windows.h>

namespace stub {
namespace {

using kel::gdi::PaintDc;
using kel::gdi::ScopedSelect;
using kel::gdi::UniqueGdi;

const char kClassName[] = "SiblingStubNotice";
const int kWidth = 320, kHeight = 68, kMargin = 12, kAccent = 5;
const COLORREF kBackground = RGB(24, 38, 70), kBorder = RGB(74, 112, 180),
               kAccentColour = RGB(84, 156, 255), kHeadlineInk = RGB(255, 255, 255),
               kDetailInk = RGB(178, 200, 236);

struct Notice {
    std::string headline, detail;
    UniqueGdi<HFONT> headlineFont, detailFont;
};

UniqueGdi<HFONT> MakeFont(int height, int weight) {
    return UniqueGdi<HFONT>(CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                        DEFAULT_PITCH | FF_SWISS, "Tahoma"));
}

void FillRectWith(HDC dc, const RECT& r, COLORREF colour) {
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

void DrawLine(HDC dc, const std::string& text, HFONT font, COLORREF ink, RECT box) {
    ScopedSelect select(dc, font);
    SetTextColor(dc, ink);
    DrawTextA(dc, text.c_str(), -1, &box, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void Paint(HWND window, const Notice& notice) {
    PaintDc paint(window);
    HDC dc = paint.Get();
    RECT r;
    GetClientRect(window, &r);
    FillRectWith(dc, r, kBorder);
    RECT inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    FillRectWith(dc, inside, kBackground);
    FillRectWith(dc, {inside.left, inside.top, inside.left + kAccent, inside.bottom},
                 kAccentColour);
    SetBkMode(dc, TRANSPARENT);
    const int left = inside.left + kAccent + 14, right = inside.right - 12;
    DrawLine(dc, notice.headline, notice.headlineFont.get(), kHeadlineInk, {left, 13, right, 33});
    DrawLine(dc, notice.detail, notice.detailFont.get(), kDetailInk, {left, 37, right, 55});
}

LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* notice = reinterpret_cast<Notice*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        break;
    case WM_MOUSEACTIVATE: // a click dismisses the notice without activating it
        return MA_NOACTIVATE;
    case WM_LBUTTONUP:
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        if (notice) {
            Paint(window, *notice);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void ShowNotice(const std::string& headline, const std::string& detail, unsigned milliseconds) {
    Notice notice{headline, detail, MakeFont(13, FW_BOLD), MakeFont(11, FW_NORMAL)};
    WNDCLASSA wc{};
    wc.lpfnWndProc = NoticeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName,
                                  headline.c_str(), WS_POPUP, work.right - kWidth - kMargin,
                                  work.bottom - kHeight - kMargin, kWidth, kHeight, nullptr,
                                  nullptr, wc.hInstance, &notice);
    if (!window) return;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, 1, milliseconds, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
}

} // namespace stub
