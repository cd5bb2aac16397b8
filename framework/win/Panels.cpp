#include "framework/win/ExtCtrls.h"

namespace kel {

const TClassInfo& TCustomPanel::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TCustomPanel", &TCustomControl::StaticClassInfo());
        TPublisher<TCustomPanel>(i)
            .Property("Align", &TCustomPanel::Align, &TCustomPanel::SetAlign)
            .Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
            .Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
            .Property("BiDiMode", &TCustomPanel::BiDiMode, &TCustomPanel::SetBiDiMode)
            .Property("ParentBiDiMode", &TCustomPanel::ParentBiDiMode,
                      &TCustomPanel::SetParentBiDiMode)
            .Property("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption)
            .Property("Color", &TCustomPanel::Color, &TCustomPanel::SetColor, "TColor");
        return i;
    }();
    return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
    static const TClassInfo info("TPanel", &TCustomPanel::StaticClassInfo());
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    bevelOuter_ = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    bevelInner_ = value;
    Invalidate();
}

void TCustomPanel::SetBorderSingle(bool value) {
    if (borderSingle_ == value) return;
    borderSingle_ = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WinClassName = "KelPanel";
    if (borderSingle_) params.Style |= WS_BORDER;
}

void TCustomPanel::Paint() {
    RECT r = ClientRect();
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(TBrushStyle::Solid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == TPanelBevel::bvNone) continue;
        DrawEdge(canvas.Handle(), &r,
                 bevel == TPanelBevel::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                 BF_RECT | BF_ADJUST);
    }
    const std::string caption = Caption();
    if (caption.empty()) return;
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (UseRightToLeftReading()) format |= DT_RTLREADING;
    DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, format);
}

} // namespace kel
