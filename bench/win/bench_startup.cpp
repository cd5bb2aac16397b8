// Start-up time of the launcher against a bare Win32 window of the same size, under the same Wine:
// each program is started several times, alternately, and timed from process creation until its
// window is on screen painted as it finally looks (a grid of screen pixels inside the window
// matches what a first, settled start of the same program showed). Run from the dist folder, or
// give the launcher's path as the first argument. Prints a table and, last, "startup ratio <x>x".
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
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Where a window is painted: a grid of points inside it, as offsets from its top-left corner.
struct Samples {
    std::vector<POINT> points;
    std::vector<COLORREF> colours;
};

std::vector<COLORREF> ReadScreen(HWND window, const std::vector<POINT>& points) {
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> colours;
    for (const POINT& p : points) colours.push_back(GetPixel(screen, r.left + p.x, r.top + p.y));
    ReleaseDC(nullptr, screen);
    return colours;
}

HWND VisibleWindowOf(DWORD process) {
    WindowSearch search{process};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the program and returns the milliseconds from process creation until its window shows
// the given painted samples (or, with `learn`, learns them from the settled window); -1 on failure.
double TimeStart(const std::string& exe, const std::string& folder, Samples& samples, bool learn) {
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
    for (int i = 0; i < 20000 && result < 0; ++i) {
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        HWND window = VisibleWindowOf(pi.dwProcessId);
        if (!window) {
            Sleep(1);
            continue;
        }
        if (learn) {
            WaitForInputIdle(pi.hProcess, 5000);
            Sleep(700);
            RECT r;
            GetWindowRect(window, &r);
            const int w = r.right - r.left, h = r.bottom - r.top;
            samples.points.clear();
            for (int y = 1; y <= 5; ++y)
                for (int x = 1; x <= 5; ++x) samples.points.push_back({w * x / 6, h * y / 6});
            samples.colours = ReadScreen(window, samples.points);
            std::printf("learned %zu points of %s in %d x %d\n", samples.points.size(), exe.c_str(),
                        w, h);
            result = 0;
        } else if (ReadScreen(window, samples.points) == samples.colours) {
            QueryPerformanceCounter(&end);
            result = Seconds(start, end) * 1000.0;
        }
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    Sleep(100);
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
    std::setvbuf(stdout, nullptr, _IONBF, 0); // progress shows at once, also through a pipe
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
    SetEnvironmentVariableA("SIBLINGS_LOG",
                            (std::string(temp) + "bench-startup-siblings.log").c_str());

    // A first start of each warms the file cache and learns what its painted window looks like.
    const int runs = 9;
    Samples launcherLook, baselineLook;
    if (TimeStart(launcher, launcherFolder, launcherLook, true) < 0 ||
        TimeStart(baseline, "", baselineLook, true) < 0) {
        std::printf("cannot start %s or %s\n", launcher.c_str(), baseline.c_str());
        return 1;
    }
    std::vector<double> ours, bare;
    std::printf("%-4s %14s %14s\n", "run", "launcher ms", "baseline ms");
    for (int i = 0; i < runs; ++i) {
        const double a = TimeStart(launcher, launcherFolder, launcherLook, false);
        const double b = TimeStart(baseline, "", baselineLook, false);
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
    std::printf("startup ratio %.2fx (launcher time / bare window time, lower is better)\n", m / n);
    return 0;
}
