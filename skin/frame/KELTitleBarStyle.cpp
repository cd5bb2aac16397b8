// Applying a UI style or a file theme to the title bar: its sections, offsets, button pictures,
// caption colour and height, and the smallest size of its form.
#include <algorithm>
#include <memory>

#include "framework/win/Forms.h"
#include "skin/frame/KELTitleBar.h"
#include "skin/frame/KELTitleBarTable.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

using namespace titlebar;

// A bar on a skinned form starts 3 pixels below the window's top, where the form's frame lies.
constexpr int kFrameOverlap = 3;

void AddSection(TkelTitleBarSections& sections, const TBitmap* picture, bool autoSize,
                TkelTitleBarAlign align, bool capSec = false) {
    TkelTitleBarSection& section = sections.Add();
    TPicture source;
    if (picture) source.Bitmap().Assign(*picture);
    section.SetPicture(source);
    if (autoSize) section.SetAutoSize(true);
    if (align != TkelTitleBarAlign::kelLeft) section.SetAlign(align);
    if (capSec) section.SetCapSec(true);
}

} // namespace

bool TkelTitleBar::UsesFileTheme(TkelUIStyle style) const {
    return ResolveUIStyle(fileTheme_, style).UseFileTheme;
}

void TkelTitleBar::SetUIStyle(TkelUIStyle value) {
    uiStyle_ = value;
    ApplyStyle();
}

void TkelTitleBar::SetFileTheme(TkelFileTheme* value) {
    if (fileTheme_ != value) {
        if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
        fileTheme_ = value;
        if (fileTheme_) fileTheme_->FreeNotification(this);
    }
    assigningFileTheme_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{assigningFileTheme_};
    ApplyStyle();
}

void TkelTitleBar::ApplyStyle() {
    if (custom_) return;
    const TResolvedStyle resolved = ResolveUIStyle(fileTheme_, uiStyle_);
    sections_->BeginUpdate();
    sections_->Clear();
    if (resolved.UseFileTheme)
        ApplyFileThemeLook();
    else
        ApplyBuiltInLook(resolved.Style);
    sections_->EndUpdate();

    for (int i = 0; i < buttons_->Count(); ++i) buttons_->Items(i).SetUIStyle(resolved.Style);
    systemMenu_->SetUIStyle(resolved.Style);
    systemMenu_->SetFileTheme(fileTheme_);

    if (!assigningFileTheme_) {
        TColor color = clWhite;
        if (uiStyle_ == TkelUIStyle::MacOS)
            color = clBlack;
        else if (resolved.UseFileTheme)
            color = static_cast<TColor>(fileTheme_->GetColor(TkelThemeColorKey::TitleFontColor));
        Font().SetColor(color);
    }
    SetAutoSize(true);
    Invalidate();
}

void TkelTitleBar::ApplyFileThemeLook() {
    const TkelFileTheme& theme = *fileTheme_;
    auto bitmap = [&theme](int n) { return theme.GetBitmap(static_cast<TkelThemeBitmapKey>(n)); };
    auto width = [&bitmap](int n) { return bitmap(n) ? bitmap(n)->Width() : 0; };
    using A = TkelTitleBarAlign;

    fivePart_ = theme.GetBool(TkelThemeBoolKey::TitleFiveSect);
    transparentColor_ = static_cast<TColor>(theme.GetColor(TkelThemeColorKey::TransColor));
    AddSection(*sections_, bitmap(0), true, A::kelLeft);
    AddSection(*sections_, bitmap(1), false, fivePart_ ? A::kelLeft : A::kelClient, fivePart_);
    AddSection(*sections_, bitmap(2), true, fivePart_ ? A::kelLeft : A::kelRight);
    if (fivePart_) {
        AddSection(*sections_, bitmap(3), false, A::kelClient);
        AddSection(*sections_, bitmap(4), true, A::kelRight);
    }

    leftBtnXOffset_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarIconPosX);
    rightBtnXOffset_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarButtonPosX);
    const TBitmap* strip = theme.GetBitmap(TkelThemeBitmapKey::TitleButtons);
    stripHeight_ = strip ? strip->Height() : 0;
    const int overlap = Framed() ? kFrameOverlap : 0;
    buttonTop_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarButtonPosY) - overlap;
    iconTop_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarIconPosY) - overlap;
    captionTop_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarCaptionTop);
    titleBackColor_ = static_cast<TColor>(theme.GetColor(TkelThemeColorKey::FormColor));

    // The form must stay wide enough for the fixed pictures and the buttons.
    const int buttonsWidth =
        (strip ? strip->Width() / kStripFrames : 0) * buttons_->Count() + rightBtnXOffset_;
    auto rightPart = [&](int n) { return std::max(width(n), buttonsWidth); };
    SetFormMinimumSize(
        fivePart_ ? width(0) + width(2) + rightPart(4) + 16 : width(0) + rightPart(2), -1);
}

void TkelTitleBar::ApplyBuiltInLook(TkelUIStyle style) {
    auto picture = [style](int position) {
        auto bitmap = std::make_unique<TBitmap>();
        GetThemeBitmap(style, position, bitmap.get(), 0, 0);
        return bitmap;
    };
    using A = TkelTitleBarAlign;
    AddSection(*sections_, picture(kLeftPicturePosition).get(), true, A::kelLeft);
    AddSection(*sections_, picture(kRightPicturePosition).get(), true, A::kelRight);
    AddSection(*sections_, picture(kClientPicturePosition).get(), false, A::kelClient);

    fivePart_ = false;
    leftBtnXOffset_ = GetThemeInt(style, kLeftOffsetPosition);
    rightBtnXOffset_ = GetThemeInt(style, kRightOffsetPosition);
    stripHeight_ = picture(kStripPosition)->Height();
    buttonTop_ = GetThemeInt(style, kButtonTopPosition) - (Framed() ? kFrameOverlap : 0);
    iconTop_ = buttonTop_;
    SetFormMinimumSize(GetThemeInt(style, kMinWidthPosition), 50);
    roundCorner_ = GetThemeInt(style, kRoundCornerPosition);
    roundCornerBottom_ = 0;
}

void TkelTitleBar::SetFormMinimumSize(int width, int height) {
    TCustomForm* form = ParentForm();
    if (!form) return;
    TSizeConstraints limits = form->Constraints();
    limits.MinWidth = std::max(0, width);
    if (height >= 0) limits.MinHeight = height;
    form->SetConstraints(limits);
}

void TkelTitleBar::SetAutoSize(bool value) {
    autoSize_ = value;
    if (sections_->Count() == 0) {
        autoSize_ = false;
        return;
    }
    const int height = sections_->Items(0).Picture().Height() - (Framed() ? kFrameOverlap : 0);
    SetHeight(std::max(0, height));
}

} // namespace kel
