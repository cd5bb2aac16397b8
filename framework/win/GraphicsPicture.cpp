// TPicture: a holder of one graphic whose class follows the file extension.
#include "framework/win/Graphics.h"

#include <algorithm>
#include <cctype>

namespace kel {

namespace {

// The extension without its dot, as written in the path ("" when there is none).
std::string ExtensionOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/:");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return "";
    return path.substr(dot + 1);
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void TPicture::Changed() {
    if (OnChange) OnChange();
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    Changed();
}

TBitmap& TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get())) return *bitmap;
    auto bitmap = std::make_unique<TBitmap>();
    TBitmap& result = *bitmap;
    SetGraphic(std::move(bitmap));
    return result;
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    const std::string kind = LowerCase(extension);
    std::unique_ptr<TGraphic> graphic;
    if (kind == "bmp")
        graphic = std::make_unique<TBitmap>();
    else if (kind == "ico")
        graphic = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    graphic->LoadFromFile(path); // a failed load keeps the current graphic
    SetGraphic(std::move(graphic));
}

void TPicture::Assign(const TPicture& source) {
    if (&source == this) return;
    SetGraphic(source.graphic_ ? source.graphic_->Clone() : nullptr);
}

void TPicture::Clear() {
    SetGraphic(nullptr);
}

} // namespace kel
