#include "framework/win/GraphicsSupport.h"

#include "framework/BmpCodec.h"
#include "framework/win/Graphics.h"

namespace kel {
namespace gdi {

UniqueGdi<HBITMAP> CreateDib32(int width, int height, uint32_t** bits) {
    // Refused before GDI is asked, so a hostile size never reaches an allocation.
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxBmpPixels)
        throw EOutOfResources("Out of system resources");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    UniqueGdi<HBITMAP> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!bitmap || !memory) throw EOutOfResources("Out of system resources");
    *bits = static_cast<uint32_t*>(memory);
    return bitmap;
}

UniqueDc CreateMemoryDc() {
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dc) throw EOutOfResources("Out of system resources");
    return dc;
}

void RaiseFileOpenError(const std::string& path, DWORD error) {
    throw EFOpenError("Cannot open file \"" + path + "\". " + SysErrorMessage(error));
}

UniqueFile OpenFileForReading(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) RaiseFileOpenError(path, GetLastError());
    UniqueFile owned(file);
    // Pipes, consoles and devices could block or never end: only disk files are pictures.
    if (GetFileType(file) != FILE_TYPE_DISK) RaiseFileOpenError(path, ERROR_INVALID_FUNCTION);
    return owned;
}

} // namespace gdi
} // namespace kel
