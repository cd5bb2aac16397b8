// The gallery's command line: the look to start in, or a folder to render every look into.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "skin/controls/KELThemesTable.h"

namespace kel::gallery {

struct TGalleryArgs {
    std::optional<TkelUIStyle> Style;
    std::string ThemeFile;
    std::string Password;
    std::string ScreenshotFolder; // --screenshots DIR: render every look there, then exit
    std::string Error;            // why the command line was refused; empty when it was not
};

// Reads `gallery.exe [--style NAME] [--theme FILE [--password P]] [--screenshots DIR]`.
TGalleryArgs ParseGalleryArgs(const std::vector<std::string>& args);

// The five built-in styles by the names the gallery shows; nullopt for any other name.
std::optional<TkelUIStyle> StyleByName(const std::string& name);
const char* StyleName(TkelUIStyle style);
extern const TkelUIStyle kBuiltInStyles[5];

} // namespace kel::gallery
