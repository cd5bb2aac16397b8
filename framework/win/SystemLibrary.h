// Functions of system libraries that a program calls only now and then, loaded on first use. A
// library in the import table is loaded, with everything it imports in turn, before the program's
// first line runs: start-up time spent for a call that may come late or never.
#pragma once

#include <windows.h>

namespace kel {

// The address of `name` in the system library `library` as the function pointer type F; nullptr
// when either is missing. The library is loaded from the system folder on the first request and
// stays loaded for the rest of the process, so callers may keep the address.
template <class F> F SystemFunction(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Systems without the search flags refuse it; the system libraries asked for here are known
    // to the loader, which takes them from the system folder anyway.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryA(library);
    if (!module) return nullptr;
    // Through the generic function pointer type, which any function pointer converts to cleanly.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace kel
