// Painting of controls: windowless children on their parent's canvas, double-buffered windows,
// background erasing and the canvas of TCustomControl.
#include "framework/win/Controls.h"

#include <algorithm>

#include "framework/win/Handles.h"

namespace kel {

namespace {

// Attaches a DC to a control's canvas for one paint and detaches it again, also when painting
// raises.
void PaintThrough(TCanvas& canvas, HDC dc, const TFont& font, const std::function<void()>& paint) {
    struct Detach {
        TCanvas& canvas;
        ~Detach() { canvas.SetHandle(nullptr); }
    } detach{canvas};
    canvas.SetHandle(dc);
    canvas.Font().Assign(font);
    paint();
}

} // namespace

// ---- TGraphicControl ---------------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo info("TGraphicControl", &TControl::StaticClassInfo());
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(HDC dc) {
    PaintThrough(canvas_, dc, Font(), [this] { Paint(); });
}

void TWinControl::EraseBackground(HDC dc) {
    if (!dc) return;
    RECT r;
    GetClientRect(window_.Handle(), &r);
    const gdi::UniqueGdi<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.get());
}

void TWinControl::PaintWindow(HDC) {}
void TWinControl::CommandNotify(WORD) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0)
            continue;
        const gdi::SavedDc saved(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        // One child that fails to paint shows its error; the others still paint.
        try {
            c->PaintTo(dc);
        } catch (const std::exception& e) {
            ReportHandlerException(e);
        }
    }
}

void TWinControl::PaintLayers(HDC dc, bool erase) {
    if (erase) EraseBackground(dc);
    PaintWindow(dc);
    PaintControls(dc);
}

// Paints on a given DC (WM_PRINTCLIENT-style requests) or for the window's paint request. The
// double-buffered path paints the part to update into a memory bitmap of that size (its origin
// moved so everything draws in client coordinates) and copies it over, so nothing flickers; an
// empty update area, such as that of a window covered by its children, paints nothing. Every DC
// and bitmap goes back on every way out, also when a paint handler raises.
void TWinControl::PaintHandler(HDC given) {
    if (given) {
        PaintLayers(given, doubleBuffered_);
        return;
    }
    const gdi::PaintDc paint(window_.Handle());
    if (!doubleBuffered_) {
        PaintLayers(paint.Get(), false);
        return;
    }
    const RECT& area = paint.Area();
    if (IsRectEmpty(&area)) return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    const gdi::UniqueDc memory(CreateCompatibleDC(paint.Get()));
    const gdi::UniqueGdi<HBITMAP> buffer(CreateCompatibleBitmap(paint.Get(), width, height));
    if (!memory || !buffer) { // no room for a buffer: paint straight onto the window
        PaintLayers(paint.Get(), true);
        return;
    }
    const gdi::ScopedSelect select(memory.get(), buffer.get());
    SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
    PaintLayers(memory.get(), true);
    SetViewportOrgEx(memory.get(), 0, 0, nullptr);
    BitBlt(paint.Get(), area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

// ---- TCustomControl ----------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
    static const TClassInfo info("TCustomControl", &TWinControl::StaticClassInfo());
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
    PaintThrough(canvas_, dc, Font(), [this] { Paint(); });
}

} // namespace kel
