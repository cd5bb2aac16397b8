// Painting the host window's non-client frame: from the title pictures and the style's colours in
// the built-in styles, from the title image and the side and bottom pictures of a file theme.
#include <algorithm>

#include "framework/win/Handles.h"
#include "skin/controls/KELMenu.h"
#include "skin/controls/KELPublic.h"
#include "skin/frame/KELForm.h"
#include "skin/frame/KELMenuBar.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

int WidthOf(const TBitmap* bitmap) {
    return bitmap ? bitmap->Width() : 0;
}
int HeightOf(const TBitmap* bitmap) {
    return bitmap ? bitmap->Height() : 0;
}

void Fill(TCanvas& canvas, const RECT& rect, TColor color) {
    if (rect.right > rect.left && rect.bottom > rect.top) FillRectColor(canvas, rect, color);
}

} // namespace

void TkelForm::FillLikeMenuBar(TCanvas& canvas, const RECT& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    if (menuBarToColor_ == menuBarColor_)
        FillRectColor(canvas, rect, menuBarColor_);
    else
        GradientFillVertical(canvas, rect, menuBarColor_, menuBarToColor_);
}

void TkelForm::PaintFrame() {
    if (closing_ || framePaintHolds_ > 0 || !host_ || !host_->HandleAllocated()) return;
    HWND window = host_->Handle();
    if (IsIconic(window) && !Designing()) return;
    RECT outer;
    GetWindowRect(window, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    gdi::WindowDc dc(window, true);
    if (!dc.Get()) return;
    if (ResolveUIStyle(fileTheme_, uiStyle_).UseFileTheme)
        PaintThemeFrame(dc.Get(), width, height);
    else
        PaintBuiltInFrame(dc.Get(), width, height);
}

void TkelForm::PaintBuiltInFrame(HDC dc, int w, int h) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    const int bw = borderWidth_;
    const bool titleShown = titleBar_->Visible();
    TGraphic *left = nullptr, *right = nullptr, *client = nullptr;
    if (titleShown && titleBar_->HasStandardSections() && titleBar_->GetTitleGraphic(0, left) &&
        titleBar_->GetTitleGraphic(1, right) && titleBar_->GetTitleGraphic(2, client) && left &&
        right && client) {
        // The frame beside the title bar continues the title pictures sideways and upwards.
        TBitmap piece(std::max(0, 3 - bw), left->Height());
        piece.Canvas().Draw(0, 0, *left);
        canvas.Draw(bw, 0, piece);
        if (right->Width() >= 3)
            piece.Canvas().Draw(2 - right->Width(), 0, *right);
        else
            piece.Canvas().StretchDraw({0, 0, piece.Width(), piece.Height()}, *right);
        canvas.Draw(w - 3, 0, piece);

        piece.SetSize(std::max(0, w - 5), 3);
        piece.Canvas().Draw(-2, 0, *left);
        const int a = hostBorderStyle_ == TFormBorderStyle::bsDialog ||
                              host_->BorderStyle() == TFormBorderStyle::bsDialog
                          ? piece.Width() - right->Width() + 2
                          : piece.Width() + measuredLeft_ - right->Width() - 1;
        piece.Canvas().Draw(a, 0, *right);
        piece.Canvas().StretchDraw({left->Width() - 2, 0, a, client->Height()}, *client);
        canvas.Draw(2, 0, piece);

        const int r = RoundCorner();
        if (bw == 1 && r == 11 && !Designing()) {
            canvas.Pen().SetColor(borderColor_);
            canvas.Brush().SetStyle(TBrushStyle::Clear);
            Arc(dc, w - 2 * r + 1, -1, w + 1, 2 * r - 1, w + 1, r - 1, w - r + 1, -1);
            Arc(dc, -1, -1, 2 * r - 1, 2 * r - 1, r - 1, -1, -1, r - 1);
        }
    } else if (!titleShown) {
        Fill(canvas, {0, 0, w, 1}, borderColor_);
        Fill(canvas, {bw, 1, w - bw, 3}, Color());
    }
    Fill(canvas, {0, 0, bw, h}, borderColor_);
    Fill(canvas, {0, h - bw, w, h}, borderColor_);
    Fill(canvas, {w - bw, 0, w, h}, borderColor_);
    if (bw < 4) {
        const int t0 = titleShown ? titleBar_->Height() + 3 : 0;
        const int barHeight = MenuBarHeight();
        const int t = t0 + barHeight;
        Fill(canvas, {bw, h - 2, w - bw, h - bw}, Color());
        Fill(canvas, {bw, t, 3, h - bw}, Color());
        Fill(canvas, {w - 3, t, w - bw, h - bw}, Color());
        if (barHeight > 0) {
            FillLikeMenuBar(canvas, {bw, t0, 3, t0 + barHeight});
            FillLikeMenuBar(canvas, {w - 3, t0, w - bw, t0 + barHeight});
        }
    }
    canvas.SetHandle(nullptr);
}

void TkelForm::PaintThemeFrame(HDC dc, int w, int h) {
    const TkelFileTheme& theme = *fileTheme_;
    const TColor gap = static_cast<TColor>(theme.GetColor(TkelThemeColorKey::FormColor));
    TCanvas canvas;
    canvas.SetHandle(dc);
    const bool titleShown = titleBar_->Visible();
    TGraphic* composed = nullptr;
    if (titleShown && titleBar_->HasStandardSections() &&
        titleBar_->GetTitleGraphic(-2, composed) && composed) {
        auto* image = static_cast<TBitmap*>(composed);
        const int iw = image->Width(), ih = image->Height();
        TCanvas& source = image->Canvas();
        const int left = std::max(skinLeft_, 4), right = std::max(4, skinRight_);
        canvas.CopyRect({0, 0, left, ih}, source, {0, 0, left, ih});
        canvas.CopyRect({0, 0, iw, 3}, source, {0, 0, iw, 3});
        canvas.CopyRect({w - right, 0, w, ih}, source, {iw - right, 0, iw, ih});
    }
    const int b = titleShown ? titleBar_->Height() + 3 : 0;
    const int barHeight = MenuBarHeight();
    const TBitmap* leftSide = theme.GetBitmap(TkelThemeBitmapKey::FormLeftBorder);
    const TBitmap* rightSide = theme.GetBitmap(TkelThemeBitmapKey::FormRightBorder);
    const int lw = WidthOf(leftSide), rw = WidthOf(rightSide);
    // Sides narrower than 4 pixels leave a gap up to 4, filled like what lies beside it.
    auto fillGap = [&](int x0, int x1) {
        if (x1 <= x0) return;
        if (barHeight > 0) {
            FillLikeMenuBar(canvas, {x0, b, x1, b + barHeight});
            Fill(canvas, {x0, b + barHeight, x1, h - skinBottom_}, gap);
        } else {
            Fill(canvas, {x0, b, x1, h - skinBottom_}, gap);
        }
    };
    fillGap(lw, 4);
    fillGap(w - 4, w - rw);
    if (leftSide && lw > 0)
        canvas.StretchDraw({0, b, lw, h - skinBottom_}, *const_cast<TBitmap*>(leftSide));
    if (rightSide && rw > 0)
        canvas.StretchDraw({w - rw, b, w, h - skinBottom_}, *const_cast<TBitmap*>(rightSide));
    PaintBottomImage(dc, w, h);
    if (skinBottom_ < 4) Fill(canvas, {skinLeft_, h - 4, w - skinRight_, h - skinBottom_}, gap);
    canvas.SetHandle(nullptr);
}

void TkelForm::UpdateBottomImage(int w) {
    const TkelFileTheme& theme = *fileTheme_;
    const TBitmap* first = theme.GetBitmap(TkelThemeBitmapKey::FormBottomBorder1);
    const int bh = HeightOf(first);
    if (bh <= 0 || w <= 0) {
        bottomImage_.SetSize(0, 0);
        bottomShown_.SetSize(0, 0);
        bottomImageWidth_ = -1;
        return;
    }
    // The pictures change only with the style, which forgets the kept images.
    if (w == bottomImageWidth_ && bottomImage_.Height() == bh) return;
    bottomImage_.SetSize(w, bh);
    TCanvas& canvas = bottomImage_.Canvas();
    if (theme.GetBool(TkelThemeBoolKey::BottomBorderThreeSect)) {
        const TBitmap* middle = theme.GetBitmap(TkelThemeBitmapKey::FormBottomBorder2);
        const TBitmap* last = theme.GetBitmap(TkelThemeBitmapKey::FormBottomBorder3);
        canvas.Draw(0, 0, *const_cast<TBitmap*>(first));
        if (middle)
            canvas.StretchDraw({first->Width(), 0, w - WidthOf(last), bh},
                               *const_cast<TBitmap*>(middle));
        if (last) canvas.Draw(w - last->Width(), 0, *const_cast<TBitmap*>(last));
    } else {
        DrawThreePartStrip(*first, canvas, {0, 0, w, bh}, clNone, false);
    }
    // With a region the picture's transparent pixels lie outside the window; those the region
    // keeps show the form's colour.
    if (bottomRegion_) {
        bottomShown_.SetSize(w, bh);
        FillRectColor(bottomShown_.Canvas(), {0, 0, w, bh},
                      static_cast<TColor>(theme.GetColor(TkelThemeColorKey::FormColor)));
        bottomImage_.DrawWithKey(bottomShown_.Canvas(), {0, 0, w, bh}, transparentColor_);
    } else {
        bottomShown_.SetSize(0, 0);
    }
    bottomImageWidth_ = w;
}

void TkelForm::PaintBottomImage(HDC dc, int w, int h) {
    UpdateBottomImage(w);
    if (bottomImageWidth_ < 0) return;
    TBitmap& shown = bottomRegion_ ? bottomShown_ : bottomImage_;
    BitBlt(dc, 0, h - skinBottom_, shown.Width(), shown.Height(), shown.Canvas().Handle(), 0, 0,
           SRCCOPY);
}

} // namespace kel
