// Paths, the product table and the product web pages: the launcher's pure routines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launcher/HelpLinkFuncs.h"
#include "launcher/ProductTable.h"
#include "launcher/UtilFuncs.h"

namespace kel {
namespace {

TEST(Paths, AddBackslashCountsOnlyTheBackslash) {
    EXPECT_EQ(AddBackslash("C:\\Tools\\"), "C:\\Tools\\");
    EXPECT_EQ(AddBackslash("C:\\Tools"), "C:\\Tools\\");
    EXPECT_EQ(AddBackslash("C:\\Tools/"), "C:\\Tools/\\");
}

TEST(Paths, FolderPartEndsAtTheLastBackslashOrDriveColon) {
    EXPECT_EQ(ExtractFilePath("C:\\Tools\\hub.exe"), "C:\\Tools\\");
    EXPECT_EQ(ExtractFilePath("C:hub.exe"), "C:");
    EXPECT_EQ(ExtractFilePath("hub.exe"), "");
    EXPECT_EQ(AddBackslash(ExtractFilePath("C:\\Tools\\hub.exe")) + "lame.dll",
              "C:\\Tools\\lame.dll");
    EXPECT_EQ(AddBackslash("C:\\Tools\\" + std::string("sounds\\burnerRes") + "2"),
              "C:\\Tools\\sounds\\burnerRes2\\");
}

TEST(Products, LookupIsExactAndFirstMatchWins) {
    ASSERT_NE(FindProduct("Larkspur Media Kit"), nullptr);
    EXPECT_STREQ(FindProduct("Larkspur Media Kit")->IconGroup, "a1");
    EXPECT_EQ(FindProduct("larkspur media kit"), nullptr);
    EXPECT_EQ(FindProduct(" Larkspur Media Kit"), nullptr);
    EXPECT_EQ(FindProduct(""), nullptr);
    EXPECT_STREQ(FindProduct("Hollin Optic Bench")->IconGroup, "a5");
    EXPECT_STREQ(FindProduct("Orrick Platter Press")->IconGroup, "a5");
    EXPECT_STREQ(FindProduct("Dunmore Optic Guide")->IconGroup, "a1");
}

TEST(Pages, HelpHomeAndMoreToolsFollowThePageTable) {
    const std::string base = SiteBase(*FindProduct("Quenby Platter Forge"));
    EXPECT_EQ(base.rfind("http://www.", 0), 0u);
    EXPECT_EQ(base.back(), '/');
    EXPECT_EQ(GetHelpPage("Quenby Platter Forge"),
              base + "quenbyplatterforge/help/Help_Content.html");
    EXPECT_EQ(GetHomePage("Quenby Platter Forge"), base);
    EXPECT_EQ(GetMoreToolsPage("Larkspur Media Kit"),
              SiteBase(*FindProduct("Larkspur Media Kit")) +
                  "larkspurmediakit/help/MoreFreeTools.html");

    const std::string penwick = SiteBase(*FindProduct("Penwick Platter Box"));
    EXPECT_EQ(GetHelpPage("Penwick Platter Box"), penwick);
    EXPECT_EQ(GetHomePage("Penwick Platter Box"), penwick);
    EXPECT_EQ(GetMoreToolsPage("Penwick Platter Box"), penwick);

    for (const char* name : {"", "quenby platter forge"}) {
        EXPECT_EQ(GetHelpPage(name), "");
        EXPECT_EQ(GetHomePage(name), "");
        EXPECT_EQ(GetMoreToolsPage(name), "");
    }
}

TEST(Pages, EveryProductHasItsOwnHost) {
    const char* names[] = {"Larkspur Media Kit",   "Velmora Optic Works",  "Quenby Platter Forge",
                           "Tamsin Media Foundry", "Orrick Platter Press", "Hollin Optic Bench",
                           "Brisco Media Loft",    "Penwick Platter Box",  "Dunmore Optic Guide"};
    std::vector<std::string> homes;
    for (const char* n : names) homes.push_back(GetHomePage(n));
    std::sort(homes.begin(), homes.end());
    EXPECT_EQ(std::unique(homes.begin(), homes.end()), homes.end());
}

} // namespace
} // namespace kel
