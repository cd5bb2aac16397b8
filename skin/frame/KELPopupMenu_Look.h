// The look the skinned pop-up and main menus share: their published settings, applying a UI style
// or a file theme's colours, and the one item measurer and painter every item of their trees is
// hooked to (items loaded, inserted or added later alike).
#pragma once

#include <string>

#include "framework/win/ImgList.h"
#include "framework/win/Menus.h"
#include "skin/controls/KELThemes.h"
#include "skin/themes/KELMgr.h"

namespace kel {

template <class Base> class TkelMenuLook : public Base, public IkelThemedComponent {
public:
    explicit TkelMenuLook(TComponent* owner);

    // Always drawn by the component: reads true, writing does nothing.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}
    TkelFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TkelFileTheme* value);
    TkelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TkelUIStyle value);
    int MenuItemHeight() const { return menuItemHeight_; }
    virtual void SetMenuItemHeight(int value) { menuItemHeight_ = value; }
    int SeparatorHeight() const { return separatorHeight_; }
    void SetSeparatorHeight(int value);
    int BarWidth() const { return barWidth_; }
    void SetBarWidth(int value) { barWidth_ = value; }
    TColor BarColor() const { return barColor_; }
    void SetBarColor(TColor value) { barColor_ = value; }
    TColor BarToColor() const { return barToColor_; }
    void SetBarToColor(TColor value) { barToColor_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    TColor SeparatorColor() const { return separatorColor_; }
    void SetSeparatorColor(TColor value) { separatorColor_ = value; }
    TColor SelectedBorderColor() const { return selectedBorderColor_; }
    void SetSelectedBorderColor(TColor value) { selectedBorderColor_ = value; }
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor value) { selectedColor_ = value; }
    TColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(TColor value) { selectedFontColor_ = value; }
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value) { fontColor_ = value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value) { borderColor_ = value; }
    bool FlatMenu() const { return flatMenu_; }
    void SetFlatMenu(bool value) { flatMenu_ = value; }
    const std::string& FontName() const { return fontName_; }
    void SetFontName(const std::string& value) { fontName_ = value; }
    int FontSize() const { return fontSize_; }
    void SetFontSize(int value) { fontSize_ = value; }
    int FontCharset() const { return fontCharset_; }
    void SetFontCharset(int value) { fontCharset_ = value; }
    bool UseSystemFont() const { return useSystemFont_; }
    virtual void SetUseSystemFont(bool value) { useSystemFont_ = value; }

    // The shared measurer and painter, as every hooked item calls them.
    void MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void DrawItem(TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected);
    // Hooks every item of the tree to the measurer and painter.
    void HookItems();

protected:
    // The image list whose images items show, and the list holding the check mark.
    virtual TImageList* ItemImages() const = 0;
    virtual TImageList& CheckMarks() = 0;
    void MenuChanged(TMenuItem* source, bool rebuilt) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Hook(TMenuItem& item);
    void ApplyStyle();
    bool ReadsLeftToRight() const;
    bool HasValidImage(const TMenuItem& item) const;
    void SetItemFont(TCanvas& canvas, const TMenuItem& item, bool selected) const;
    void DrawBackground(TCanvas& canvas, const RECT& rect, bool line, bool highlight, bool ltr);
    void DrawSideBar(TCanvas& canvas, const RECT& rect, bool ltr);
    void DrawTexts(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool ltr);
    void DrawMarks(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool ltr);

    TkelFileTheme* fileTheme_ = nullptr;
    TkelUIStyle uiStyle_ = TkelUIStyle::DeepBlue;
    int menuItemHeight_ = 21, separatorHeight_ = 21, barWidth_ = 0;
    TColor barColor_ = clBtnFace, barToColor_ = clBtnFace, color_ = clWhite;
    TColor separatorColor_ = clGray, selectedBorderColor_ = 0xFF000000 | COLOR_HIGHLIGHT;
    TColor selectedColor_ = 0xFF000000 | COLOR_HIGHLIGHT, selectedFontColor_ = clWhite;
    TColor fontColor_ = clWhite, borderColor_ = clBlack;
    bool flatMenu_ = false;
    std::string fontName_ = "MS Sans Serif";
    int fontSize_ = 8, fontCharset_ = DEFAULT_CHARSET;
    bool useSystemFont_ = true;
};

// Registers the shared published settings of a skinned menu class, in their published order.
template <class C> void PublishMenuLook(TPublisher<C>& p) {
    using L = TkelMenuLook<typename C::TLookBase>;
    p.Property("OwnerDraw", &L::OwnerDraw, &L::SetOwnerDraw)
        .Property("FileTheme", &L::FileTheme, &L::SetFileTheme)
        .Property("UIStyle", &L::UIStyle, &L::SetUIStyle)
        .Property("MenuItemHeight", &L::MenuItemHeight, &L::SetMenuItemHeight)
        .Property("SeparatorHeight", &L::SeparatorHeight, &L::SetSeparatorHeight)
        .Property("BarWidth", &L::BarWidth, &L::SetBarWidth)
        .Property("BarColor", &L::BarColor, &L::SetBarColor, "TColor")
        .Property("BarToColor", &L::BarToColor, &L::SetBarToColor, "TColor")
        .Property("Color", &L::Color, &L::SetColor, "TColor")
        .Property("SeparatorColor", &L::SeparatorColor, &L::SetSeparatorColor, "TColor")
        .Property("SelectedBorderColor", &L::SelectedBorderColor, &L::SetSelectedBorderColor,
                  "TColor")
        .Property("SelectedColor", &L::SelectedColor, &L::SetSelectedColor, "TColor")
        .Property("SelectedFontColor", &L::SelectedFontColor, &L::SetSelectedFontColor, "TColor")
        .Property("FontColor", &L::FontColor, &L::SetFontColor, "TColor")
        .Property("BorderColor", &L::BorderColor, &L::SetBorderColor, "TColor")
        .Property("FlatMenu", &L::FlatMenu, &L::SetFlatMenu)
        .Property("FontName", &L::FontName, &L::SetFontName)
        .Property("FontSize", &L::FontSize, &L::SetFontSize)
        .Property("FontCharset", &L::FontCharset, &L::SetFontCharset)
        .Property("UseSystemFont", &L::UseSystemFont, &L::SetUseSystemFont);
}

} // namespace kel
