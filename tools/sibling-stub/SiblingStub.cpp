// Stands in for one of the family's sibling tools in the demo install folder. It is copied under
// every sibling's executable name; it records that it was started (its file name, arguments and
// working folder, one line appended to the file named by SIBLINGS_LOG, else to siblings.log in the
// temporary folder). Without SIBLINGS_LOG it also shows for a few seconds, in a small notice at a
// corner of the screen, which tool it stands for.
#include "tools/sibling-stub/StubNotice.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct ToolName {
    const char* file;
    const char* title;
};

const ToolName kTools[] = {
    {"mkfiles.exe", "Data disc tool"},      {"mkmovie.exe", "Video disc tool"},
    {"mkmusic.exe", "Audio CD burner"},     {"ripmusic.exe", "Audio CD grabber"},
    {"imgwrite.exe", "ISO burner"},         {"imgread.exe", "ISO grabber"},
    {"imgmake.exe", "ISO builder"},         {"blanker.exe", "Disc eraser"},
    {"drvprobe.exe", "Device information"}, {"afterrun.exe", "After-start tool"},
};

std::string OwnFileName() {
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// The command line without the program's own name.
std::string Arguments() {
    const char* p = GetCommandLineA();
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        p = p ? p + 1 : "";
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

std::string LogPath(bool& fromEnvironment) {
    char buffer[MAX_PATH * 4] = {};
    const DWORD n = GetEnvironmentVariableA("SIBLINGS_LOG", buffer, sizeof buffer);
    fromEnvironment = n > 0 && n < sizeof buffer;
    if (fromEnvironment) return buffer;
    GetTempPathA(sizeof buffer, buffer);
    std::string folder = buffer;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder + "siblings.log";
}

void AppendLine(const std::string& path, const std::string& line) {
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\r\n", line.c_str());
        std::fclose(f);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string name = OwnFileName();
    char folder[MAX_PATH * 4] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    bool fromEnvironment = false;
    AppendLine(LogPath(fromEnvironment), name + "|" + Arguments() + "|" + folder);
    if (fromEnvironment) return 0;

    std::string title = "Disc tool";
    for (const ToolName& t : kTools)
        if (lstrcmpiA(t.file, name.c_str()) == 0) title = t.title;
    stub::ShowNotice(title, "Demo stand-in started as " + name, 3000);
    return 0;
}
