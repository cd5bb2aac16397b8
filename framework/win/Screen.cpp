#include "framework/win/Screen.h"

namespace kel {

// ---- TScreen -----------------------------------------------------------------------------------

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo info("TScreen", &TComponent::StaticClassInfo());
    return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

namespace {

// The system cursor behind a standard identifier, or nullptr for any other identifier. Loaded
// when first shown rather than with the screen: each load costs start-up time, and most programs
// show few of them.
LPCSTR SystemCursorName(TCursor id) {
    switch (id) {
    case crArrow:
        return IDC_ARROW;
    case crCross:
        return IDC_CROSS;
    case crIBeam:
        return IDC_IBEAM;
    case crHourGlass:
        return IDC_WAIT;
    case crNo:
        return IDC_NO;
    case crAppStart:
        return IDC_APPSTARTING;
    case crHelp:
        return IDC_HELP;
    case crHandPoint:
        return IDC_HAND;
    default:
        return nullptr;
    }
}

} // namespace

HCURSOR TScreen::Cursors(TCursor id) const {
    const auto it = cursors_.find(id);
    if (it != cursors_.end() && it->second) return it->second;
    if (it == cursors_.end())
        if (const LPCSTR system = SystemCursorName(id))
            if (HCURSOR cursor = LoadCursorA(nullptr, system)) return cursor;
    return LoadCursorA(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor) {
    cursors_[id] = cursor;
}

void TScreen::SetCursor(TCursor value) {
    cursor_ = value;
    if (value != crDefault) {
        ::SetCursor(Cursors(value));
        return;
    }
    // Let the window under the pointer choose its cursor again.
    POINT p;
    GetCursorPos(&p);
    HWND window = WindowFromPoint(p);
    DWORD process = 0;
    if (window) GetWindowThreadProcessId(window, &process);
    if (window && process == GetCurrentProcessId())
        SendMessageA(window, WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    else
        ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

bool AssignSystemMenuFont(TFont& font) {
    // The structure as every system since Windows 2000 knows it (340 bytes), without the padded
    // border width newer systems add.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0)) return false;
    const LOGFONTA& menu = metrics.lfMenuFont;
    font.SetName(menu.lfFaceName);
    font.SetHeight(menu.lfHeight);
    font.SetCharset(menu.lfCharSet);
    font.SetStyle((menu.lfWeight >= FW_BOLD ? fsBold : 0u) | (menu.lfItalic ? fsItalic : 0u) |
                  (menu.lfUnderline ? fsUnderline : 0u) | (menu.lfStrikeOut ? fsStrikeOut : 0u));
    return true;
}

} // namespace kel
