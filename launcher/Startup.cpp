#include "launcher/Startup.h"

#include <windows.h>

#include "framework/win/Forms.h"
#include "launcher/UtilFuncs.h"

namespace kel {

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
