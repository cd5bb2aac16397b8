// Painting the title bar: the sections with the full and composed title images, the buttons with
// their hover and pressed pictures, the control box or application icon, and the caption.
#include <algorithm>

#include "framework/win/Forms.h"
#include "framework/win/Handles.h"
#include "skin/controls/KELMenu.h"
#include "skin/controls/KELPublic.h"
#include "skin/frame/KELTitleBar.h"

namespace kel {

namespace {

constexpr int kIconSize = 16;
const char kEllipsis[] = "...";

void SizeAndFill(TBitmap& bitmap, int width, int height, TColor color) {
    bitmap.SetSize(std::max(0, width), std::max(0, height));
    FillRectColor(bitmap.Canvas(), {0, 0, bitmap.Width(), bitmap.Height()}, color);
}

// The application's icon at 16 x 16 pixels, or the program's main icon resource; owned.
HICON SmallApplicationIcon() {
    if (Application && Application->Icon().Handle())
        return static_cast<HICON>(CopyImage(Application->Icon().Handle(), IMAGE_ICON, kIconSize,
                                            kIconSize, LR_COPYFROMRESOURCE));
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, kIconSize, kIconSize, 0));
}

} // namespace

void TkelTitleBar::EraseBackground(HDC) {}

void TkelTitleBar::Paint() {
    TBitmap& bitmap = PreparedPaintBuffer();
    // A bar whose sections, buttons' state, cursor and icon are as at its last paint (another
    // paint of an unchanged bar, as while its form is resized or uncovered) shows that paint again.
    const TPaintedKey key{CursorInBar(), pressed_,
                          Application ? Application->Icon().Handle() : nullptr};
    const bool sectionsDrawn = UpdateSections();
    if (sectionsDrawn || !paintedValid_ || !(key == paintedKey_)) {
        if (!sectionsDrawn)
            BitBlt(bitmap.Canvas().Handle(), 0, 0, Width(), Height(),
                   sectionsLayer_.Canvas().Handle(), 0, 0, SRCCOPY);
        // The buttons use the cursor asked for above: asking the window system is slow.
        paintCursor_ = key.Cursor;
        struct TForget {
            std::optional<POINT>& cursor;
            ~TForget() { cursor.reset(); }
        } forget{paintCursor_};
        DrawButtons(bitmap);
        paintedKey_ = key;
        paintedValid_ = true;
    }
    if (Canvas().HandleAllocated())
        BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

TBitmap& TkelTitleBar::PreparedPaintBuffer() {
    // One off-screen bitmap serves every paint; its font is taken over only when the bar's
    // changed, since making a font is the dearest part of a paint.
    TBitmap& bitmap = paintBuffer_;
    bitmap.SetSize(Width(), Height());
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    if (paintFontStale_) {
        canvas.Font().Assign(Font());
        paintFontStale_ = false;
    }
    const TColor color = Font().Color();
    if (canvas.Font().Color() != color) canvas.Font().SetColor(color);
    return bitmap;
}

bool TkelTitleBar::UpdateSections() {
    // The sections change only with the bar's settings, its size, its form and the caption; a
    // paint for the buttons' hover or another repaint of the same bar reuses them.
    const TSectionsKey key{Width(), Height(), FrameWidthOfForm(), ParentForm(), Caption()};
    if (!sectionsStale_ && key == sectionsKey_) return false;
    TBitmap& bitmap = PreparedPaintBuffer();
    paintedValid_ = false; // the paint buffer now holds the sections only
    DrawSections(bitmap);
    sectionsLayer_.SetSize(Width(), Height());
    BitBlt(sectionsLayer_.Canvas().Handle(), 0, 0, Width(), Height(), bitmap.Canvas().Handle(), 0,
           0, SRCCOPY);
    sectionsKey_ = key;
    sectionsStale_ = false;
    return true;
}

int TkelTitleBar::FrameWidthOfForm() const {
    TCustomForm* form = ParentForm();
    if (!form || !form->HandleAllocated()) return 0;
    return static_cast<int>(SendMessageA(form->Handle(), WM_KEL_FRAMEWIDTH, 0, 0));
}

POINT TkelTitleBar::CursorInBar() const {
    if (paintCursor_) return *paintCursor_;
    POINT cursor{-1, -1};
    if (!GetCursorPos(&cursor)) return {-100000, -100000};
    return ScreenToClient(cursor);
}

void TkelTitleBar::DrawPictureWithBackground(TCanvas& canvas, int x, int y, TGraphic& picture) {
    // The picture's transparent pixels show the title background colour: it is drawn, with the
    // theme's transparent colour as key, over a bitmap filled with that colour.
    TBitmap& copy = backedPicture_;
    SizeAndFill(copy, picture.Width(), picture.Height(), titleBackColor_);
    if (auto* source = dynamic_cast<TBitmap*>(&picture))
        source->DrawWithKey(copy.Canvas(), {0, 0, source->Width(), source->Height()},
                            transparentColor_);
    else
        copy.Canvas().Draw(0, 0, picture);
    canvas.Draw(x, y, copy);
}

void TkelTitleBar::DrawSections(TBitmap& bitmap) {
    if (!ParentForm()) return;
    const int width = bitmap.Width(), height = bitmap.Height();
    int dx = 0, dy = 0;
    if (Framed()) {
        const int t = FrameWidthOfForm();
        dx = t != 0 ? -t : -3;
        dy = -3;
    }
    int buttonsWidth = 0;
    for (int i = 0; i < buttons_->Count(); ++i)
        buttonsWidth += buttons_->Items(i).PicNormal().Width() + buttonInterval_;

    SizeAndFill(fullTitle_, width - 2 * dx, height - dy, titleBackColor_);
    SizeAndFill(composedTitle_, fullTitle_.Width(), fullTitle_.Height(), titleBackColor_);
    TCanvas& canvas = bitmap.Canvas();
    TCanvas& full = fullTitle_.Canvas();
    int x = dx, xr = width - dx, lastLeftWidth = 0;
    TkelTitleBarSection* client = nullptr;
    bool captionDrawn = false;

    for (int i = 0; i < sections_->Count(); ++i) {
        TkelTitleBarSection& section = sections_->Items(i);
        TGraphic* picture = section.Picture().Graphic();
        const int pictureWidth = section.Picture().Width(),
                  pictureHeight = section.Picture().Height();
        if (section.CapSec()) {
            const int next = i + 1 < sections_->Count() ? sections_->Items(i + 1).Width() : 0;
            fittedCaption_ =
                FitCaption(canvas, Caption(), width - leftBtnXOffset_ - 21 - buttonsWidth - next);
            const int w = canvas.TextWidth(fittedCaption_) + leftBtnXOffset_ + 17 - lastLeftWidth;
            if (picture) {
                canvas.StretchDraw({x, dy, x + w, dy + pictureHeight}, *picture);
                full.StretchDraw({x - dx, 0, x - dx + w, pictureHeight}, *picture);
            }
            x += w;
            captionDrawn = true;
        } else if (section.Align() == TkelTitleBarAlign::kelLeft) {
            if (picture) {
                canvas.Draw(x, dy, *picture);
                full.Draw(x - dx, 0, *picture);
            }
            x += pictureWidth;
            lastLeftWidth = pictureWidth;
        } else if (section.Align() == TkelTitleBarAlign::kelRight) {
            if (picture) {
                DrawPictureWithBackground(canvas, xr - pictureWidth, dy, *picture);
                full.Draw(xr - dx - pictureWidth, 0, *picture);
            }
            xr -= pictureWidth;
        } else {
            client = &section;
        }
    }
    if (client && client->Picture().HasGraphic()) {
        TGraphic& picture = *client->Picture().Graphic();
        canvas.StretchDraw({x, dy, xr, dy + picture.Height()}, picture);
        full.StretchDraw({x - dx, 0, xr - dx, picture.Height()}, picture);
    }
    composedTitle_.Canvas().Draw(0, 0, fullTitle_);
    if (!captionDrawn) {
        fittedCaption_.clear();
    } else if (auto* form = dynamic_cast<IkelSkinnedForm*>(Parent())) {
        form->PaintFrame();
    }
}

TBitmap& TkelTitleBar::PictureFor(TkelTitleBarButton& button, bool hot) {
    const TPicture& picture = !hot       ? button.PicNormal()
                              : pressed_ ? button.PicMouseDown()
                                         : button.PicMouseOn();
    TGraphic& normal = *button.PicNormal().Graphic();
    normal.SetTransparent(false);
    buttonPicture_.SetSize(normal.Width(), normal.Height());
    buttonPicture_.SetTransparent(button.Transparent());
    buttonPicture_.SetTransparentColor(UsesFileTheme(uiStyle_) ? transparentColor_ : clNone);
    buttonPicture_.Canvas().Draw(0, 0, *picture.Graphic());
    return buttonPicture_;
}

void TkelTitleBar::DrawButtons(TBitmap& bitmap) {
    if (!ParentForm()) return;
    const int width = bitmap.Width();
    const int t = FrameWidthOfForm();
    int xb = width - rightBtnXOffset_ + t - 1;
    hotButton_ = -1;
    const POINT cursor = CursorInBar();
    TCanvas& canvas = bitmap.Canvas();
    TkelTitleBarButton* controlBox = nullptr;

    for (int i = 0; i < buttons_->Count(); ++i) {
        TkelTitleBarButton& button = buttons_->Items(i);
        if (!button.Visible() || !button.HasPictures()) continue;
        const int w = button.PicNormal().Width(), h = button.PicNormal().Height();
        if (button.ButtonType() == TkelTitleBarBtnType::kelControlBox) {
            controlBox = &button;
            continue;
        }
        if (button.ButtonType() == TkelTitleBarBtnType::kelClose)
            xb -= w;
        else
            xb -= w + buttonInterval_ + 1;
        if (xb + w + 1 > width) xb = width - w - 1;
        const bool hot = PointInRect(cursor, {xb, buttonTop_, xb + w, buttonTop_ + h});
        if (hot) hotButton_ = i;
        canvas.Draw(xb, buttonTop_, PictureFor(button, hot));
    }

    int xl = std::max(0, leftBtnXOffset_ - 4 - (t - 1));
    if (controlBox) DrawControlBox(bitmap, *controlBox, cursor, xl);
    if (xl == 0) xl = 6;
    DrawCaption(bitmap, xl, xb);
}

void TkelTitleBar::DrawControlBox(TBitmap& bitmap, TkelTitleBarButton& box, POINT cursor, int& xl) {
    const int w = box.PicNormal().Width(), h = box.PicNormal().Height();
    const bool hot = PointInRect(cursor, {xl, iconTop_, xl + w, iconTop_ + h});
    if (hot) hotButton_ = box.Index();
    if (drawAppIcon_) {
        if (HICON icon = SmallIcon())
            DrawIconEx(bitmap.Canvas().Handle(), xl + 3, iconTop_, icon, kIconSize, kIconSize, 0,
                       nullptr, DI_NORMAL);
        xl += 21;
    } else {
        bitmap.Canvas().Draw(xl, iconTop_ - 1, PictureFor(box, hot));
        xl += w + 5;
    }
}

HICON TkelTitleBar::SmallIcon() {
    // Made again only when the application's icon changed: copying an icon at a new size is one
    // of the dearest steps of a paint.
    HICON source = Application ? Application->Icon().Handle() : nullptr;
    if (!smallIcon_ || source != smallIconSource_) {
        smallIcon_.reset(SmallApplicationIcon());
        smallIconSource_ = source;
    }
    return smallIcon_.get();
}

std::string TkelTitleBar::CaptionToDraw(TCanvas& canvas, int space) const {
    if (!fittedCaption_.empty()) return fittedCaption_;
    const std::string caption = Caption();
    if (caption.empty() || canvas.TextWidth(caption) <= space) return caption;
    // The longest beginning that still fits with "..." after it, measured in one pass.
    const int room = space - canvas.TextWidth(kEllipsis);
    INT fit = 0;
    SIZE size;
    if (room <= 0 ||
        !GetTextExtentExPointA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()),
                               room, &fit, nullptr, &size))
        fit = 0;
    return caption.substr(0, static_cast<size_t>(std::max(0, fit))) + kEllipsis;
}

void TkelTitleBar::DrawCaption(TBitmap& bitmap, int xl, int xb) {
    TCanvas& canvas = bitmap.Canvas();
    if (!formActive_) canvas.Font().SetColor(inactiveCaptionColor_);
    drawnCaption_ = CaptionToDraw(canvas, xb - xl);
    const std::string& text = drawnCaption_;
    if (text.empty()) return;
    int y;
    if (UsesFileTheme(uiStyle_))
        y = captionTop_ - 3;
    else
        y = buttonTop_ + (uiStyle_ == TkelUIStyle::Protein ? 3 : 0);
    const int x = UseRightToLeftReading() ? xb - canvas.TextWidth(text) - 10 : xl;
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    canvas.TextOut(x, y, text);
}

bool TkelTitleBar::GetTitleGraphic(int index, TGraphic*& graphic) {
    if (index == -1) {
        graphic = &fullTitle_;
        return true;
    }
    if (index == -2) {
        graphic = &composedTitle_;
        return true;
    }
    if (sections_->Count() <= 2 || index < 0 || index >= sections_->Count()) return false;
    graphic = sections_->Items(index).Picture().Graphic();
    return true;
}

bool TkelTitleBar::HasStandardSections() const {
    const int count = sections_->Count();
    return count == 3 || count == 5;
}

} // namespace kel
