#include "framework/win/Graphics.h"

namespace kel {

std::string SysErrorMessage(DWORD error) {
    char buffer[1024];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, buffer, sizeof(buffer), nullptr);
    std::string text(buffer, length);
    // Messages end the text with their own full stop, so the system's is dropped.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

} // namespace kel
