#include "skin/controls/KELThemes.h"

#include <algorithm>

#include "framework/win/Forms.h"
#include "skin/themes/KELMgr.h"

namespace kel {

TResolvedStyle ResolveUIStyle(const TkelFileTheme* theme, TkelUIStyle style) {
    if (style != TkelUIStyle::FromThemeFile) return {false, style};
    if (theme && theme->Ready()) return {true, TkelUIStyle::FromThemeFile};
    return {false, TkelUIStyle::DeepBlue};
}

TkelUIStyle DefaultUIStyleOf(const TComponent* owner) {
    const auto* form = dynamic_cast<const TCustomForm*>(owner);
    if (!form) return TkelUIStyle::DeepBlue;
    for (int i = 0; i < form->ControlCount(); ++i) {
        const TControl* child = form->Controls(i);
        if (dynamic_cast<const IkelSkinnedForm*>(child))
            return static_cast<TkelUIStyle>(GetOrdProp(*child, "UIStyle"));
    }
    return TkelUIStyle::DeepBlue;
}

void ApplyThemeToChildren(TWinControl& container, TkelUIStyle style, TkelFileTheme* theme) {
    // By index, re-reading the count: a child's setter may not be relied on to leave the list
    // alone.
    for (int i = 0; i < container.ControlCount(); ++i) {
        TControl* child = container.Controls(i);
        if (!HasPublishedProp(*child, "FileTheme") || !HasPublishedProp(*child, "UIStyle"))
            continue;
        SetObjectProp(*child, "FileTheme", theme);
        SetOrdProp(*child, "UIStyle", static_cast<int64_t>(style));
    }
}

bool HasPublishedProp(const TObject& component, const std::string& name) {
    return IsPublishedProp(component, name);
}

void GetThemeBitmap(TkelUIStyle style, int position, TBitmap* target, int frameIndex,
                    int frameCount) {
    if (!target) return;
    const TThemeEntry entry = GetThemeEntry(style, position);
    const bool isBitmap = entry.Kind == TThemeKind::Bitmap;
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (frameCount <= 0) {
        if (isBitmap) target->LoadFromResourceName(module, entry.BitmapName);
        return;
    }
    TBitmap strip;
    if (isBitmap) strip.LoadFromResourceName(module, entry.BitmapName);
    ExtractFrame(strip, *target, frameCount, frameIndex);
}

std::string FitCaption(TCanvas& canvas, const std::string& text, int limit) {
    return FitCaptionBy(text, limit,
                        [&canvas](const std::string& s) { return canvas.TextWidth(s); });
}

} // namespace kel
