// Internal helpers of the graphics classes: DIB section creation, memory DCs and the file-open
// error of the framework.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/win/Handles.h"

namespace kel {
namespace gdi {

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
