// The skinned menus' settings (construction, the style and the file theme, hooking of items) and
// their one item measurer and painter: side bar, background, highlight, separator, text and
// shortcut, check mark and item image, in either reading order.
#include "skin/frame/KELPopupMenu_Look.h"

#include "framework/win/Application.h"
#include "skin/controls/KELMenu.h"
#include "skin/controls/KELPublic.h"

namespace kel {

template <class Base> TkelMenuLook<Base>::TkelMenuLook(TComponent* owner) : Base(owner) {
    TMenu::SetOwnerDraw(true);
    SetUIStyle(DefaultUIStyleOf(owner));
}

template <class Base> void TkelMenuLook<Base>::SetFileTheme(TkelFileTheme* value) {
    if (fileTheme_ && fileTheme_ != value) this->RemoveFreeNotification(fileTheme_);
    fileTheme_ = value;
    // The theme is not owned: hear of its end so no dangling reference survives.
    if (fileTheme_) this->FreeNotification(fileTheme_);
    ApplyStyle();
}

template <class Base> void TkelMenuLook<Base>::SetUIStyle(TkelUIStyle value) {
    uiStyle_ = value;
    ApplyStyle();
}

template <class Base> void TkelMenuLook<Base>::SetSeparatorHeight(int value) {
    if (uiStyle_ != TkelUIStyle::MacOS) separatorHeight_ = value;
}

template <class Base> void TkelMenuLook<Base>::ApplyStyle() {
    barWidth_ = 26;
    if (uiStyle_ == TkelUIStyle::MacOS) {
        menuItemHeight_ = 20;
        separatorHeight_ = 12;
        separatorColor_ = clBlack;
    } else {
        menuItemHeight_ = 21;
        separatorHeight_ = 5;
        separatorColor_ = 0x848284;
    }
    const TResolvedStyle resolved = ResolveUIStyle(fileTheme_, uiStyle_);
    if (resolved.UseFileTheme) {
        auto color = [this](TkelThemeColorKey key) {
            return static_cast<TColor>(fileTheme_->GetColor(key));
        };
        barColor_ = color(TkelThemeColorKey::LeftBarStartColor);
        barToColor_ = color(TkelThemeColorKey::LeftBarEndColor);
        color_ = color(TkelThemeColorKey::MenuItemColor);
        fontColor_ = color(TkelThemeColorKey::MenuItemFontColor);
        selectedColor_ = color(TkelThemeColorKey::SelectedMenuColor);
        selectedBorderColor_ = color(TkelThemeColorKey::SelectedMenuBorderColor);
        selectedFontColor_ = color(TkelThemeColorKey::SelectedMenuFontColor);
        return;
    }
    const TkelUIStyle style = resolved.Style;
    barColor_ = barToColor_ = GetThemeColor(style, 23);
    color_ = GetThemeColor(style, 21);
    fontColor_ = GetThemeColor(style, 22);
    selectedBorderColor_ = GetThemeColor(style, 18);
    selectedColor_ = GetThemeColor(style, 19);
    selectedFontColor_ = GetThemeColor(style, 20);
}

template <class Base> void TkelMenuLook<Base>::HookItems() {
    TMenuItem& root = this->Items();
    for (int i = 0; i < root.Count(); ++i) Hook(*root.Items(i));
}

template <class Base> void TkelMenuLook<Base>::Hook(TMenuItem& item) {
    HookMenuItems(
        item,
        [this](TMenuItem* item, TCanvas& canvas, int& width, int& height) {
            MeasureItem(item, canvas, width, height);
        },
        [this](TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected) {
            DrawItem(item, canvas, rect, selected);
        });
}

template <class Base> void TkelMenuLook<Base>::MenuChanged(TMenuItem* source, bool rebuilt) {
    // Every item inserted into the tree is drawn by the component from then on.
    if (source && rebuilt) Hook(*source);
    Base::MenuChanged(source, rebuilt);
}

template <class Base>
void TkelMenuLook<Base>::Notification(TComponent* component, TOperation operation) {
    Base::Notification(component, operation);
    if (operation == TOperation::opRemove && component &&
        component == static_cast<TComponent*>(fileTheme_)) {
        fileTheme_ = nullptr;
        SetUIStyle(TkelUIStyle::DeepBlue);
    }
}

// ---- Measuring and painting --------------------------------------------------------------------
namespace {

// Captions are measured and drawn through the wide text API from the item's display caption, so
// that a caption given as UTF-16 shows as written on any code page. Shortcut texts are ASCII.
std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

SIZE TextSize(TCanvas& canvas, const std::wstring& wide) {
    RECT box{0, 0, 0, 0};
    DrawTextW(canvas.Handle(), wide.c_str(), static_cast<int>(wide.size()), &box,
              DT_CALCRECT | DT_SINGLELINE);
    return {box.right - box.left, box.bottom - box.top};
}

void DrawLine(TCanvas& canvas, const std::wstring& wide, RECT box, UINT align) {
    DrawTextW(canvas.Handle(), wide.c_str(), static_cast<int>(wide.size()), &box,
              align | DT_SINGLELINE | DT_VCENTER);
}

} // namespace

template <class Base>
void TkelMenuLook<Base>::MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (!item) return;
    if (item->IsLine()) {
        height = separatorHeight_;
    } else {
        const std::wstring caption = item->Caption().empty() ? L" " : item->DisplayCaption();
        height = std::max(static_cast<int>(TextSize(canvas, caption).cy), menuItemHeight_);
    }
    width = TextSize(canvas, item->DisplayCaption()).cx +
            TextSize(canvas, Wide(ShortCutToText(item->ShortCut()))).cx + barWidth_ + 40;
}

template <class Base> bool TkelMenuLook<Base>::ReadsLeftToRight() const {
    return this->BiDiMode() == TBiDiMode::bdLeftToRight || !SysLocale.MiddleEast;
}

template <class Base> bool TkelMenuLook<Base>::HasValidImage(const TMenuItem& item) const {
    const TImageList* images = ItemImages();
    return item.ImageIndex() != -1 && images && item.ImageIndex() >= 0 &&
           item.ImageIndex() < images->Count();
}

template <class Base>
void TkelMenuLook<Base>::DrawSideBar(TCanvas& canvas, const RECT& rect, bool ltr) {
    if (barWidth_ <= 0) return;
    const RECT bar = ltr ? RECT{rect.left, rect.top, rect.left + barWidth_, rect.bottom}
                         : RECT{rect.right - barWidth_, rect.top, rect.right, rect.bottom};
    if (barToColor_ == barColor_)
        FillRectColor(canvas, bar, barColor_);
    else
        GradientFillHorizontal(canvas, bar, barColor_, barToColor_);
}

template <class Base>
void TkelMenuLook<Base>::DrawBackground(TCanvas& canvas, const RECT& rect, bool line,
                                        bool highlight, bool ltr) {
    const bool mac = uiStyle_ == TkelUIStyle::MacOS;
    if (line && mac) return DrawMacMenuSeparator(canvas, rect);
    if (highlight) {
        if (mac) return DrawMacMenuSelected(canvas, rect);
        FillRectColor(canvas, rect, selectedColor_);
        FrameRectColor(canvas, rect, selectedBorderColor_);
        return;
    }
    if (mac) return DrawMacMenuItem(canvas, rect);
    DrawSideBar(canvas, rect, ltr);
    const RECT rest = ltr ? RECT{rect.left + barWidth_, rect.top, rect.right, rect.bottom}
                          : RECT{rect.left, rect.top, rect.right - barWidth_, rect.bottom};
    FillRectColor(canvas, rest, color_);
    if (!line) return;
    DrawMenuSeparator(canvas, rect, separatorColor_, ltr, barWidth_);
}

template <class Base>
void TkelMenuLook<Base>::SetItemFont(TCanvas& canvas, const TMenuItem& item, bool selected) const {
    TFont& font = canvas.Font();
    if (useSystemFont_) {
        UseSystemMenuFont(font);
    } else {
        font.SetName(fontName_);
        font.SetSize(fontSize_);
        font.SetCharset(static_cast<BYTE>(fontCharset_));
    }
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    font.SetColor(!item.Enabled() ? clGray : selected ? selectedFontColor_ : fontColor_);
    if (item.Default()) font.SetStyle(font.Style() | fsBold);
}

template <class Base>
void TkelMenuLook<Base>::DrawTexts(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool ltr) {
    canvas.Handle(); // the font, brush and colours are selected now
    SetBkMode(canvas.Handle(), TRANSPARENT);
    SetTextColor(canvas.Handle(), ColorToRGB(canvas.Font().Color()));
    if (ltr)
        DrawLine(canvas, item.DisplayCaption(),
                 {rect.left + barWidth_ + 4, rect.top, rect.right, rect.bottom}, DT_LEFT);
    else
        DrawLine(canvas, item.DisplayCaption(),
                 {rect.left + barWidth_, rect.top, rect.right - 4, rect.bottom},
                 DT_RIGHT | DT_RTLREADING);
    const std::string shortCut = ShortCutToText(item.ShortCut());
    if (shortCut.empty()) return;
    const int width = TextSize(canvas, Wide(shortCut)).cx;
    const RECT box = ltr ? RECT{rect.right - width - 16, rect.top, rect.right, rect.bottom}
                         : RECT{rect.left + barWidth_ + 4, rect.top, rect.right, rect.bottom};
    DrawLine(canvas, Wide(shortCut), box, DT_LEFT | DT_NOPREFIX);
}

template <class Base>
void TkelMenuLook<Base>::DrawMarks(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool ltr) {
    const int x = ltr ? rect.left + 4 : rect.right - 20;
    const bool image = HasValidImage(item);
    canvas.Brush().SetStyle(TBrushStyle::Solid); // the text was drawn with a clear brush
    if (item.Checked()) {
        if (image) {
            FrameRectColor(canvas, {x - 2, rect.top + 1, x + 17, rect.top + 20}, clBlack);
            FillRectColor(canvas, {x - 1, rect.top + 2, x + 16, rect.top + 19}, selectedColor_);
        } else {
            CheckMarks().Draw(canvas, x, rect.top + 3, 0, item.Enabled());
        }
    }
    if (image) ItemImages()->Draw(canvas, x, rect.top + 3, item.ImageIndex(), item.Enabled());
}

template <class Base>
void TkelMenuLook<Base>::DrawItem(TMenuItem* item, TCanvas& canvas, const RECT& rect,
                                  bool selected) {
    if (!item) return;
    const bool ltr = ReadsLeftToRight();
    if (flatMenu_) {
        const TResolvedStyle resolved = ResolveUIStyle(fileTheme_, uiStyle_);
        const TColor formColor =
            resolved.UseFileTheme
                ? static_cast<TColor>(fileTheme_->GetColor(TkelThemeColorKey::FormColor))
                : GetThemeColor(resolved.Style, 15);
        DrawMenuOutline(WindowFromDC(canvas.Handle()), clBlack, formColor);
    }
    DrawBackground(canvas, rect, item->IsLine(), selected && item->Enabled() && !item->IsLine(),
                   ltr);
    if (item->IsLine()) return;
    SetItemFont(canvas, *item, selected);
    DrawTexts(*item, canvas, rect, ltr);
    DrawMarks(*item, canvas, rect, ltr);
}

template class TkelMenuLook<TPopupMenu>;
template class TkelMenuLook<TMainMenu>;

} // namespace kel
