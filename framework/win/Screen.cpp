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

} // namespace kel
