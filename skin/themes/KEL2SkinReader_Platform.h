// The few platform services the skin file reader needs: where temporary files go, fresh GUID
// text for their names, file existence and deletion, and the platform's case-insensitive name
// comparison. Implemented with Win32 calls for the product and with POSIX calls for the native
// tests, fuzz targets and tools.
#pragma once

#include <cstdio>
#include <string>

namespace kel::skinplatform {

// The temporary folder, always ending with the path separator. Raises kel::Exception when the
// system names none that fits.
std::string TempFolder();

// A freshly created GUID in registry form: 38 characters, braces, upper-case hexadecimal.
// Raises kel::Exception when none can be made.
std::string NewGuidText();

// True when a regular file exists at the path (folders and devices do not count).
bool FileExists(const std::string& path);

// Deletes the file; false when there was nothing to delete or deletion failed.
bool RemoveFile(const std::string& path);

// Creates a new file at `path` (failing when something is there already), open for writing and
// reading back, that the system removes when it is closed or the process ends in any way, also
// when it is killed: on POSIX the name is unlinked right after creation, on Windows the file is
// opened delete-on-close (its name stays until then, and other opens of it are refused).
// nullptr when the file cannot be created.
std::FILE* CreateSelfDeletingFile(const std::string& path);

// Compares two 8-bit names ignoring letter case with the platform's locale case folding.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

} // namespace kel::skinplatform
