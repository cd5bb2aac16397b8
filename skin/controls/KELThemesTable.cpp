#include "skin/controls/KELThemesTable.h"

#include <algorithm>
#include <iterator>

namespace kel {

namespace {

constexpr int kStyleCount = 5;
constexpr int kPositionCount = 48;

struct TTableRow {
    TThemeKind Kind;
    int32_t Values[kStyleCount];    // MacOS, WinXP, DeepBlue, Protein, BlueGlass
    const char* Names[kStyleCount]; // bitmap rows only
};

// The resource names of one element in every built-in look, in column order.
#define KEL_STYLE_BITMAPS(element)                                                                 \
    {                                                                                              \
        "MACOS_" element, "WINXP_" element, "DEEPBLUE_" element, "PROTEIN_" element,               \
            "BLUEGLASS_" element                                                                   \
    }

constexpr TThemeKind I = TThemeKind::Integer, C = TThemeKind::Color, B = TThemeKind::Bitmap,
                     L = TThemeKind::Boolean;

// Positions 1..48. Rows that no control of the product reads keep their kind and value 0.
constexpr TTableRow kThemeTable[] = {
    /*  1 */ {B, {}, KEL_STYLE_BITMAPS("BUTTON")},
    /*  2 */ {L, {}, {}},
    /*  3 */ {B, {}, KEL_STYLE_BITMAPS("CHECKBOX")},
    /*  4 */ {B, {}, KEL_STYLE_BITMAPS("RADIOBUTTON")},
    /*  5 */ {B, {}, KEL_STYLE_BITMAPS("TITLEBTN")},
    /*  6 */ {L, {0, 0, 0, 1, 1}, {}},
    /*  7 */ {I, {3, 2, 0, 0, 4}, {}},
    /*  8 */ {I, {-2, -2, 0, 0, -3}, {}},
    /*  9 */ {I, {4, 5, 2, 2, 6}, {}},
    /* 10 */ {B, {}, KEL_STYLE_BITMAPS("TITLE_LEFT")},
    /* 11 */ {B, {}, KEL_STYLE_BITMAPS("TITLE_CLIENT")},
    /* 12 */ {B, {}, KEL_STYLE_BITMAPS("TITLE_RIGHT")},
    /* 13 */ {I, {130, 150, 130, 130, 270}, {}},
    /* 14 */ {I, {0, 13, 0, 0, 11}, {}},
    /* 15 */ {C, {0x00E7E7E7, 0x00DEEBEF, 0x00E8E8E8, 0x00FBFBFB, 0x00E7E7E7}, {}},
    /* 16 */ {C, {0x007F7F7F, 0x00C82C00, 0x00000000, 0x00000000, 0x00000000}, {}},
    /* 17 */ {I, {1, 3, 1, 1, 1}, {}},
    /* 18 */ {C, {0x00C47339, 0x00C66931, 0x00A04A44, 0x00C4302D, 0x00EC5E5E}, {}},
    /* 19 */ {C, {0x00C47339, 0x00EFD3C6, 0x00A04A44, 0x00C4302D, 0x00EC5E5E}, {}},
    /* 20 */ {C, {0x00FFFFFF, 0x00000000, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}, {}},
    /* 21 */ {C, {0x00000000, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00E7E7E7}, {}},
    /* 22 */ {C, {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}, {}},
    /* 23 */ {C, {0x00000000, 0x00CED3D6, 0x00CED3D6, 0x00CED3D6, 0x00CED3D6}, {}},
    /* 24 */ {B, {}, KEL_STYLE_BITMAPS("PROGRESSBAR")},
    /* 25 */ {C, {}, {}},
    /* 26 */ {C, {}, {}},
    /* 27 */ {C, {}, {}},
    /* 28 */ {B, {}, KEL_STYLE_BITMAPS("TRACKBAR_BAR")},
    /* 29 */ {B, {}, KEL_STYLE_BITMAPS("TRACKBAR_SLIDER")},
    /* 30 */ {B, {}, KEL_STYLE_BITMAPS("TRACKBAR_SLIDER_V")},
    /* 31 */ {C, {}, {}},
    /* 32 */ {B, {}, KEL_STYLE_BITMAPS("SCROLLBAR_BUTTON")},
    /* 33 */ {B, {}, KEL_STYLE_BITMAPS("SCROLLBAR_TRACK")},
    /* 34 */ {B, {}, KEL_STYLE_BITMAPS("CHECKLIST")},
    /* 35 */ {C, {}, {}},
    /* 36 */ {C, {}, {}},
    /* 37 */ {C, {}, {}},
    /* 38 */
    {B,
     {},
     {"MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON",
      "MORE_SCROLLBUTTON"}},
    /* 39 */ {B, {}, KEL_STYLE_BITMAPS("TAB")},
    /* 40 */ {B, {}, KEL_STYLE_BITMAPS("TAB_LINE")},
    /* 41 */ {B, {}, KEL_STYLE_BITMAPS("SIDECHENNEL_HANDLE")},
    /* 42 */ {B, {}, KEL_STYLE_BITMAPS("SIDECHENNEL_BAR")},
    /* 43 */ {B, {}, {"", "", "", "", ""}},
    /* 44 */ {C, {}, {}},
    /* 45 */ {B, {}, {"", "", "", "", ""}},
    /* 46 */ {B, {}, {"", "", "", "", ""}},
    /* 47 */ {I, {}, {}},
    /* 48 */ {C, {}, {}},
};
static_assert(std::size(kThemeTable) == kPositionCount, "one row per position");

#undef KEL_STYLE_BITMAPS

} // namespace

TThemeEntry GetThemeEntry(TkelUIStyle style, int position) {
    const int column = static_cast<uint8_t>(style) & 0x7F;
    // Positions are the callers' constants; one outside the table answers like a style without
    // a table, so a wrong number can never read beyond it.
    if (column < 1 || column > kStyleCount || position < 1 || position > kPositionCount)
        return {TThemeKind::Integer, -1, ""};
    const TTableRow& row = kThemeTable[position - 1];
    const char* name = row.Kind == TThemeKind::Bitmap ? row.Names[column - 1] : "";
    return {row.Kind, row.Values[column - 1], name ? name : ""};
}

uint32_t GetThemeColor(TkelUIStyle style, int position) {
    const TThemeEntry e = GetThemeEntry(style, position);
    return e.Kind == TThemeKind::Color ? static_cast<uint32_t>(e.Value) : 0;
}

int32_t GetThemeInt(TkelUIStyle style, int position) {
    const TThemeEntry e = GetThemeEntry(style, position);
    return e.Kind == TThemeKind::Integer ? e.Value : -1;
}

bool GetThemeBool(TkelUIStyle style, int position) {
    const TThemeEntry e = GetThemeEntry(style, position);
    return e.Kind == TThemeKind::Boolean && e.Value != 0;
}

std::string FitCaptionBy(const std::string& text, int limit,
                         const std::function<int(const std::string&)>& widthOf) {
    if (widthOf(text) <= limit) return text;
    for (size_t i = 1; i < text.size(); ++i) {
        std::string candidate = text.substr(0, i) + "...";
        if (widthOf(candidate) >= limit) return candidate;
    }
    return text;
}

} // namespace kel
