// Win32 services of the skin file reader for the product.
#include "skin/themes/KEL2SkinReader_Platform.h"

#include <windows.h>
#include <objbase.h>

#include "framework/SysUtils.h"
#include "framework/win/SystemLibrary.h"

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

namespace kel::skinplatform {

std::string TempFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    // A longer path does not fit the buffer; guessing another folder would scatter files.
    if (length == 0 || length >= MAX_PATH) throw Exception("The temporary folder is not available");
    std::string folder(buffer, length);
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

std::string NewGuidText() {
    // Loaded on first use: a program that never unpacks a skin file needs no COM library.
    using TCoCreateGuid = HRESULT(WINAPI*)(GUID*);
    static const TCoCreateGuid coCreateGuid =
        SystemFunction<TCoCreateGuid>("ole32.dll", "CoCreateGuid");
    GUID guid{};
    if (!coCreateGuid || FAILED(coCreateGuid(&guid)))
        throw Exception("A unique file name could not be made");
    char text[39];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::FILE* CreateSelfDeletingFile(const std::string& path) {
    // Others may share the file while it exists; it goes when its last handle closes, which the
    // system does for a process that ends in any way.
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "w+b");
    if (!file) _close(fd);
    return file;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() > 0x7FFFFFFF || b.size() > 0x7FFFFFFF) return false;
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace kel::skinplatform
