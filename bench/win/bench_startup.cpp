// Start-up time of the launcher against a bare Win32 window of the same size, under the same Wine:
// each program is started several times, alternately, and timed from process creation to its first
// painted window (its message loop idle with its window visible). Run from the dist folder, or give
// the launcher's path as the first argument. Prints a table and, last, "startup ratio <x>x".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct WindowSearch {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->process && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from process creation to a visible window and an idle message loop; -1 on failure.
double TimeStart(const std::string& exe, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + exe + "\"";
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return -1;
    double result = -1;
    for (int i = 0; i < 20000; ++i) {
        WaitForInputIdle(pi.hProcess, 50);
        WindowSearch search{pi.dwProcessId};
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && WaitForInputIdle(pi.hProcess, 0) == 0) {
            QueryPerformanceCounter(&end);
            result = Seconds(start, end) * 1000.0;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string FolderOf(const std::string& path) {
    const size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

} // namespace

int main(int argc, char** argv) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string baseline = FolderOf(self) + "startup_baseline.exe";
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string launcher = argc > 1 ? argv[1] : std::string(cwd) + "\\launcher.exe";
    const std::string launcherFolder = FolderOf(launcher);

    // The stubs started by the launcher log quietly instead of showing a window.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    SetEnvironmentVariableA("SIBLINGS_LOG", (std::string(temp) + "bench-startup-siblings.log").c_str());

    const int runs = 7;
    TimeStart(launcher, launcherFolder); // warm the file cache and Wine's DLLs for both
    TimeStart(baseline, "");
    std::vector<double> ours, bare;
    std::printf("%-4s %14s %14s\n", "run", "launcher ms", "baseline ms");
    for (int i = 0; i < runs; ++i) {
        const double a = TimeStart(launcher, launcherFolder);
        const double b = TimeStart(baseline, "");
        if (a < 0 || b < 0) {
            std::printf("run %d failed (launcher %s)\n", i, launcher.c_str());
            return 1;
        }
        ours.push_back(a);
        bare.push_back(b);
        std::printf("%-4d %14.1f %14.1f\n", i + 1, a, b);
    }
    const double m = Median(ours), n = Median(bare);
    std::printf("median %12.1f %14.1f\n", m, n);
    std::printf("startup ratio %.2fx\n", m / n);
    return 0;
}
