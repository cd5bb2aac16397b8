// TCanvas: drawing on an attached device context with the canvas's font, brush and pen.
#include "framework/win/Graphics.h"

#include <climits>

namespace kel {

namespace {

// Selects a tool and remembers what the DC held before the canvas first touched it.
void SelectTool(HDC dc, HGDIOBJ tool, HGDIOBJ& original) {
    HGDIOBJ previous = SelectObject(dc, tool);
    if (!original) original = previous;
}

int ClampedLength(const std::string& text) {
    return text.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

} // namespace

TCanvas::TCanvas() {
    font_.OnChange = [this] {
        if (dc_) ApplyFont();
    };
    brush_.OnChange = [this] {
        if (dc_) ApplyBrush();
    };
    pen_.OnChange = [this] {
        if (dc_) ApplyPen();
    };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

HDC TCanvas::Handle() {
    RequireHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    if (dc_) DeselectObjects();
    dc_ = dc;
    if (dc_) SelectObjects();
}

void TCanvas::RequireHandle() {
    if (!dc_) CreateHandle();
    if (!dc_) throw Exception("Canvas does not allow drawing");
}

void TCanvas::ApplyFont() {
    SelectTool(dc_, font_.Handle(), oldFont_);
    SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::ApplyBrush() {
    SelectTool(dc_, brush_.Handle(), oldBrush_);
    // Text and hatched output take their background from the brush.
    if (brush_.Style() == TBrushStyle::Clear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorToRGB(brush_.Color()));
    }
}

void TCanvas::ApplyPen() {
    SelectTool(dc_, pen_.Handle(), oldPen_);
}

void TCanvas::SelectObjects() {
    ApplyFont();
    ApplyBrush();
    ApplyPen();
}

void TCanvas::DeselectObjects() {
    for (HGDIOBJ* original : {&oldFont_, &oldBrush_, &oldPen_}) {
        if (*original) SelectObject(dc_, *original);
        *original = nullptr;
    }
}

void TCanvas::FillRect(const RECT& rect) {
    ::FillRect(Handle(), &rect, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
    ::FrameRect(Handle(), &rect, brush_.Handle());
}

void TCanvas::Rectangle(const RECT& rect) {
    ::Rectangle(Handle(), rect.left, rect.top, rect.right, rect.bottom);
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    ::LineTo(Handle(), x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    RequireHandle();
    // Code that drew on Handle() directly may have changed the text state; restore the canvas's.
    ApplyFont();
    ApplyBrush();
    ::TextOutA(dc_, x, y, text.c_str(), ClampedLength(text));
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32A(Handle(), text.c_str(), ClampedLength(text), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, RECT{x, y, x + graphic.Width(), y + graphic.Height()});
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic) {
    if (graphic.Empty()) return;
    graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
    HDC dc = Handle();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
               source.Handle(), sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left,
               sourceRect.bottom - sourceRect.top, SRCCOPY);
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

TColor TCanvas::Pixel(int x, int y) {
    const COLORREF color = GetPixel(Handle(), x, y);
    return color == CLR_INVALID ? clNone : color;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    ::SetPixel(Handle(), x, y, ColorToRGB(color));
}

void TCanvas::DrawFocusRect(const RECT& rect) {
    ::DrawFocusRect(Handle(), &rect);
}

} // namespace kel
