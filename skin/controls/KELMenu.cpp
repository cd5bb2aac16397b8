#include "skin/controls/KELMenu.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "framework/win/Handles.h"
#include "framework/win/Screen.h"

namespace kel {

void HookMenuItems(TMenuItem& item, const TMenuMeasureEvent& measure, const TMenuDrawEvent& draw) {
    item.OnMeasureItem = measure;
    item.OnDrawItem = draw;
    for (int i = 0; i < item.Count(); ++i) HookMenuItems(*item.Items(i), measure, draw);
}

void FrameRectColor(TCanvas& canvas, const RECT& rect, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FrameRect(rect);
}

void FillRectColor(TCanvas& canvas, const RECT& rect, TColor color) {
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
}

void DrawMenuSeparator(TCanvas& canvas, const RECT& rect, TColor color, bool leftToRight,
                       int barWidth) {
    canvas.Pen().SetColor(color);
    const int y = rect.top + 2;
    if (leftToRight) {
        canvas.MoveTo(rect.left + barWidth + 4, y);
        canvas.LineTo(rect.right - 2, y);
    } else {
        canvas.MoveTo(rect.left + 2, y);
        canvas.LineTo(rect.right - barWidth - 4, y);
    }
}

TBitmap& LibraryPicture(const char* name) {
    static std::map<std::string, std::unique_ptr<TBitmap>> pictures;
    std::unique_ptr<TBitmap>& picture = pictures[name];
    if (!picture) {
        auto loaded = std::make_unique<TBitmap>();
        loaded->LoadFromResourceName(GetModuleHandleA(nullptr), name);
        picture = std::move(loaded);
    }
    return *picture;
}

namespace {

// A library picture, its top `rows` rows kept (all of them for 0), stretched over the rectangle.
void DrawMacPicture(TCanvas& canvas, const RECT& rect, const char* name, int rows) {
    TBitmap& picture = LibraryPicture(name);
    const int height = rows > 0 ? std::min(rows, picture.Height()) : picture.Height();
    canvas.CopyRect(rect, picture.Canvas(), {0, 0, picture.Width(), height});
}

} // namespace

void DrawMacMenuBar(TCanvas& canvas, const RECT& rect) {
    DrawMacPicture(canvas, rect, "MACOS_MENU_BAR", 0);
}

void DrawMacMenuBarSelection(TCanvas& canvas, const RECT& rect) {
    DrawMacPicture(canvas, rect, "MACOS_MENU_SELECT", 0);
}

void DrawMacMenuSeparator(TCanvas& canvas, const RECT& rect) {
    DrawMacPicture(canvas, rect, "MACOS_MENU_BAR", 12);
}

void DrawMacMenuItem(TCanvas& canvas, const RECT& rect) {
    DrawMacPicture(canvas, rect, "MACOS_MENU_BAR", 20);
}

void DrawMacMenuSelected(TCanvas& canvas, const RECT& rect) {
    DrawMacPicture(canvas, rect, "MACOS_MENU_SELECT", 20);
}

void DrawMenuOutline(HWND window, TColor outer, TColor line) {
    if (!window) return;
    // The whole window, border included, in window coordinates.
    const gdi::WindowDc dc(window, true);
    if (!dc.Get()) return;
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    FrameRectColor(canvas, {r.left, r.top + 1, r.right - 1, r.bottom - 1}, outer);
    FrameRectColor(canvas, {r.left + 1, r.top + 2, r.right - 2, r.bottom - 2}, clWhite);
    canvas.Pen().SetColor(line);
    canvas.MoveTo(r.left, r.bottom - 1);
    canvas.LineTo(r.right - 1, r.bottom - 1);
    canvas.LineTo(r.right - 1, r.top);
    canvas.LineTo(r.right, r.top);
    canvas.LineTo(r.left, r.top);
    canvas.SetHandle(nullptr);
}

void UseSystemMenuFont(TFont& font) {
    if (AssignSystemMenuFont(font)) font.SetColor(0xFF000000 | COLOR_MENUTEXT);
}

} // namespace kel
