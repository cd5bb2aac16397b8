#include "skin/controls/KELPublic.h"

#include <memory>

#include "framework/win/Forms.h"
#include "skin/themes/KELThemesFrame.h"

namespace kel {

bool PointInRect(POINT point, const RECT& rect) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
           point.y <= rect.bottom;
}

RECT GetWorkArea() {
    RECT area{0, 0, 0, 0};
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main->HandleAllocated()) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &info))
            return info.rcWork;
    }
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void SetBoundsFromRect(TControl& control, const RECT& rect) {
    control.SetLeft(rect.left);
    control.SetTop(rect.top);
    control.SetWidth(rect.right - rect.left);
    control.SetHeight(rect.bottom - rect.top);
}

TColor MakeColor(int red, int green, int blue) {
    return static_cast<TColor>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

TColorChannels SplitColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return {static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>(rgb >> 8 & 0xFF),
            static_cast<uint8_t>(rgb >> 16 & 0xFF)};
}

namespace {

// Channel c0 + trunc((c1 - c0) / span * step), the truncation toward zero in floating point.
int Blend(int from, int to, int span, int step) {
    return from + static_cast<int>(static_cast<double>(to - from) / span * step);
}

TColor BlendColor(const TColorChannels& a, const TColorChannels& b, int span, int step) {
    return MakeColor(Blend(a.Red, b.Red, span, step), Blend(a.Green, b.Green, span, step),
                     Blend(a.Blue, b.Blue, span, step));
}

// A pen line from `from` to `to`, the end point excluded as the system draws lines.
void Line(TCanvas& canvas, TColor color, POINT from, POINT to) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(from.x, from.y);
    canvas.LineTo(to.x, to.y);
}

} // namespace

void GradientFillVertical(TCanvas& canvas, const RECT& rect, TColor top, TColor bottom) {
    if (rect.top == rect.bottom) return;
    const TColorChannels a = SplitColor(top), b = SplitColor(bottom);
    const int span = rect.bottom - rect.top;
    Line(canvas, top, {rect.left, rect.top}, {rect.right, rect.top});
    for (int y = rect.top + 1; y <= rect.bottom - 2; ++y)
        Line(canvas, BlendColor(a, b, span, y - rect.top - 1), {rect.left, y}, {rect.right, y});
    Line(canvas, bottom, {rect.left, rect.bottom - 1}, {rect.right, rect.bottom - 1});
}

void GradientFillHorizontal(TCanvas& canvas, const RECT& rect, TColor left, TColor right) {
    if (rect.left == rect.right) return;
    const TColorChannels a = SplitColor(left), b = SplitColor(right);
    const int span = rect.right - rect.left;
    Line(canvas, left, {rect.left, rect.top}, {rect.left, rect.bottom});
    for (int x = rect.left + 1; x <= rect.right - 2; ++x)
        Line(canvas, BlendColor(a, b, span, x - rect.left), {x, rect.top}, {x, rect.bottom});
    Line(canvas, right, {rect.right - 1, rect.top}, {rect.right - 1, rect.bottom});
}

void DrawThreePartStrip(const TBitmap& strip, TCanvas& canvas, const RECT& rect, TColor maskColor,
                        bool masked) {
    const int w = strip.Width() / 3, height = strip.Height();
    const int width = rect.right - rect.left;
    if (w <= 0 || height <= 0 || width <= 0) return;
    if (!masked) {
        // Unmasked, the parts are copied straight out of the strip, as the frames would draw.
        HDC source = const_cast<TBitmap&>(strip).Canvas().Handle(), target = canvas.Handle();
        const int first = FrameSpan(strip.Width(), 3, 1).Left;
        BitBlt(target, rect.left, rect.top, std::min(width, w), height, source, first, 0, SRCCOPY);
        if (width < w) return;
        BitBlt(target, rect.right - w, rect.top, w, height, source,
               FrameSpan(strip.Width(), 3, 3).Left, 0, SRCCOPY);
        const int oldMode = SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, rect.left + w, rect.top, width - 2 * w, height, source,
                   FrameSpan(strip.Width(), 3, 2).Left, 0, w, height, SRCCOPY);
        if (oldMode) SetStretchBltMode(target, oldMode);
        return;
    }
    // Frame i of the strip; its pixels of the mask colour are left out when drawn.
    auto part = [&](int index, TBitmap& frame) {
        ExtractFrame(strip, frame, 3, index);
        frame.SetTransparent(true);
        frame.SetTransparentColor(maskColor);
    };
    TBitmap frame;
    part(1, frame);
    if (width < w) {
        frame.SetWidth(width);
        canvas.Draw(rect.left, rect.top, frame);
        return;
    }
    canvas.Draw(rect.left, rect.top, frame);
    part(3, frame);
    canvas.Draw(rect.right - w, rect.top, frame);
    part(2, frame);
    canvas.StretchDraw({rect.left + w, rect.top, rect.right - w, rect.top + height}, frame);
}

bool IsFormActive(const TCustomForm* form) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    const bool ownFlag = form && form->Active();
    if (!main) return ownFlag;
    const bool mdiFrame = main->MDIClientHandle() != nullptr;
    if (mdiFrame && main == form) return true;
    if (!Application->Active()) return false;
    if (!form || form == main) return true;
    if (mdiFrame && form->HandleAllocated())
        return reinterpret_cast<HWND>(SendMessageA(main->MDIClientHandle(), WM_MDIGETACTIVE, 0,
                                                   0)) == const_cast<TCustomForm*>(form)->Handle();
    return ownFlag;
}

} // namespace kel
