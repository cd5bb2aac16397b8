// UI styles: the five built-in looks and the file-theme look, the built-in theme table with its
// resource bitmaps, the choice of a new control's style, handing a style and a file theme to the
// children of a container, frame cuts of bitmap strips and caption fitting.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "skin/controls/KELThemesTable.h"
#include "skin/themes/KELThemesFrame.h"

#ifdef _WIN32
#include "framework/win/Controls.h"
#include "framework/win/Graphics.h"
#endif

namespace kel {

#ifdef _WIN32
class TkelFileTheme;

struct TResolvedStyle {
    bool UseFileTheme;
    TkelUIStyle Style; // the effective style: FromThemeFile only when the file theme is used
};
// FromThemeFile with a ready file theme uses the theme; without one, DeepBlue; any other style
// its own built-in look.
TResolvedStyle ResolveUIStyle(const TkelFileTheme* theme, TkelUIStyle style);

// The style a new control starts with: that of the first TkelForm among its form's children, else
// DeepBlue (also when the owner is no form).
TkelUIStyle DefaultUIStyleOf(const TComponent* owner);

// Sets "FileTheme", then "UIStyle", through the published properties of every direct child of the
// container that publishes both.
void ApplyThemeToChildren(TWinControl& container, TkelUIStyle style, TkelFileTheme* theme);

bool HasPublishedProp(const TObject& component, const std::string& name);

// Frame k (from 1) of a strip of n frames: nothing with no target; with n = 0 the whole bitmap;
// an entry that is no bitmap leaves the target untouched (n = 0) or empty (n > 0). A missing
// resource raises EResNotFound.
void GetThemeBitmap(TkelUIStyle style, int position, TBitmap* target, int frameIndex,
                    int frameCount);

// The caption shortened with "..." to fit `limit` pixels on the canvas.
std::string FitCaption(TCanvas& canvas, const std::string& text, int limit);
#endif

} // namespace kel
