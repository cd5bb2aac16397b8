// Start-up under Wine: the product identity read from real configuration files through the
// system's profile reader.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/win/Forms.h"
#include "launcher/Startup.h"
#include "launcher/UtilFuncs.h"

namespace kel {
namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        Application->SetTitle("");
        Application->SetIcon(nullptr, false);
    }
    void TearDown() override { DeleteFileA(ConfigFilePath().c_str()); }

    static void WriteConfig(const std::string& bytes) {
        FILE* f = std::fopen(ConfigFilePath().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    static HICON IconGroup(const char* name) { return LoadIconA(GetModuleHandleA(nullptr), name); }
    // Title and icon, as the launcher applies them before and after its first paint.
    static const TProduct* ApplyProductIdentity() {
        ApplyProductTitle();
        return ApplyProductIcon();
    }
};

TEST_F(Startup, ProgramFolderEndsInABackslashAndHoldsTheConfiguration) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(ConfigFilePath(), folder + "lame.dll");
}

TEST_F(Startup, BlanksAndQuotesAroundTheNameAreDropped) {
    WriteConfig("[SYSTEM]\r\nName=   Hollin Optic Bench   \r\n");
    const TProduct* product = ApplyProductIdentity();
    EXPECT_EQ(Application->Title(), "Hollin Optic Bench");
    ASSERT_NE(product, nullptr);
    // Row 6 shows the icon of row 5.
    EXPECT_EQ(Application->Icon().Handle(), IconGroup("a5"));
    EXPECT_NE(Application->Icon().Handle(), IconGroup("a1"));

    WriteConfig("[SYSTEM]\r\nName=\"Velmora Optic Works\"\r\n");
    ApplyProductIdentity();
    EXPECT_EQ(Application->Title(), "Velmora Optic Works");
    EXPECT_EQ(Application->Icon().Handle(), IconGroup("a2"));

    WriteConfig("[SYSTEM]\r\nName='Dunmore Optic Guide'\r\n");
    ApplyProductIdentity();
    EXPECT_EQ(Application->Title(), "Dunmore Optic Guide");
    EXPECT_EQ(Application->Icon().Handle(), IconGroup("a1"));
}

TEST_F(Startup, SectionAndKeyMatchWithoutLetterCaseButTheProductNameWithIt) {
    WriteConfig("[system]\r\nNAME=Larkspur Media Kit\r\n");
    EXPECT_NE(ApplyProductIdentity(), nullptr);
    EXPECT_EQ(Application->Title(), "Larkspur Media Kit");
    EXPECT_EQ(Application->Icon().Handle(), IconGroup("a1"));

    Application->SetIcon(nullptr, false);
    WriteConfig("[SYSTEM]\r\nName=larkspur media kit\r\n");
    EXPECT_EQ(ApplyProductIdentity(), nullptr);
    EXPECT_EQ(Application->Title(), "larkspur media kit");
    EXPECT_EQ(Application->Icon().Handle(), nullptr);
}

TEST_F(Startup, PresentButEmptyKeyIsEmptyAndMissingKeyGivesTheDefault) {
    WriteConfig("[SYSTEM]\r\nName=\r\nSkin=\r\n");
    EXPECT_EQ(ReadConfigValue("Skin", "0"), "");
    EXPECT_EQ(ReadConfigValue("burnerRes", "fallback"), "fallback");
    ApplyProductIdentity();
    EXPECT_EQ(Application->Title(), "");
}

TEST_F(Startup, LongNameArrivesCutTo255Characters) {
    const std::string name(300, 'N');
    WriteConfig("[SYSTEM]\r\nName=" + name + "\r\n");
    EXPECT_EQ(ReadConfigValue("Name", ""), name);
    EXPECT_EQ(ApplyProductIdentity(), nullptr);
    EXPECT_EQ(Application->Title(), name.substr(0, 255));
}

TEST_F(Startup, MissingFileGivesAnEmptyTitleAndNoIcon) {
    DeleteFileA(ConfigFilePath().c_str());
    EXPECT_EQ(ApplyProductIdentity(), nullptr);
    EXPECT_EQ(Application->Title(), "");
    EXPECT_EQ(Application->Icon().Handle(), nullptr);
}

TEST_F(Startup, BrokenConfigurationFilesStartAllTheSame) {
    WriteConfig("");
    EXPECT_EQ(ApplyProductIdentity(), nullptr);
    EXPECT_EQ(Application->Title(), "");

    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) & 0xFF);
    WriteConfig(binary);
    ApplyProductIdentity(); // whatever the reader makes of it, no crash

    const std::string longLine(100000, 'x');
    WriteConfig("[SYSTEM]\r\nName=" + longLine + "\r\nSkin=" + longLine + "\r\n");
    ApplyProductIdentity();
    EXPECT_LE(Application->Title().size(), 255u);
    EXPECT_LE(ReadConfigValue("Skin", "0").size(), 2047u);
}

} // namespace
} // namespace kel
