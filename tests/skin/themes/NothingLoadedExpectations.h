// What every lookup of a file theme (or its manager) answers while nothing is loaded. Shared by
// the skin-control and file-theme tests.
#pragma once

#include <gtest/gtest.h>

#include "skin/themes/KELThemeKeys.h"

namespace kel {

// Every lookup of a theme with nothing loaded.
template <class Theme> void ExpectNothingLoaded(const Theme& theme) {
    for (int k = 0; k < kColorKeyCount; ++k)
        EXPECT_EQ(theme.GetColor(static_cast<TkelThemeColorKey>(k)), 0) << "colour key " << k;
    for (int k = 0; k < kBitmapKeyCount; ++k)
        EXPECT_EQ(theme.GetBitmap(static_cast<TkelThemeBitmapKey>(k)), nullptr)
            << "bitmap key " << k;
    for (int k = 0; k < kIntegerKeyCount; ++k)
        EXPECT_EQ(theme.GetInteger(static_cast<TkelThemeIntegerKey>(k)), 0) << "integer key " << k;
    for (int k = 0; k < kBoolKeyCount; ++k)
        EXPECT_FALSE(theme.GetBool(static_cast<TkelThemeBoolKey>(k))) << "boolean key " << k;
}

} // namespace kel
