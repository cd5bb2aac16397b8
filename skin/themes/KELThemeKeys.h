// The keys a file theme is asked for, and the one table of their names in the skin file.
// Platform-neutral.
#pragma once

namespace kel {

// Ordinals are binding: a key's name is the table entry at its group's base plus its ordinal.
enum class TkelThemeColorKey : int {
    TransColor = 0,
    TitleFontColor,
    FormColor,
    MenuBarStartColor,
    MenuBarEndColor,
    TopSelectedMenuColor,
    TopSelectedMenuBorderColor,
    TopSelectedMenuFontColor,
    TopMenuFontColor,
    LeftBarStartColor,
    LeftBarEndColor,
    MenuItemColor,
    MenuItemFontColor,
    SelectedMenuColor,
    SelectedMenuBorderColor,
    SelectedMenuFontColor,
    ToolBarStartColor,
    ToolBarEndColor,
    ToolBarOnColor,
    ToolBarBorderColor,
    ToolBarDownColor,
    ControlColor,
    ControlBorderColor,
    ControlFontColor,
    ButtonFontColor,
    ScrollBarColor,
    TabControlColor,
    TabControlBorderColor,
    TabControlActiveFontColor,
    TabControlInactiveFontColor,
    SideChannelColor,
    SideChannelBorderColor // 31
};

enum class TkelThemeBitmapKey : int {
    TitleBar1 = 0,
    TitleBar2,
    TitleBar3,
    TitleBar4,
    TitleBar5,
    FormLeftBorder,
    FormRightBorder,
    FormBottomBorder1,
    FormBottomBorder2,
    FormBottomBorder3,
    MinimizedTitle,
    TitleButtons,
    CheckedMenuIcon,
    MenuBar,
    ToolBar,
    Button, // 15
    CheckBox,
    CheckBoxList,
    RadioButton,
    ProgressBar1,
    ProgressBar2,
    ProgressBar3,
    ProgressBar4,
    TrackBar,
    TrackBarSlider,
    TrackBarVSlider,
    ScrollBarUpButton,
    ScrollBar,
    ScrollBarDownButton,
    TabControl,
    TabControlLine,
    SideChannelBar,
    SideChannelTitle,
    ScrollButton // 33
};

enum class TkelThemeIntegerKey : int {
    TitleBarIconPosX = 0,
    TitleBarIconPosY,
    TitleBarCaptionTop,
    TitleBarButtonPosX,
    TitleBarButtonPosY,
    TitleBarRegionMinY,
    TitleBarRegionMaxY,
    BottomRegionMinY,
    BottomRegionMaxY // 8
};

enum class TkelThemeBoolKey : int {
    TitleFiveSect = 0,
    BottomBorderThreeSect,
    TitleBarNeedRegion,
    BottomBorderNeedRegion,
    TitleBtnTrans,
    ButtonTrans,
    CheckBoxTrans,
    RadioButtonTrans,
    TabControlTrans // 8
};

constexpr int kThemeKeyCount = 84;
constexpr int kColorKeyBase = 0, kBitmapKeyBase = 32, kIntegerKeyBase = 66, kBoolKeyBase = 75;
constexpr int kColorKeyCount = 32, kBitmapKeyCount = 34, kIntegerKeyCount = 9, kBoolKeyCount = 9;

// The name at a position 0..83 of the theme key name table; "" for any other position, so a
// key outside its enumeration names nothing a skin file can hold.
const char* ThemeKeyName(int position);
inline const char* ThemeKeyName(TkelThemeColorKey k) {
    const int ordinal = static_cast<int>(k);
    return ordinal >= 0 && ordinal < kColorKeyCount ? ThemeKeyName(kColorKeyBase + ordinal) : "";
}
inline const char* ThemeKeyName(TkelThemeBitmapKey k) {
    const int ordinal = static_cast<int>(k);
    return ordinal >= 0 && ordinal < kBitmapKeyCount ? ThemeKeyName(kBitmapKeyBase + ordinal) : "";
}
inline const char* ThemeKeyName(TkelThemeIntegerKey k) {
    const int ordinal = static_cast<int>(k);
    return ordinal >= 0 && ordinal < kIntegerKeyCount ? ThemeKeyName(kIntegerKeyBase + ordinal)
                                                      : "";
}
inline const char* ThemeKeyName(TkelThemeBoolKey k) {
    const int ordinal = static_cast<int>(k);
    return ordinal >= 0 && ordinal < kBoolKeyCount ? ThemeKeyName(kBoolKeyBase + ordinal) : "";
}

} // namespace kel
