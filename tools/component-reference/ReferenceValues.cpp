#include "tools/component-reference/ReferenceValues.h"

#include <cstdio>
#include <utility>

#include "framework/Collections.h"
#include "framework/win/Graphics.h"
#include "framework/win/Menus.h"

namespace kel {

namespace {

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string ColourName(TColor colour) {
    static const std::pair<TColor, const char*> names[] = {
        {clBlack, "clBlack"},
        {clWhite, "clWhite"},
        {clFuchsia, "clFuchsia"},
        {clBlue, "clBlue"},
        {clRed, "clRed"},
        {clGray, "clGray"},
        {clNone, "clNone"},
        {clBtnFace, "clBtnFace"},
        {clWindowText, "clWindowText"},
        {clWindow, "clWindow"},
        {clBtnHighlight, "clBtnHighlight"},
        {clBtnShadow, "clBtnShadow"},
        {0xFF000000 | COLOR_HIGHLIGHT, "clHighlight"},
        {0xFF000000 | COLOR_INACTIVECAPTION, "clInactiveCaption"}};
    for (const auto& [value, name] : names)
        if (value == colour) return name;
    return Hex(colour);
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '|' || c == '\\' || c == '`') out += '\\';
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

std::string DescribeInteger(const TPropInfo& prop, int64_t value) {
    if (!prop.ValueNames.empty() && value >= 0 &&
        value < static_cast<int64_t>(prop.ValueNames.size()))
        return prop.ValueNames[static_cast<size_t>(value)];
    const std::string type = prop.TypeName();
    if (type == "TColor") return ColourName(static_cast<TColor>(value));
    if (type == "TShortCut") {
        const std::string text = ShortCutToText(static_cast<TShortCut>(value));
        return text.empty() ? "none" : text;
    }
    return std::to_string(value);
}

} // namespace

std::string DescribeValue(const TPropInfo& prop, const TPropValue& value) {
    switch (prop.Kind) {
    case TPropKind::Integer:
        return DescribeInteger(prop, std::get<int64_t>(value));
    case TPropKind::Boolean:
        return std::get<bool>(value) ? "True" : "False";
    case TPropKind::String:
        return "\"" + Escaped(std::get<std::string>(value)) + "\"";
    case TPropKind::Component: {
        const TComponent* component = std::get<TComponent*>(value);
        return component ? std::string("a ") + component->ClassName() : "none";
    }
    case TPropKind::Collection: {
        const TCollection* collection = std::get<TCollection*>(value);
        if (!collection) return "none";
        const int count = collection->Count();
        return std::to_string(count) + (count == 1 ? " item" : " items");
    }
    }
    return "";
}

} // namespace kel
