// The built-in theme table and the pure geometry of the UI styles. Platform-neutral.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Classes.h"

namespace kel {

enum class TkelUIStyle : uint8_t {
    FromThemeFile = 0,
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,
    Protein = 4,
    BlueGlass = 5
};
KEL_ENUM_NAMES(TkelUIStyle, "FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass")

enum class TThemeKind : uint8_t { Integer = 0, Color = 1, Bitmap = 2, Boolean = 3 };

struct TThemeEntry {
    TThemeKind Kind;
    int32_t Value;          // number, colour or Boolean (0/1)
    const char* BitmapName; // resource name for bitmap entries ("" when the table names none)
};

// Position 1..48 of the table for a style, taken from its low 7 bits; a style outside 1..5, or a
// position outside 1..48, gives (Integer, -1).
TThemeEntry GetThemeEntry(TkelUIStyle style, int position);
uint32_t GetThemeColor(TkelUIStyle style, int position); // 0 unless the kind is colour
int32_t GetThemeInt(TkelUIStyle style, int position);    // -1 unless the kind is integer
bool GetThemeBool(TkelUIStyle style, int position);      // false unless the kind is Boolean

// FitCaption over any width measure: the whole text when it fits, else the first candidate
// "first i characters + ..." whose width reaches the limit, else the whole text.
std::string FitCaptionBy(const std::string& text, int limit,
                         const std::function<int(const std::string&)>& widthOf);

} // namespace kel
