// The launcher as its users meet it: dist/launcher.exe started as a separate process under Wine
// and driven from outside with real input; the sibling stubs report what was started.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
std::string gDist; // the demo install folder, from the command line

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int CountLines(const std::string& text, const std::string& prefix) {
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix + "|", 0) == 0) ++n;
    return n;
}

struct WindowSearch {
    DWORD process;
    std::string className;
    HWND found = nullptr;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->process && IsWindowVisible(window) &&
        (search->className.empty() || search->className == cls)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
    char text[2048] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(data) += std::string(text) + "\n";
    return TRUE;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        folder = std::string(temp) + "kel-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial);
        fs::remove_all(folder);
        fs::copy(gDist, folder, fs::copy_options::recursive);
        fs::remove_all(folder + "\\alternative");
        log = folder + "\\siblings.log";
        SetEnvironmentVariableA("SIBLINGS_LOG", log.c_str());
    }

    void TearDown() override {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 0);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        Sleep(200);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void Start() {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + folder + "\\launcher.exe\"";
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.c_str(), &si, &process));
        WaitForInputIdle(process.hProcess, 10000);
    }

    HWND WaitForWindow(const std::string& className, int milliseconds = 10000) {
        for (int waited = 0; waited < milliseconds; waited += 50) {
            WindowSearch search{process.dwProcessId, className};
            EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            Sleep(50);
        }
        return nullptr;
    }

    std::string WaitForLog(const std::string& tool, int count = 1, int milliseconds = 8000) {
        std::string text;
        for (int waited = 0; waited < milliseconds; waited += 50) {
            text = ReadAll(log);
            if (CountLines(text, tool) >= count) break;
            Sleep(50);
        }
        return text;
    }

    // Moves the pointer there (so the control under it sees the mouse arrive), then clicks.
    static void MouseClick(int x, int y) {
        SetCursorPos(x - 1, y - 1);
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dx = 1;
        move.mi.dy = 1;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &move, sizeof(INPUT));
        Sleep(60);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(100);
    }

    static void PressKey(WORD key) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(60);
    }

    // Clicks the middle of a button given by its place in the default layout.
    void ClickAt(HWND window, int left, int top, int width, int height) {
        RECT r;
        GetWindowRect(window, &r);
        MouseClick(r.left + left + width / 2, r.top + top + height / 2);
    }

    // Clicks the info text, which does nothing else, until the launcher's window is the active
    // one, as a user would; a click that only activates the window starts no tool later.
    void BringToFront(HWND window) {
        for (int attempt = 0; attempt < 10 && GetForegroundWindow() != window; ++attempt) {
            ClickAt(window, 16, 160, 20, 12);
            for (int i = 0; i < 10 && GetForegroundWindow() != window; ++i) Sleep(50);
        }
        EXPECT_EQ(GetForegroundWindow(), window);
        Sleep(100); // the click that made it active is handled before the next one arrives
    }

    // Clicks a tool's button and waits for its start. Under Wine a synthetic click now and then
    // never reaches the window; it is given again after three quiet seconds, up to three times.
    std::string ClickAndWaitForStart(HWND window, int left, const char* tool) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            ClickAt(window, left, 40, 99, 108);
            const std::string text = WaitForLog(tool, 1, 3000);
            if (CountLines(text, tool) > 0) return text;
        }
        ClickAt(window, left, 40, 99, 108);
        return WaitForLog(tool);
    }

    std::string folder, log;
    PROCESS_INFORMATION process{};
};

TEST_F(EndToEnd, WindowIsCentredShapedAndStartsAfterrunOnce) {
    Start();
    HWND window = WaitForWindow("KelForm");
    ASSERT_NE(window, nullptr);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Larkspur Media Kit");
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 444);
    EXPECT_EQ(r.bottom - r.top, 217);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 444) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 217) / 2);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 443, 216));
    EXPECT_TRUE(PtInRegion(region, 222, 100));
    DeleteObject(region);
    EXPECT_NE(WindowFromPoint({r.left, r.top}), window);

    const std::string text = WaitForLog("afterrun.exe");
    Sleep(1500);
    EXPECT_EQ(CountLines(ReadAll(log), "afterrun.exe"), 1) << text;
}

TEST_F(EndToEnd, LargeButtonsAndMenuItemsStartTheirTools) {
    Start();
    HWND window = WaitForWindow("KelForm");
    ASSERT_NE(window, nullptr);
    WaitForLog("afterrun.exe");
    BringToFront(window);

    EXPECT_EQ(CountLines(ClickAndWaitForStart(window, 20, "mkfiles.exe"), "mkfiles.exe"), 1);
    EXPECT_EQ(CountLines(ClickAndWaitForStart(window, 121, "mkmovie.exe"), "mkmovie.exe"), 1);

    const struct {
        int buttonLeft;
        int item; // position in its menu, separators counted
        const char* tool;
    } items[] = {{225, 0, "mkmusic.exe"}, {225, 1, "ripmusic.exe"}, {323, 0, "imgwrite.exe"},
                 {323, 1, "imgread.exe"}, {323, 2, "imgmake.exe"},  {323, 4, "blanker.exe"},
                 {323, 5, "drvprobe.exe"}};
    for (const auto& item : items) {
        ClickAt(window, item.buttonLeft, 40, 99, 108);
        for (int retry = 0; retry < 2 && !WaitForWindow("#32768", 3000); ++retry)
            ClickAt(window, item.buttonLeft, 40, 99, 108);
        ASSERT_NE(WaitForWindow("#32768", 5000), nullptr) << item.tool;
        // Keyboard selection skips the separator line.
        const int downs = item.item > 3 ? item.item : item.item + 1;
        for (int i = 0; i < downs; ++i) PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        EXPECT_EQ(CountLines(WaitForLog(item.tool), item.tool), 1) << item.tool;
    }
    const std::string text = ReadAll(log);
    EXPECT_NE(text.find("mkfiles.exe||"), std::string::npos) << text; // no arguments
}

TEST_F(EndToEnd, MissingButtonPictureShowsOneErrorAndNoAfterrun) {
    const std::string about2 = folder + "\\sounds\\burnerRes\\about2.bmp";
    fs::remove(about2);
    Start();
    HWND box = WaitForWindow("#32770");
    ASSERT_NE(box, nullptr);
    std::string text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    EXPECT_NE(text.find("Cannot open file \"" + about2 + "\""), std::string::npos) << text;
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ(caption, "Larkspur Media Kit");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_NE(WaitForWindow("KelForm"), nullptr);
    Sleep(1500);
    WindowSearch another{process.dwProcessId, "#32770"};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&another));
    EXPECT_EQ(another.found, nullptr);
    EXPECT_EQ(CountLines(ReadAll(log), "afterrun.exe"), 0);
}

// A 24-bit BMP file whose pixels `color(x, y)` gives as 0x00RRGGBB.
template <class Color> std::string Bmp24(int width, int height, Color color) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string file(54 + static_cast<size_t>(stride) * height, '\0');
    const auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = color(x, y);
            char* p = &file[54 + static_cast<size_t>(height - 1 - y) * stride + 3 * x];
            p[0] = static_cast<char>(c), p[1] = static_cast<char>(c >> 8);
            p[2] = static_cast<char>(c >> 16);
        }
    return file;
}

void WriteBinary(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST_F(EndToEnd, HostileOutlineKeepsTheLauncherAlive) {
    // A 300 x 300 checkerboard of fuchsia and another colour: 45,000 rectangles of outline, more
    // than one X request holds. The launcher used to die at start-up with an X error.
    WriteBinary(folder + "\\sounds\\burnerRes\\main.bmp",
                Bmp24(300, 300, [](int x, int y) { return (x + y) % 2 ? 0xFF00FFu : 0x204060u; }));
    Start();
    HWND window = WaitForWindow("KelForm", 30000);
    ASSERT_NE(window, nullptr);
    WaitForLog("afterrun.exe", 1, 30000);
    Sleep(2000);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the launcher ended";
    EXPECT_TRUE(IsWindowVisible(window));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    const DWORD size = GetRegionData(region, 0, nullptr);
    EXPECT_LE((size - sizeof(RGNDATAHEADER)) / sizeof(RECT), 8192u);
    EXPECT_TRUE(PtInRegion(region, 0, 0)) << "a visible pixel of the picture";
    DeleteObject(region);
    EXPECT_EQ(CountLines(ReadAll(log), "afterrun.exe"), 1);
}

TEST_F(EndToEnd, PictureTooLargeForASkinIsAnInvalidBitmapAtOnce) {
    // 540 KB of RLE8 that would decode to 256 MB: refused before decoding, with the error box
    // of any invalid picture.
    std::string rle;
    for (int y = 0; y < 8192; ++y) {
        for (int x = 0; x < 8192; x += 255) {
            rle += static_cast<char>(std::min(255, 8192 - x));
            rle += '\1';
        }
        rle += std::string(2, '\0');
    }
    rle += std::string("\0\1", 2);
    std::string file = Bmp24(0, 0, [](int, int) { return 0u; });
    const auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(18, 8192);
    put32(22, 8192);
    file[28] = 8;
    put32(30, 1); // RLE8
    put32(46, 2); // palette of two entries
    file += std::string(8, '\0');
    put32(10, 62);
    file += rle;
    put32(2, static_cast<uint32_t>(file.size()));
    WriteBinary(folder + "\\sounds\\burnerRes\\data1.bmp", file);
    const DWORD start = GetTickCount();
    Start();
    HWND box = WaitForWindow("#32770", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_LT(GetTickCount() - start, 15000u);
    std::string text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    EXPECT_NE(text.find("Bitmap image is not valid."), std::string::npos) << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_NE(WaitForWindow("KelForm"), nullptr);
}

// Sets an environment variable for the programs this test starts and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        char old[MAX_PATH * 4] = {};
        const DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
        had_ = n > 0 && n < sizeof old;
        if (had_) old_ = old;
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

private:
    std::string name_, old_;
    bool had_ = false;
};

TEST_F(EndToEnd, StandInShowsANoticeInACornerWithoutTakingTheFocus) {
    ScopedEnvironment noLog("SIBLINGS_LOG", nullptr);
    ScopedEnvironment temp("TMP", folder.c_str()); // its fallback log lands in the test folder
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string command = "\"" + folder + "\\mkmovie.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &si, &process));
    HWND notice = WaitForWindow("SiblingStubNotice");
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(GetForegroundWindow(), notice);
    const LONG_PTR exStyle = GetWindowLongPtrA(notice, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);

    // Small, in the bottom-right corner of the work area, clear of a centred launcher.
    RECT r, work;
    GetWindowRect(notice, &r);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_LE(r.right - r.left, 400);
    EXPECT_LE(r.bottom - r.top, 100);
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);
    EXPECT_GT(r.right, work.right - 40);
    EXPECT_GT(r.bottom, work.bottom - 40);
    for (const SIZE launcher : {SIZE{444, 217}, SIZE{580, 460}}) {
        const int left = (GetSystemMetrics(SM_CXSCREEN) - launcher.cx) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - launcher.cy) / 2;
        const RECT centred{left, top, left + launcher.cx, top + launcher.cy};
        RECT overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &r, &centred));
    }

    EXPECT_EQ(WaitForSingleObject(process.hProcess, 8000), WAIT_OBJECT_0);
    const std::string text = ReadAll(folder + "\\siblings.log");
    EXPECT_EQ(text.rfind("mkmovie.exe||", 0), 0u) << text;
}

// The version resource's string of the given name, empty when there is none.
std::string VersionString(const std::string& file, const char* name) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoA(file.c_str(), 0, data.size(), data.data())) return "";
    char* value = nullptr;
    UINT size = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &size))
        return "";
    return std::string(value, size > 0 ? size - 1 : 0);
}

// Whether the executable still carries a COFF symbol table (what stripping removes).
bool HasSymbolTable(const std::string& file) {
    const std::string bytes = ReadAll(file);
    IMAGE_DOS_HEADER dos{};
    if (bytes.size() < sizeof dos) return true;
    std::memcpy(&dos, bytes.data(), sizeof dos);
    IMAGE_FILE_HEADER header{};
    const size_t at = static_cast<size_t>(dos.e_lfanew) + 4;
    if (dos.e_lfanew < 0 || bytes.size() < at + sizeof header) return true;
    std::memcpy(&header, bytes.data() + at, sizeof header);
    return header.PointerToSymbolTable != 0 || header.NumberOfSymbols != 0;
}

TEST_F(EndToEnd, ShippedProgramsAreStrippedAndCarryVersionInformation) {
    std::vector<std::string> programs;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".exe") programs.push_back(entry.path().string());
    ASSERT_EQ(programs.size(), 11u);
    for (const std::string& program : programs) {
        EXPECT_FALSE(HasSymbolTable(program)) << program;
        EXPECT_FALSE(VersionString(program, "ProductName").empty()) << program;
        EXPECT_FALSE(VersionString(program, "FileDescription").empty()) << program;
        EXPECT_FALSE(VersionString(program, "FileVersion").empty()) << program;
    }
    EXPECT_EQ(VersionString(folder + "\\launcher.exe", "OriginalFilename"), "launcher.exe");
}

// The libraries in a 64-bit executable's import table (loaded before its first line runs), in
// lower case; empty when the file is no such executable.
std::vector<std::string> ImportedLibraries(const std::string& file) {
    const std::string bytes = ReadAll(file);
    const auto read = [&bytes](size_t at, auto& value) {
        if (at > bytes.size() || bytes.size() - at < sizeof value) return false;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        return true;
    };
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!read(0, dos) || dos.e_lfanew < 0 || !read(static_cast<size_t>(dos.e_lfanew), nt))
        return {};
    const size_t sections = static_cast<size_t>(dos.e_lfanew) +
                            offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                            nt.FileHeader.SizeOfOptionalHeader;
    // A relative virtual address as a file offset, through the section that holds it.
    const auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section{};
            if (!read(sections + i * sizeof section, section)) break;
            if (rva >= section.VirtualAddress &&
                rva - section.VirtualAddress < section.SizeOfRawData)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return bytes.size();
    };
    std::vector<std::string> names;
    const DWORD table =
        nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    IMAGE_IMPORT_DESCRIPTOR entry{};
    for (size_t at = offsetOf(table); read(at, entry) && entry.Name != 0; at += sizeof entry) {
        const size_t name = offsetOf(entry.Name);
        if (name >= bytes.size()) return {};
        std::string text = bytes.c_str() + name;
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.push_back(text);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(EndToEnd, LauncherImportsOnlyWhatItsFirstWindowNeeds) {
    // Every imported library is loaded, with its own imports, before the launcher starts; the
    // shell, COM, common controls and msimg32 are loaded at their first call instead.
    const std::vector<std::string> expected = {"gdi32.dll", "kernel32.dll", "msvcrt.dll",
                                               "user32.dll"};
    EXPECT_EQ(ImportedLibraries(folder + "\\launcher.exe"), expected);
}

// Last, because a minimised and restored window leaves the desktop in a state of its own.
TEST_F(EndToEnd, SmallButtonsMinimiseAndClose) {
    Start();
    HWND window = WaitForWindow("KelForm");
    ASSERT_NE(window, nullptr);
    WaitForLog("afterrun.exe");
    BringToFront(window);
    // A button is clicked again while nothing happened for three seconds, up to three times:
    // under Wine a synthetic click right after an activation is lost now and then.
    const auto clickUntil = [&](int left, int width, const std::function<bool(DWORD)>& done) {
        for (int attempt = 0; attempt < 3 && IsWindowVisible(window); ++attempt) {
            ClickAt(window, left, 7, width, 19);
            if (done(3000)) return;
        }
    };
    const auto minimised = [&](DWORD wait) {
        for (DWORD waited = 0; waited < wait && !IsIconic(window); waited += 50) Sleep(50);
        return IsIconic(window) != FALSE;
    };
    clickUntil(372, 29, minimised);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    for (int i = 0; i < 40 && IsIconic(window); ++i) Sleep(50);
    Sleep(500); // the restored window repainted
    BringToFront(window);
    clickUntil(399, 30, [&](DWORD wait) {
        return WaitForSingleObject(process.hProcess, wait) == WAIT_OBJECT_0;
    });
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 5000), WAIT_OBJECT_0)
        << "window " << (IsWindow(window) ? "exists" : "is gone") << ", "
        << (IsWindowVisible(window) ? "shown" : "hidden") << ", "
        << (IsIconic(window) ? "minimised" : "not minimised");
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: test_e2e <dist folder>\n");
        return 2;
    }
    gDist = argv[1];
    return RUN_ALL_TESTS();
}
