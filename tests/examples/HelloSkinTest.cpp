// The example program that uses the installed package: it starts, shows its form framed by the
// skinned form (so the package's libraries and resources reached it) and closes when asked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string gProgram; // the example's .exe, from the command line

struct Search {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (pid == search->process && IsWindowVisible(window) && std::string(title) == "Hello, skin") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Owns the started process: a test that fails half-way still ends it.
class StartedProgram {
public:
    explicit StartedProgram(const std::string& path) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + path + "\"";
        started_ = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &info_) != 0;
        if (started_) CloseHandle(info_.hThread);
    }
    ~StartedProgram() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return started_; }
    HWND WaitForWindow(DWORD milliseconds) const {
        for (DWORD waited = 0; waited < milliseconds; waited += 50) {
            Search search{info_.dwProcessId};
            EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            if (WaitForSingleObject(info_.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
        }
        return nullptr;
    }
    // The exit code once the process ended within the time, else STILL_ACTIVE.
    DWORD WaitForExit(DWORD milliseconds) const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

bool InRegion(HWND window, int x, int y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(window, region);
    const bool inside = kind == ERROR || kind == NULLREGION ? true : PtInRegion(region, x, y) != 0;
    DeleteObject(region);
    return inside;
}

TEST(HelloSkin, ShowsItsSkinnedFormAndClosesWhenAsked) {
    ASSERT_NE(GetFileAttributesA(gProgram.c_str()), INVALID_FILE_ATTRIBUTES)
        << gProgram << " is missing: `make test` builds it against the installed package";
    StartedProgram program(gProgram);
    ASSERT_TRUE(program.Started()) << "cannot start " << gProgram;
    const HWND window = program.WaitForWindow(10000);
    ASSERT_NE(window, nullptr) << "no window titled \"Hello, skin\" appeared";

    // The skinned form replaced the system caption by its own title bar and rounded the top
    // corners as the BlueGlass style asks; its pictures come from the package's resources (a
    // missing one ends the program before any window shows).
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION);
    RECT bounds;
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    EXPECT_EQ(width, 420);
    EXPECT_FALSE(InRegion(window, 0, 0)) << "the top-left corner is not rounded";
    EXPECT_FALSE(InRegion(window, width - 1, 0)) << "the top-right corner is not rounded";
    EXPECT_TRUE(InRegion(window, 11, 0));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) gProgram = argv[1];
    return RUN_ALL_TESTS();
}
