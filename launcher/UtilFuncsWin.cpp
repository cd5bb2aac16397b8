#include "launcher/UtilFuncs.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/win/Forms.h"

namespace kel {

TShellExecute ShellExecuteFn = &ShellExecuteA;

namespace {
constexpr DWORD kProfileBufferSize = 2048; // so at most 2047 characters of a value arrive
int gWaitCount = 0;
} // namespace

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
