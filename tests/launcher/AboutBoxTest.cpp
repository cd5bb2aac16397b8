// The About box in process under Wine: its fields, links and modal run.
#include <gtest/gtest.h>

#include <memory>

#include "LauncherTestSupport.h"
#include "launcher/HelpLinkFuncs.h"
#include "launcher/ufrmAbout.h"

namespace kel {
namespace {

using namespace kel::test;

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        savedYear = TfrmAbout::CurrentYear;
        Application->SetTitle("Brisco Media Loft");
    }
    void TearDown() override { TfrmAbout::CurrentYear = savedYear; }

    std::unique_ptr<TfrmAbout> Shown() {
        std::unique_ptr<TfrmAbout> about(new TfrmAbout(nullptr));
        about->FormShow(about.get());
        return about;
    }

    Recorder recorder;
    std::function<int()> savedYear;
};

TEST_F(AboutBox, FieldsNameTheProductItsSiteAndSupportAddress) {
    WriteConfig("[SYSTEM]\r\nVersion=2.4.1\r\nCopyright=Brisco Soft\r\n");
    TfrmAbout::CurrentYear = [] { return 2031; };
    auto about = Shown();
    EXPECT_EQ(about->Caption(), "About Brisco Media Loft");
    EXPECT_EQ(about->lblAppName->Caption(), "Brisco Media Loft");
    EXPECT_EQ(about->LabelWeb->Caption(), GetHomePage("Brisco Media Loft"));
    EXPECT_EQ(about->LabelSupportEmail->Caption(), "support@briscoloft.com");
    EXPECT_EQ(about->LabelVersion->Caption(), "2.4.1");
    const std::string rights = about->LabelCopyright->Caption();
    EXPECT_NE(rights.find("2005-2031 Brisco Soft"), std::string::npos) << rights;
    EXPECT_EQ(about->BorderStyle(), TFormBorderStyle::bsDialog);
    EXPECT_EQ(about->ClientWidth(), 385);
    EXPECT_EQ(about->ClientHeight(), 159);
}

TEST_F(AboutBox, MissingValuesLeaveTheirPlacesEmptyAndPercentStaysAsItIs) {
    WriteConfig("[SYSTEM]\r\nName=x\r\n");
    auto about = Shown();
    EXPECT_EQ(about->LabelVersion->Caption(), "");
    const std::string rights = about->LabelCopyright->Caption();
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_NE(rights.find("2005-" + std::to_string(now.wYear) + " ."), std::string::npos) << rights;

    WriteConfig("[SYSTEM]\r\nVersion=100% %s %d\r\nCopyright=50%d\r\n");
    about = Shown();
    EXPECT_EQ(about->LabelVersion->Caption(), "100% %s %d");
    EXPECT_NE(about->LabelCopyright->Caption().find(" 50%d"), std::string::npos);
}

TEST_F(AboutBox, NoProductGivesEmptyLinks) {
    Application->SetTitle("");
    auto about = Shown();
    EXPECT_EQ(about->Caption(), "About ");
    EXPECT_EQ(about->LabelWeb->Caption(), "");
    EXPECT_EQ(about->LabelSupportEmail->Caption(), "support@");
    about->LabelWebClick(nullptr);
    about->LabelSupportEmailClick(nullptr);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].file, "");
    EXPECT_EQ(recorder.calls[1].file, "mailto:support@");
    EXPECT_FALSE(recorder.calls[0].hourglass);
}

TEST_F(AboutBox, LinksOpenThroughTheShellAndShowTheHandCursor) {
    auto about = Shown();
    about->LabelWebClick(nullptr);
    about->LabelSupportEmailClick(nullptr);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].file, GetHomePage("Brisco Media Loft"));
    EXPECT_EQ(recorder.calls[1].file, "mailto:support@briscoloft.com");
    EXPECT_EQ(recorder.calls[0].owner, Application->Handle());
    EXPECT_EQ(recorder.calls[0].show, SW_SHOWDEFAULT);
    EXPECT_EQ(about->LabelWeb->Font().Color(), clBlue);
    EXPECT_TRUE(about->LabelWeb->Font().Style() & fsUnderline);
    about->LabelWebMouseEnter(nullptr);
    EXPECT_EQ(about->Cursor(), crHandPoint);
    EXPECT_EQ(about->LabelWeb->Cursor(), crDefault);
    about->LabelWebMouseLeave(nullptr);
    EXPECT_EQ(about->Cursor(), crArrow);
}

// Presses Enter on the OK button from inside the modal loop (to its window directly: another
// program may hold the foreground meanwhile).
TfrmAbout* gShown = nullptr;

void CALLBACK PressEnter(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gShown || !IsWindowVisible(gShown->Handle())) return;
    KillTimer(nullptr, id);
    PostMessageA(gShown->Button1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(AboutBox, RunsModallyCentredAndEnterPressesOk) {
    std::unique_ptr<TfrmAbout> about(new TfrmAbout(nullptr));
    gShown = about.get();
    SetTimer(nullptr, 0, 50, PressEnter);
    EXPECT_EQ(about->ShowModal(), mrOk);
    gShown = nullptr;
    EXPECT_EQ(about->Left(), (GetSystemMetrics(SM_CXSCREEN) - about->Width()) / 2);
    EXPECT_EQ(about->Top(), (GetSystemMetrics(SM_CYSCREEN) - about->Height()) / 2);
    EXPECT_EQ(about->Caption(), "About Brisco Media Loft");
}

} // namespace
} // namespace kel
