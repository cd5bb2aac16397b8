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
// double-buffered path paints the whole client area into a memory bitmap and copies the part
// to update, so nothing flickers; every DC and bitmap goes back on every way out, also when a
// paint handler raises.
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
    RECT client;
    GetClientRect(window_.Handle(), &client);
    const gdi::UniqueDc memory(CreateCompatibleDC(paint.Get()));
    const gdi::UniqueGdi<HBITMAP> buffer(CreateCompatibleBitmap(
        paint.Get(), std::max(1L, client.right), std::max(1L, client.bottom)));
    if (!memory || !buffer) { // no room for a buffer: paint straight onto the window
        PaintLayers(paint.Get(), true);
        return;
    }
    const gdi::ScopedSelect select(memory.get(), buffer.get());
    PaintLayers(memory.get(), true);
    const RECT& area = paint.Area();
    BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           memory.get(), area.left, area.top, SRCCOPY);
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
