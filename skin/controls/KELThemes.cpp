#include "skin/controls/KELThemes.h"

#include <algorithm>
#include <cstring>

#include "framework/win/Forms.h"
#include "skin/themes/KELMgr.h"

namespace kel {

bool IsClassNamed(const TObject& object, const char* className) {
    for (const TClassInfo* c = &object.ClassInfo(); c; c = c->Parent())
        if (std::strcmp(c->Name(), className) == 0) return true;
    return false;
}

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
        if (IsClassNamed(*child, "TkelForm"))
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

void ExtractFrame(const TBitmap& source, TBitmap& target, int frameCount, int frameIndex) {
    const TFrameSpan span = FrameSpan(source.Width(), frameCount, frameIndex);
    const int width = span.Right - span.Left, height = source.Height();
    // Cut into a separate bitmap first, so that source and target may be the same bitmap.
    TBitmap frame;
    frame.SetSize(width, height);
    if (width > 0 && height > 0) {
        // Columns of the span that lie outside the strip (an index outside 1..count) stay black.
        const int from = std::max(span.Left, 0), to = std::min(span.Right, source.Width());
        for (int y = 0; y < height; ++y) {
            uint32_t* row = frame.ScanLine(y);
            std::memset(row, 0, static_cast<size_t>(width) * sizeof(uint32_t));
            if (from < to)
                std::memcpy(row + (from - span.Left), source.ScanLine(y) + from,
                            static_cast<size_t>(to - from) * sizeof(uint32_t));
        }
    }
    target.SetSize(width, height);
    for (int y = 0; y < height && width > 0; ++y)
        std::memcpy(target.ScanLine(y), frame.ScanLine(y),
                    static_cast<size_t>(width) * sizeof(uint32_t));
}

std::string FitCaption(TCanvas& canvas, const std::string& text, int limit) {
    return FitCaptionBy(text, limit,
                        [&canvas](const std::string& s) { return canvas.TextWidth(s); });
}

} // namespace kel
