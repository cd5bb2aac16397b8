// The keys a file theme is asked for, and the one table of their names in the skin file.
// Platform-neutral.
#pragma once

namespace kel {

// Ordinals are binding: a key's name is the table entry at its group's base plus its ordinal.
enum class TkelThemeColorKey : int { TransColor = 0, TitleFontColor, FormColor /* ... up to 31 */ };
enum class TkelThemeBitmapKey : int { TitleBar1 = 0 /* ... up to 33; Button = 15 */ };
enum class TkelThemeIntegerKey : int { TitleBarIconPosX = 0 /* ... up to 8 */ };
enum class TkelThemeBoolKey : int { TitleFiveSect = 0 /* ... up to 8 */ };

constexpr int kThemeKeyCount = 84;
constexpr int kColorKeyBase = 0, kBitmapKeyBase = 32, kIntegerKeyBase = 66, kBoolKeyBase = 75;

// The name at a position 0..83 of the theme key name table.
const char* ThemeKeyName(int position);
inline const char* ThemeKeyName(TkelThemeColorKey k) { return ThemeKeyName(kColorKeyBase + static_cast<int>(k)); }
inline const char* ThemeKeyName(TkelThemeBitmapKey k) { return ThemeKeyName(kBitmapKeyBase + static_cast<int>(k)); }
inline const char* ThemeKeyName(TkelThemeIntegerKey k) { return ThemeKeyName(kIntegerKeyBase + static_cast<int>(k)); }
inline const char* ThemeKeyName(TkelThemeBoolKey k) { return ThemeKeyName(kBoolKeyBase + static_cast<int>(k)); }

} // namespace kel
