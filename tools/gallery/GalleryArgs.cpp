#include "tools/gallery/GalleryArgs.h"

namespace kel::gallery {

const TkelUIStyle kBuiltInStyles[5] = {TkelUIStyle::MacOS, TkelUIStyle::WinXP,
                                       TkelUIStyle::DeepBlue, TkelUIStyle::Protein,
                                       TkelUIStyle::BlueGlass};

const char* StyleName(TkelUIStyle style) {
    switch (style) {
    case TkelUIStyle::MacOS:
        return "MacOS";
    case TkelUIStyle::WinXP:
        return "WinXP";
    case TkelUIStyle::DeepBlue:
        return "DeepBlue";
    case TkelUIStyle::Protein:
        return "Protein";
    case TkelUIStyle::BlueGlass:
        return "BlueGlass";
    default:
        return "FromThemeFile";
    }
}

std::optional<TkelUIStyle> StyleByName(const std::string& name) {
    for (TkelUIStyle style : kBuiltInStyles)
        if (name == StyleName(style)) return style;
    return std::nullopt;
}

TGalleryArgs ParseGalleryArgs(const std::vector<std::string>& args) {
    TGalleryArgs result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        if (option != "--style" && option != "--theme" && option != "--password" &&
            option != "--screenshots") {
            result.Error = "Unknown option \"" + option + "\".";
            return result;
        }
        if (!hasValue) {
            result.Error = "The option " + option + " needs a value.";
            return result;
        }
        const std::string& value = args[++i];
        if (option == "--style") {
            result.Style = StyleByName(value);
            if (!result.Style) {
                result.Error = "Unknown style \"" + value +
                               "\": the styles are MacOS, WinXP, DeepBlue, Protein and BlueGlass.";
                return result;
            }
        } else if (option == "--theme") {
            result.ThemeFile = value;
        } else if (option == "--password") {
            result.Password = value;
        } else {
            result.ScreenshotFolder = value;
        }
    }
    if (!result.Password.empty() && result.ThemeFile.empty())
        result.Error = "The option --password needs --theme.";
    return result;
}

} // namespace kel::gallery
