// TkelCustomButton's looks: the double-buffered Paint, the state pictures from the UI style or the
// file theme, the caption, the focus rectangle, sizing from the style, and the parent's painting
// behind a transparent button.
#include "skin/controls/KELButton.h"

#include "framework/win/Handles.h"
#include "framework/win/ImgList.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

constexpr int kStyleButtonPosition = 1; // the built-in theme table's button strip
constexpr int kStripFrames = 3;         // normal, mouse over, pressed
// Size of the blank picture shown when a state picture cannot be fetched, and of one frame of
// a missing button strip.
constexpr int kBlankWidth = 74, kBlankHeight = 21;

// Nothing but blanks and control characters.
bool IsBlank(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

TColor TopLeftColor(const TBitmap& bitmap) {
    return PixelToColor(bitmap.ScanLine(0)[0]);
}

void MakeBlank(TBitmap& bitmap) {
    bitmap.SetSize(0, 0);
    bitmap.SetSize(kBlankWidth, kBlankHeight);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::Solid);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect({0, 0, kBlankWidth, kBlankHeight});
}

// DrawTextA of the caption centred in `area`, in `color`.
void DrawCentred(HDC dc, const std::string& caption, const RECT& area, TColor color) {
    SetTextColor(dc, ColorToRGB(color));
    RECT box = area;
    DrawTextA(dc, caption.c_str(), -1, &box, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    OffsetRect(&box, ((area.right - area.left) - (box.right - box.left)) / 2,
               ((area.bottom - area.top) - (box.bottom - box.top)) / 2);
    DrawTextA(dc, caption.c_str(), -1, &box, DT_EXPANDTABS | DT_WORDBREAK);
}

RECT Shifted(RECT rect) {
    OffsetRect(&rect, 1, 1);
    return rect;
}

} // namespace

void PaintParentBackground(TCanvas& canvas, TControl& control) {
    TWinControl* parent = control.Parent();
    if (!parent) return;
    HDC dc = canvas.Handle();
    const gdi::SavedDc saved(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    SendMessageA(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void TkelCustomButton::Paint() {
    const int width = ClientWidth(), height = ClientHeight();
    if (width <= 0 || height <= 0) return;
    const RECT client{0, 0, width, height};

    auto picture = std::make_unique<TBitmap>();
    FillStatePicture(*picture);
    picture->SetTransparent(seeThrough_);

    TBitmap buffer(width, height);
    TCanvas& canvas = buffer.Canvas();
    if (transparent_) {
        PaintParentBackground(canvas, *this);
    } else {
        canvas.Brush().SetStyle(TBrushStyle::Solid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    DrawPicture(canvas, picture.get());
    picture.reset();
    if (Focused() && TabStop()) PaintFocusRect(canvas);
    // DrawCaption gives the buffer the font; the control's canvas has it from the paint request.
    if (!IsBlank(caption_)) DrawCaption(canvas, caption_);
    Canvas().CopyRect(client, canvas, client);
}

void TkelCustomButton::FillStatePicture(TBitmap& picture) {
    try {
        if (!Enabled())
            GetDisabledPicture(picture);
        else if (pressed_)
            GetMouseDownPicture(picture);
        else if (mouseOver_)
            GetMouseOnPicture(picture);
        else
            GetNormalPicture(picture);
    } catch (const std::exception&) {
        MakeBlank(picture); // a picture that cannot be fetched must not stop the painting
    }
}

void TkelCustomButton::DrawPicture(TCanvas& canvas, TBitmap* picture) {
    if (!picture || picture->Width() == 0 || picture->Height() == 0) return;
    TImageList list(picture->Width(), picture->Height());
    if (seeThrough_)
        list.AddMasked(*picture, TopLeftColor(*picture));
    else
        list.Add(*picture);
    list.Draw(canvas, 0, 0, 0, Enabled());
}

void TkelCustomButton::DrawCaption(TCanvas& canvas, const std::string& caption) {
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    const RECT area = ClientRect();
    canvas.Font().Assign(Font());
    HDC dc = canvas.Handle();
    if (!Enabled()) {
        DrawCentred(dc, caption, Shifted(area), clWhite);
        DrawCentred(dc, caption, area, clGray);
    } else if (pressed_) {
        DrawCentred(dc, caption, Shifted(area), Font().Color());
    } else {
        DrawCentred(dc, caption, area, Font().Color());
    }
}

void TkelCustomButton::PaintFocusRect(TCanvas& canvas) {
    canvas.Brush().SetStyle(TBrushStyle::Solid);
    const int m = focusedRectMargin_;
    canvas.DrawFocusRect({m, m, ClientWidth() - m, ClientHeight() - m});
}

void TkelCustomButton::UpdateAutoSize() {
    if (!autoSize_) return;
    // The whole strip of the stored style; FromThemeFile names none and gets the blank size.
    TBitmap strip;
    GetThemeBitmap(uiStyle_, kStyleButtonPosition, &strip, 0, 0);
    const int stripHeight = strip.Height() == 0 ? kBlankHeight : strip.Height();
    const int stripWidth = strip.Width() == 0 ? kBlankWidth : strip.Width();
    SetHeight(stripHeight);
    SetWidth(stripWidth / kStripFrames);
}

void TkelCustomButton::StyleFrame(TBitmap& bitmap, int frame) {
    const TResolvedStyle resolved = ResolveUIStyle(fileTheme_, uiStyle_);
    if (resolved.UseFileTheme)
        fileTheme_->CopyBitmap(TkelThemeBitmapKey::Button, bitmap, kStripFrames, frame);
    else
        GetThemeBitmap(resolved.Style, kStyleButtonPosition, &bitmap, frame, kStripFrames);
}

void TkelCustomButton::GetNormalPicture(TBitmap& bitmap) {
    StyleFrame(bitmap, 1);
}
void TkelCustomButton::GetMouseOnPicture(TBitmap& bitmap) {
    StyleFrame(bitmap, 2);
}
void TkelCustomButton::GetMouseDownPicture(TBitmap& bitmap) {
    StyleFrame(bitmap, 3);
}
void TkelCustomButton::GetDisabledPicture(TBitmap& bitmap) {
    StyleFrame(bitmap, 1);
}

} // namespace kel
