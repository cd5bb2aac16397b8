#include "launcher/UtilFuncs.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/win/Forms.h"
#include "framework/win/SystemLibrary.h"

namespace kel {

namespace {

// The shell's ShellExecuteA, its library loaded at the first call: the window is on screen
// sooner when the shell library is not loaded before the program starts.
HINSTANCE WINAPI ShellExecuteOnFirstUse(HWND window, LPCSTR operation, LPCSTR file,
                                        LPCSTR parameters, LPCSTR folder, INT show) {
    static const TShellExecute shellExecute =
        SystemFunction<TShellExecute>("shell32.dll", "ShellExecuteA");
    if (!shellExecute) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
    return shellExecute(window, operation, file, parameters, folder, show);
}

constexpr DWORD kProfileBufferSize = 2048; // so at most 2047 characters of a value arrive
int gWaitCount = 0;
} // namespace

TShellExecute ShellExecuteFn = &ShellExecuteOnFirstUse;

std::string ProgramFolder() {
    return AddBackslash(ExtractFilePath(ExeName()));
}

std::string ConfigFilePath() {
    return ProgramFolder() + "lame.dll";
}

std::string ReadConfigValue(const std::string& key, const std::string& defaultValue) {
    char buffer[kProfileBufferSize] = {};
    GetPrivateProfileStringA("SYSTEM", key.c_str(), defaultValue.c_str(), buffer,
                             kProfileBufferSize, ConfigFilePath().c_str());
    return buffer;
}

void ShellOpen(const std::string& target) {
    BeginWait();
    try {
        ShellExecuteFn(Application->Handle(), "open", target.c_str(), nullptr, nullptr,
                       SW_SHOWDEFAULT);
    } catch (...) {
        EndWait();
        throw;
    }
    EndWait();
}

void BeginWait() {
    ++gWaitCount;
    Screen->SetCursor(crHourGlass);
}

void EndWait() {
    if (gWaitCount <= 0) return;
    if (--gWaitCount == 0) Screen->SetCursor(crDefault);
}

int WaitCount() {
    return gWaitCount;
}

} // namespace kel
