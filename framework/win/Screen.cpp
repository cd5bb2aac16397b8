#include "framework/win/Screen.h"

namespace kel {

// ---- TScreen -----------------------------------------------------------------------------------

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo info("TScreen", &TComponent::StaticClassInfo());
    return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    const struct {
        TCursor id;
        LPCSTR system;
    } standard[] = {{crArrow, IDC_ARROW},    {crCross, IDC_CROSS},   {crIBeam, IDC_IBEAM},
                    {crHourGlass, IDC_WAIT}, {crNo, IDC_NO},         {crAppStart, IDC_APPSTARTING},
                    {crHelp, IDC_HELP},      {crHandPoint, IDC_HAND}};
    for (const auto& s : standard) cursors_[s.id] = LoadCursorA(nullptr, s.system);
}

HCURSOR TScreen::Cursors(TCursor id) const {
    const auto it = cursors_.find(id);
    if (it != cursors_.end() && it->second) return it->second;
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
