// POSIX services of the skin file reader for the native build (tests, fuzz targets, tools).
#include "skin/themes/KEL2SkinReader_Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace kel::skinplatform {

std::string TempFolder() {
    const char* configured = std::getenv("TMPDIR");
    std::string folder = configured != nullptr && *configured != '\0' ? configured : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string NewGuidText() {
    std::random_device source;
    uint8_t bytes[16];
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(source());
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4, as CoCreateGuid makes
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
    char text[39];
    std::snprintf(
        text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
        bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
        bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return text;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::FILE* CreateSelfDeletingFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    ::unlink(path.c_str());
    std::FILE* file = ::fdopen(fd, "w+b");
    if (!file) ::close(fd);
    return file;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return false;
    }
    return true;
}

} // namespace kel::skinplatform
