#include "skin/controls/KELThemesMgr.h"

namespace kel {

// No skin file is held, so no key has a stored value.
TBitmap* TkelFileThemeMgr::GetBitmap(TkelThemeBitmapKey) const {
    return nullptr;
}
int32_t TkelFileThemeMgr::GetColor(TkelThemeColorKey) const {
    return 0;
}
int32_t TkelFileThemeMgr::GetInteger(TkelThemeIntegerKey) const {
    return 0;
}
bool TkelFileThemeMgr::GetBool(TkelThemeBoolKey) const {
    return false;
}

} // namespace kel
