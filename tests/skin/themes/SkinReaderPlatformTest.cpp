// The reader's platform services: the temporary folder, GUID names, file existence, deletion and
// name comparison. Runs natively and, with the Win32 calls, under Wine.
#include "skin/themes/KEL2SkinReader_Platform.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"

#include <set>

namespace kel::reader_test {
namespace {

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

} // namespace
} // namespace kel::reader_test
