// TkelImageButton: the push button drawn from four application pictures, the normal one being
// the fallback of the three others.
#include "skin/controls/KELButton.h"

#include <initializer_list>

namespace kel {

namespace {

// Copies the first of the pictures that holds a graphic into the bitmap; when none does the
// bitmap stays empty. Only a bitmap can be copied.
void CopyFirstPicture(TBitmap& bitmap, std::initializer_list<const TPicture*> choices) {
    for (const TPicture* choice : choices) {
        if (!choice->HasGraphic()) continue;
        const auto* source = dynamic_cast<const TBitmap*>(choice->Graphic());
        if (!source) throw EConvertError("Cannot copy a picture that holds no bitmap");
        bitmap.Assign(*source);
        return;
    }
}

} // namespace

const TClassInfo& TkelImageButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelImageButton", &TkelCustomButton::StaticClassInfo());
        // FileTheme stays unpublished: handing a theme to a form's children never touches an
        // image button.
        TPublisher<TkelImageButton>(i)
            .Property("UIStyle", &TkelImageButton::UIStyle, &TkelCustomButton::SetUIStyle)
            .Property("DrawFocused", &TkelImageButton::DrawFocused,
                      &TkelImageButton::SetDrawFocused)
            .Property("FocusedRectMargin", &TkelCustomButton::FocusedRectMargin,
                      &TkelCustomButton::SetFocusedRectMargin)
            .Property("Stretch", &TkelImageButton::Stretch, &TkelImageButton::SetStretch)
            .Property("Cancel", &TkelCustomButton::Cancel, &TkelCustomButton::SetCancel)
            .Property("Default", &TkelCustomButton::Default, &TkelCustomButton::SetDefault)
            .Property("MouseContinuouslyDownInterval",
                      &TkelCustomButton::MouseContinuouslyDownInterval,
                      &TkelCustomButton::SetMouseContinuouslyDownInterval)
            .Property("Enabled", &TControl::Enabled, &TkelCustomButton::SetEnabled)
            .Property("Transparent", &TkelCustomButton::Transparent,
                      &TkelCustomButton::SetTransparent)
            .Property("ModalResult", &TkelCustomButton::ModalResult,
                      &TkelCustomButton::SetModalResult);
        return i;
    }();
    return info;
}

TkelImageButton::TkelImageButton(TComponent* owner) : TkelCustomButton(owner) {}
TkelImageButton::~TkelImageButton() = default;

void TkelImageButton::AssignPicture(TPicture& slot, const TPicture& value) {
    slot.Assign(value);
    UpdateAutoSize();
    Repaint();
}

void TkelImageButton::SetPicNormal(const TPicture& value) {
    AssignPicture(picNormal_, value);
}
void TkelImageButton::SetPicMouseOn(const TPicture& value) {
    AssignPicture(picMouseOn_, value);
}
void TkelImageButton::SetPicMouseDown(const TPicture& value) {
    AssignPicture(picMouseDown_, value);
}
void TkelImageButton::SetPicDisabled(const TPicture& value) {
    AssignPicture(picDisabled_, value);
}

void TkelImageButton::SetStretch(bool value) {
    stretch_ = value;
    Repaint();
}

void TkelImageButton::SetDrawFocused(bool value) {
    drawFocused_ = value;
    Repaint();
}

void TkelImageButton::UpdateAutoSize() {
    // Only the normal picture decides the size.
    if (!Parent() || !AutoSize() || !picNormal_.HasGraphic()) return;
    SetHeight(picNormal_.Height());
    SetWidth(picNormal_.Width());
}

void TkelImageButton::DrawPicture(TCanvas& canvas, TBitmap* picture) {
    if (!picture || picture->Width() == 0 || picture->Height() == 0) return;
    // Paint has set the picture's transparent drawing from the see-through flag; the key colour
    // is the top-left pixel.
    picture->SetTransparentColor(PixelToColor(picture->ScanLine(0)[0]));
    if (stretch_)
        canvas.StretchDraw({0, 0, Width(), Height()}, *picture);
    else
        canvas.Draw(0, 0, *picture);
}

void TkelImageButton::PaintFocusRect(TCanvas& canvas) {
    if (drawFocused_) TkelCustomButton::PaintFocusRect(canvas);
}

void TkelImageButton::GetNormalPicture(TBitmap& bitmap) {
    CopyFirstPicture(bitmap, {&picNormal_});
}
void TkelImageButton::GetMouseOnPicture(TBitmap& bitmap) {
    CopyFirstPicture(bitmap, {&picMouseOn_, &picNormal_});
}
void TkelImageButton::GetMouseDownPicture(TBitmap& bitmap) {
    CopyFirstPicture(bitmap, {&picMouseDown_, &picNormal_});
}
void TkelImageButton::GetDisabledPicture(TBitmap& bitmap) {
    CopyFirstPicture(bitmap, {&picDisabled_, &picNormal_});
}

} // namespace kel
