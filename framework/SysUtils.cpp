#include "framework/SysUtils.h"

#include <cstdint>

namespace kel {

int StrToInt(const std::string& text) {
    const auto fail = [&text]() -> int {
        throw EConvertError("'" + text + "' is not a valid integer value");
    };
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return fail();
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return fail();
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL) return fail();
    }
    if (base == 10) {
        if (negative ? value > 2147483648LL : value > 2147483647LL) return fail();
        return static_cast<int>(negative ? -value : value);
    }
    // Hexadecimal texts name the 32-bit pattern, as the configuration's authors write colours.
    const auto bits = static_cast<uint32_t>(value);
    return static_cast<int>(negative ? 0u - bits : bits);
}

std::string Format(const std::string& pattern, std::initializer_list<TFormatArg> args) {
    std::string result;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            result += pattern[i];
            continue;
        }
        const char kind = pattern[++i];
        if (kind == '%') {
            result += '%';
            continue;
        }
        if ((kind != 'd' && kind != 's') || next == args.end() || next->IsNumber != (kind == 'd'))
            throw EConvertError("Format '" + pattern + "' invalid or incompatible with argument");
        result += next->IsNumber ? std::to_string(next->Number) : next->Text;
        ++next;
    }
    return result;
}

std::string AddBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

std::string ExtractFilePath(const std::string& path) {
    const size_t at = path.find_last_of("\\:");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string ExtractFileName(const std::string& path) {
    return path.substr(ExtractFilePath(path).size());
}

} // namespace kel
