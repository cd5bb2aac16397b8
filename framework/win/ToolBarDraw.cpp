// Drawing of the tool bar: the custom-draw events on the bar's canvas and the etched edges in the
// window's frame.
#include "framework/win/ComCtrls.h"

#include "framework/win/Handles.h"

namespace kel {

namespace {

// The bar's canvas on the custom-draw DC for one event, with the bar's font; the DC is handed
// back to the bar exactly as it came, also when the handler raises.
class TCanvasOnDc {
public:
    TCanvasOnDc(TCanvas& canvas, HDC dc, const TFont& font) : canvas_(canvas), saved_(dc) {
        canvas_.SetHandle(dc);
        canvas_.Font().Assign(font);
    }
    ~TCanvasOnDc() { canvas_.SetHandle(nullptr); }
    TCanvasOnDc(const TCanvasOnDc&) = delete;
    TCanvasOnDc& operator=(const TCanvasOnDc&) = delete;

private:
    TCanvas& canvas_;
    gdi::SavedDc saved_;
};

TCustomDrawState DrawState(UINT itemState) {
    static const struct {
        UINT native;
        TCustomDrawState state;
    } kStates[] = {{CDIS_SELECTED, cdsSelected},
                   {CDIS_GRAYED, cdsGrayed},
                   {CDIS_DISABLED, cdsDisabled},
                   {CDIS_CHECKED, cdsChecked},
                   {CDIS_FOCUS, cdsFocused},
                   {CDIS_DEFAULT, cdsDefault},
                   {CDIS_HOT, cdsHot},
                   {CDIS_MARKED, cdsMarked},
                   {CDIS_INDETERMINATE, cdsIndeterminate}};
    TCustomDrawState state = 0;
    for (const auto& s : kStates)
        if (itemState & s.native) state |= s.state;
    return state;
}

} // namespace

LRESULT TToolBar::CustomDraw(NMHDR* header) {
    if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return 0;
    auto& draw = *reinterpret_cast<NMTBCUSTOMDRAW*>(header);
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        bool defaultDraw = true;
        if (OnCustomDraw) {
            const TCanvasOnDc attached(canvas_, draw.nmcd.hdc, Font());
            const RECT area = ClientRect();
            SafeCall([&] { OnCustomDraw(this, area, defaultDraw); });
        }
        if (!defaultDraw) return CDRF_SKIPDEFAULT;
        return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    }
    case CDDS_ITEMPREPAINT: {
        TToolButton* button = ButtonOfCommand(static_cast<UINT>(draw.nmcd.dwItemSpec));
        if (!button || !OnCustomDrawButton) return CDRF_DODEFAULT;
        TCustomDrawState state = DrawState(draw.nmcd.uItemState);
        if (button == menuButton_) state |= cdsSelected; // its menu is open
        if (!button->Enabled()) state |= cdsDisabled;
        bool defaultDraw = true;
        const TCanvasOnDc attached(canvas_, draw.nmcd.hdc, Font());
        SafeCall([&] { OnCustomDrawButton(this, button, state, defaultDraw); });
        return defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

LRESULT TToolBar::NonClient(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefaultHandler(message, wParam, lParam);
    if (message == WM_NCCALCSIZE) {
        // Room for the edges at the sides they are on (the first rectangle in both forms).
        const int across = GetSystemMetrics(SM_CXEDGE), down = GetSystemMetrics(SM_CYEDGE);
        RECT& r = *reinterpret_cast<RECT*>(lParam);
        if (edgeBorders_ & ebLeft) r.left += across;
        if (edgeBorders_ & ebTop) r.top += down;
        if (edgeBorders_ & ebRight) r.right -= across;
        if (edgeBorders_ & ebBottom) r.bottom -= down;
        if (r.right < r.left) r.right = r.left;
        if (r.bottom < r.top) r.bottom = r.top;
        return result;
    }
    if (!edgeBorders_) return result;
    const gdi::WindowDc dc(Handle(), true);
    RECT r;
    GetWindowRect(Handle(), &r);
    OffsetRect(&r, -r.left, -r.top);
    UINT sides = 0;
    if (edgeBorders_ & ebLeft) sides |= BF_LEFT;
    if (edgeBorders_ & ebTop) sides |= BF_TOP;
    if (edgeBorders_ & ebRight) sides |= BF_RIGHT;
    if (edgeBorders_ & ebBottom) sides |= BF_BOTTOM;
    DrawEdge(dc.Get(), &r, EDGE_ETCHED, sides);
    return result;
}

} // namespace kel
