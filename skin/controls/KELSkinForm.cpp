#include "skin/controls/KELSkinForm.h"

#include "skin/controls/KELSkinFormRegion.h"

namespace kel {

const TClassInfo& TkelSkinForm::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelSkinForm", &TGraphicControl::StaticClassInfo());
        TPublisher<TkelSkinForm>(i).Property("TransparentColor", &TkelSkinForm::TransparentColor,
                                             &TkelSkinForm::SetTransparentColor, "TColor");
        return i;
    }();
    return info;
}

TkelSkinForm::TkelSkinForm(TComponent* owner)
    : TGraphicControl(owner), form_(dynamic_cast<TCustomForm*>(owner)),
      glyph_(std::make_unique<TBitmap>()) {
    if (form_ && !Designing())
        form_->SetBorderStyle(form_->Tag() <= 0 ? TFormBorderStyle::bsNone
                                                : TFormBorderStyle::bsSingle);
    SetWidth(200);
    SetHeight(100);
}

TkelSkinForm::~TkelSkinForm() = default;

void TkelSkinForm::SetGlyph(const TBitmap& glyph) {
    glyph_->Assign(glyph);
    RebuildSkin();
    Repaint();
}

void TkelSkinForm::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    RebuildSkin();
    Repaint();
}

void TkelSkinForm::RebuildSkin() {
    if (glyph_->Empty()) return;
    // A form with a positive Tag keeps its border and is only sized; while designing the window
    // keeps its shape too.
    if (form_ && form_->Tag() <= 0 && !Designing())
        BitmapToWindowRegion(form_->Handle(), *glyph_, transparentColor_);
    SetHeight(glyph_->Height());
    SetWidth(glyph_->Width());
    SetTop(0);
    SetLeft(0);
    if (form_) {
        form_->SetClientHeight(Height());
        form_->SetClientWidth(Width());
    }
    if (OnRegionChanged) OnRegionChanged(this);
}

void TkelSkinForm::Paint() {
    if (!glyph_->Empty()) {
        Canvas().Draw(0, 0, *glyph_);
    } else {
        Canvas().Brush().SetColor(clBlack);
        Canvas().FrameRect(ClientRect());
    }
    if (OnPaint) OnPaint(this);
}

void TkelSkinForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!form_) return;
    // Hand the press to the window manager as a press on a caption: it moves the window until
    // the button is released. Our own capture would keep the mouse from it.
    ReleaseCapture();
    SendMessageA(form_->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

} // namespace kel
