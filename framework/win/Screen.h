// The screen: its size, the desktop's, and the cursor table with the screen-wide cursor.
#pragma once

#include <windows.h>

#include <map>

#include "framework/win/Controls.h"

namespace kel {

class TScreen : public TComponent {
    KEL_DECLARE_CLASS(TScreen)
public:
    explicit TScreen(TComponent* owner);
    // The cursor shown for an identifier; unknown identifiers show the default arrow.
    HCURSOR Cursors(TCursor id) const;
    void SetCursors(TCursor id, HCURSOR cursor);
    // The screen cursor overrides every control's cursor while it is not crDefault.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    int DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
    int DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
    int DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
    int DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }

private:
    std::map<TCursor, HCURSOR> cursors_;
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;

// Gives the font the system's menu font (face, height, style, character set) as the system's
// non-client metrics name it; false, the font unchanged, when the system does not say.
bool AssignSystemMenuFont(TFont& font);

} // namespace kel
