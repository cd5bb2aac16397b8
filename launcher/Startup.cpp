#include "launcher/Startup.h"

#include <windows.h>

#include "framework/win/Forms.h"
#include "framework/win/SystemLibrary.h"
#include "launcher/UtilFuncs.h"

namespace kel {

void DisableInputMethod() {
    // The input method library comes with the window system's own, so this loads nothing new.
    using TImmDisableIME = BOOL(WINAPI*)(DWORD);
    if (const auto disable = SystemFunction<TImmDisableIME>("imm32.dll", "ImmDisableIME"))
        disable(static_cast<DWORD>(-1)); // every thread of the process
}

void MapHandPointCursor() {
    Screen->SetCursors(crHandPoint, LoadCursorA(nullptr, IDC_HAND));
}

void ApplyProductTitle() {
    Application->SetTitle(ReadConfigValue("Name", ""));
}

const TProduct* ApplyProductIcon() {
    // The title is read back from the application's window, so a long name arrives cut.
    const TProduct* product = FindProduct(Application->Title());
    if (product)
        Application->SetIcon(LoadIconA(GetModuleHandleA(nullptr), product->IconGroup), false);
    return product;
}

} // namespace kel
