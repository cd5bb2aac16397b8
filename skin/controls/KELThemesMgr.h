// The file theme's manager: holds what a loaded skin file provides and answers the theme's
// lookups by key. With no skin file loaded every lookup answers "nothing": no bitmap, 0, false.
#pragma once

#include <cstdint>

#include "framework/win/Graphics.h"
#include "skin/themes/KELThemeKeys.h"

namespace kel {

class TkelFileThemeMgr {
public:
    TkelFileThemeMgr() = default;
    TkelFileThemeMgr(const TkelFileThemeMgr&) = delete;
    TkelFileThemeMgr& operator=(const TkelFileThemeMgr&) = delete;

    // The bitmap stored under the key, owned by the manager, or nullptr.
    TBitmap* GetBitmap(TkelThemeBitmapKey key) const;
    int32_t GetColor(TkelThemeColorKey key) const;
    int32_t GetInteger(TkelThemeIntegerKey key) const;
    bool GetBool(TkelThemeBoolKey key) const;
};

} // namespace kel
