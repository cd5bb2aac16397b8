// Applying a UI style or a file theme to the skinned form (colours, frame sizes, region flags,
// the title bar and menu), and painting its panel.
#include <algorithm>

#include "framework/win/Handles.h"
#include "skin/controls/KELMenu.h"
#include "skin/frame/KELFormHook.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/frame/KELMenuBar.h"
#include "skin/themes/KELMgr.h"

namespace kel {

namespace {

// Built-in style positions the form reads.
constexpr int kRoundCornerPosition = 14, kColorPosition = 15, kBorderColorPosition = 16,
              kBorderWidthPosition = 17;

} // namespace

void TkelForm::SetUIStyle(TkelUIStyle value) {
    uiStyle_ = value;
    ApplyStyle();
}

void TkelForm::SetFileTheme(TkelFileTheme* value) {
    if (fileTheme_ == value) return;
    if (fileTheme_) fileTheme_->RemoveFreeNotification(this);
    fileTheme_ = value;
    if (fileTheme_) fileTheme_->FreeNotification(this);
    ApplyStyle();
}

void TkelForm::ApplyStyle() {
    if (!titleBar_) return;
    if (host_) hostBounds_ = host_->BoundsRect();
    bottomImageWidth_ = -1; // the bottom picture is made again from the new style
    const TResolvedStyle resolved = ResolveUIStyle(fileTheme_, uiStyle_);
    if (resolved.UseFileTheme) {
        ApplyFileThemeLook();
    } else {
        const TkelUIStyle s = resolved.Style;
        titleBar_->SetRoundCornerBottom(0);
        skinLeft_ = skinRight_ = skinBottom_ = 0;
        titleRegion_ = bottomRegion_ = false;
        transparentColor_ = clFuchsia;
        borderColor_ = GetThemeColor(s, kBorderColorPosition);
        borderWidth_ = GetThemeInt(s, kBorderWidthPosition);
        SetColor(GetThemeColor(s, kColorPosition));
        SetMenuBarColor(Color());
        SetMenuBarToColor(Color());
        titleBar_->SetRoundCorner(GetThemeInt(s, kRoundCornerPosition));
    }
    titleBar_->SetFileTheme(fileTheme_);
    titleBar_->SetUIStyle(uiStyle_);
    if (auto* menu = SkinnedMenu()) {
        menu->SetUIStyle(uiStyle_);
        menu->SetFileTheme(fileTheme_);
    }
    if (autoUpdateSub_) ApplyThemeToChildren(*this, uiStyle_, fileTheme_);
    if (!host_ || !host_->HandleAllocated() || !hook_) return;
    if (IsMDIChild())
        host_->SetBounds(hostBounds_.left, hostBounds_.top, hostBounds_.right - hostBounds_.left,
                         hostBounds_.bottom - hostBounds_.top);
    SetWindowPos(host_->Handle(), nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    Invalidate();
    PaintFrame();
    UpdateRegion();
    TSizeConstraints limits = host_->Constraints();
    limits.MinHeight = MenuBarHeight() + titleBar_->Height() + skinBottom_ + 3;
    host_->SetConstraints(limits);
}

void TkelForm::ApplyFileThemeLook() {
    const TkelFileTheme& theme = *fileTheme_;
    auto color = [&theme](TkelThemeColorKey key) {
        return static_cast<TColor>(theme.GetColor(key));
    };
    SetColor(color(TkelThemeColorKey::FormColor));
    SetMenuBarColor(color(TkelThemeColorKey::MenuBarStartColor));
    SetMenuBarToColor(color(TkelThemeColorKey::MenuBarEndColor));
    const TBitmap* left = theme.GetBitmap(TkelThemeBitmapKey::FormLeftBorder);
    const TBitmap* right = theme.GetBitmap(TkelThemeBitmapKey::FormRightBorder);
    const TBitmap* bottom = theme.GetBitmap(TkelThemeBitmapKey::FormBottomBorder1);
    skinLeft_ = left ? left->Width() : 0;
    skinRight_ = right ? right->Width() : 0;
    skinBottom_ = bottom ? bottom->Height() : 0;
    transparentColor_ = color(TkelThemeColorKey::TransColor);
    titleRegion_ = theme.GetBool(TkelThemeBoolKey::TitleBarNeedRegion);
    bottomRegion_ = theme.GetBool(TkelThemeBoolKey::BottomBorderNeedRegion);
    titleBar_->Repaint();
    titleFirstRow_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarRegionMinY);
    titleLastRow_ = theme.GetInteger(TkelThemeIntegerKey::TitleBarRegionMaxY);
    bottomFirstRow_ = theme.GetInteger(TkelThemeIntegerKey::BottomRegionMinY);
    bottomLastRow_ = theme.GetInteger(TkelThemeIntegerKey::BottomRegionMaxY);
}

void TkelForm::EraseBackground(HDC) {}

void TkelForm::Paint() {
    if (closing_) return;
    TCanvas& canvas = Canvas();
    const RECT client = ClientRect();
    const char* pattern = uiStyle_ == TkelUIStyle::MacOS     ? "MACOS_FORM_BACKGROUND"
                          : uiStyle_ == TkelUIStyle::Protein ? "PROTEIN_FORM_BACKGROUND"
                                                             : nullptr;
    if (pattern) {
        // The 8 x 8 picture repeated as a brush pattern, through an off-screen bitmap.
        gdi::UniqueGdi<HBRUSH> brush(CreatePatternBrush(LibraryPicture(pattern).Handle()));
        TBitmap buffer(client.right, client.bottom);
        FillRect(buffer.Canvas().Handle(), &client, brush.get());
        BitBlt(canvas.Handle(), 0, 0, client.right, client.bottom, buffer.Canvas().Handle(), 0, 0,
               SRCCOPY);
    } else {
        FillRectColor(canvas, client, Color());
    }
    PaintFrame();
}

} // namespace kel
