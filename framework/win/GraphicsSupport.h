// Internal helpers of the graphics classes: owning wrappers for GDI objects, device contexts and
// files, DIB section creation and the file-open error of the framework.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace kel {
namespace gdi {

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using UniqueFile = std::unique_ptr<void, FileCloser>;

// Keeps an object selected into a device context and puts the previous one back on destruction.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A 32-bit top-down DIB section of width x height (both > 0), zero-filled; raises EOutOfResources.
UniqueGdi<HBITMAP> CreateDib32(int width, int height, uint32_t** bits);

// A memory DC compatible with the screen; raises EOutOfResources.
UniqueDc CreateMemoryDc();

// Opens an existing file for reading; raises EFOpenError with the system's reason.
UniqueFile OpenFileForReading(const std::string& path);

// "Cannot open file "<path>". <system text>"
[[noreturn]] void RaiseFileOpenError(const std::string& path, DWORD error);

} // namespace gdi
} // namespace kel
