// The reader's platform services: the temporary folder, GUID names, file existence, deletion and
// name comparison. Runs natively and, with the Win32 calls, under Wine.
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KEL2SkinReader_Platform.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"
#include "tools/skintool/SkinPacker.h"

#include <chrono>
#include <cstdio>
#include <set>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kel::reader_test {
namespace {

// The skin file a child process loads again and again until it is killed: one large string
// entry, so that each load spends a while with its temporary file.
Bytes LargeSkinFile() {
    std::string text;
    for (int i = 0; text.size() < 24u * 1024 * 1024; ++i)
        text += "entry " + std::to_string(i) + ";";
    return skintool::BuildSkinArchive(skintool::BuildSkinData({skintool::StringEntry("BIG", text)}),
                                      "");
}

class TIgnoringVisitor : public TSkinDataVisitor {
    void Bitmap(const std::string&, TPixelImage&&) override {}
    void Integer(const std::string&, int32_t) override {}
    void Boolean(const std::string&, uint8_t) override {}
    void String(const std::string&, std::string&&) override {}
};

[[noreturn]] void LoadForever(const std::string& skin) {
    TIgnoringVisitor visitor;
    for (;;) LoadSkinFile(skin, "", visitor);
}

#ifdef _WIN32
// The child side of the kill tests: with KEL_TEST_LOAD_FOREVER set, this program only loads that
// skin file until it is killed (before any test runs).
const bool gChildRun = [] {
    char skin[MAX_PATH] = {};
    if (GetEnvironmentVariableA("KEL_TEST_LOAD_FOREVER", skin, MAX_PATH) == 0) return false;
    LoadForever(skin);
}();
#endif

using PlatformTest = ReaderFixture;

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} with upper-case hexadecimal digits.
bool IsRegistryGuid(const std::string& text) {
    const std::string shape = "{########-####-####-####-############}";
    if (text.size() != shape.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        const char c = text[i];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        if (shape[i] == '#' ? !hex : c != shape[i]) return false;
    }
    return true;
}

TEST_F(PlatformTest, TempFolderEndsWithTheSeparator) {
    const std::string folder = skinplatform::TempFolder();
    ASSERT_FALSE(folder.empty());
#ifdef _WIN32
    EXPECT_EQ(folder.back(), '\\');
#else
    EXPECT_EQ(folder.back(), '/');
#endif
    // It is the folder this test set: a file made through one name shows up under the other.
    WriteWholeFile(folder + "probe", {1});
    EXPECT_EQ(FilesIn(TempFolder()), std::vector<std::string>{"probe"}) << folder;
    fs::remove(TempFolder() / "probe");
}

TEST_F(PlatformTest, GuidTextHasTheRegistryForm) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string guid = skinplatform::NewGuidText();
        EXPECT_TRUE(IsRegistryGuid(guid)) << guid;
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST_F(PlatformTest, FilesExistUntilRemoved) {
    const std::string file = Write("file.bin", {1, 2, 3});
    EXPECT_TRUE(skinplatform::FileExists(file));
    EXPECT_FALSE(skinplatform::FileExists(Path("")));
    EXPECT_FALSE(skinplatform::FileExists(Path("missing")));
    EXPECT_TRUE(skinplatform::RemoveFile(file));
    EXPECT_FALSE(skinplatform::FileExists(file));
    EXPECT_FALSE(skinplatform::RemoveFile(file));
}

TEST_F(PlatformTest, NamesCompareIgnoringCase) {
    EXPECT_TRUE(skinplatform::SameTextIgnoringCase("SKIN2_TitleBar1", "skin2_titlebar1"));
    EXPECT_TRUE(skinplatform::SameTextIgnoringCase("", ""));
    EXPECT_FALSE(skinplatform::SameTextIgnoringCase("SKIN2_TITLEBAR1", "SKIN2_TITLEBAR"));
    EXPECT_FALSE(skinplatform::SameTextIgnoringCase("SKIN2_TITLEBAR1", "SKIN2_TITLEBAR2"));
}

TEST_F(PlatformTest, SelfDeletingFileIsGoneOnceClosed) {
    const std::string path = skinplatform::TempFolder() + "self-deleting";
    std::FILE* file = skinplatform::CreateSelfDeletingFile(path);
    ASSERT_NE(file, nullptr);
#ifdef _WIN32
    // Delete-on-close: the name stays while the file is open, and no other file can take it.
    EXPECT_TRUE(skinplatform::FileExists(path));
    EXPECT_EQ(skinplatform::CreateSelfDeletingFile(path), nullptr) << "the name is taken";
#else
    EXPECT_FALSE(skinplatform::FileExists(path)) << "unlinked as soon as it was created";
#endif
    ASSERT_EQ(std::fwrite("abc", 1, 3, file), 3u);
    ASSERT_EQ(std::fseek(file, 0, SEEK_SET), 0);
    char back[4] = {};
    ASSERT_EQ(std::fread(back, 1, 3, file), 3u);
    EXPECT_STREQ(back, "abc");
    std::fclose(file);
    EXPECT_EQ(FilesIn(TempFolder()), std::vector<std::string>());

    TTemporaryFile temp(path);
    const Bytes data(100000, 7);
    temp.Write(data.data(), data.size());
    EXPECT_EQ(temp.ReadAll(data.size()), data);
    EXPECT_THROW(temp.ReadAll(data.size() - 1), EStreamError);
}

TEST_F(PlatformTest, KillingAProgramWhileItLoadsLeavesNoTemporaryFile) {
    const std::string skin = Write("large.skn", LargeSkinFile());
#ifdef _WIN32
    SetEnvironmentVariableA("KEL_TEST_LOAD_FOREVER", skin.c_str());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &child);
    SetEnvironmentVariableA("KEL_TEST_LOAD_FOREVER", nullptr);
    ASSERT_TRUE(started);
    // Killed only while its temporary file exists: the kill strikes in the middle of a load.
    bool seen = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!seen && std::chrono::steady_clock::now() < until) {
        seen = !FilesIn(TempFolder()).empty();
        if (!seen) Sleep(1);
    }
    TerminateProcess(child.hProcess, 9);
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    EXPECT_TRUE(seen) << "the child never had its temporary file";
    // The system closes a killed process's handles, and the last close deletes the file.
    for (int i = 0; i < 100 && !FilesIn(TempFolder()).empty(); ++i) Sleep(50);
#else
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) LoadForever(skin);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
#endif
    EXPECT_EQ(FilesIn(TempFolder()), std::vector<std::string>());
}

} // namespace
} // namespace kel::reader_test
