// Paths of the launcher: the program folder and the files built from it; the shell's open action
// with the wait cursor.
#pragma once

#include <string>

// AddBackslash and ExtractFilePath (same namespace): one routine serves the launcher and the
// skin library.
#include "framework/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kel {

#ifdef _WIN32
// AddBackslash of the folder of the running executable; computed afresh on every call.
std::string ProgramFolder();
// The configuration file "lame.dll" in the program folder.
std::string ConfigFilePath();
// A value of section "SYSTEM" of the configuration file, through the system's profile reader.
std::string ReadConfigValue(const std::string& key, const std::string& defaultValue);

// Every shell "open" of the launcher goes through this function (the system's ShellExecuteA; tests
// put a recorder in its place).
using TShellExecute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern TShellExecute ShellExecuteFn;

// Hands a file path or web address to the shell's "open" action, with the wait cursor shown
// meanwhile; the shell's result is not examined.
void ShellOpen(const std::string& target);
// Nested wait cursor: the hourglass from the first BeginWait to the matching last EndWait.
void BeginWait();
void EndWait();
int WaitCount();
#endif

} // namespace kel
