#include "launcher/UtilFuncs.h"

namespace kel {

std::string AddBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

std::string ExtractFilePath(const std::string& path) {
    const size_t at = path.find_last_of("\\:");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

} // namespace kel
