// The launcher's main window in process under Wine: skin loading in both layouts, its failures,
// the info text, the commands and the pop-up menus.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "LauncherTestSupport.h"
#include "launcher/HelpLinkFuncs.h"
#include "launcher/Main.h"
#include "skin/controls/KELButton.h"
#include "skin/controls/KELSkinForm.h"

namespace kel {
namespace {

using namespace kel::test;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Application->SetTitle("Larkspur Media Kit");
        WriteSkin("", 444, 217);
        WriteConfig("[SYSTEM]\r\nName=Larkspur Media Kit\r\n");
    }
    void TearDown() override {
        form.reset();
        Pump(10);
    }
    TFormMain& Create() {
        form.reset();
        form.reset(new TFormMain(nullptr));
        Application->SetMainForm(form.get());
        return *form;
    }
    std::vector<std::string> Targets() const {
        std::vector<std::string> files;
        for (const ShellCall& c : recorder.calls) files.push_back(c.file);
        return files;
    }
    static void Click(TkelImageButton* button) {
        SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }

    Recorder recorder;
    std::unique_ptr<TFormMain> form;
};

TEST_F(MainWindow, DefaultLayoutKeepsStoredSizesAndShapesTheWindow) {
    WriteSkin("", 444, 217, {20, 15});
    TFormMain& f = Create();
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_EQ(f.Caption(), "Larkspur Media Kit");
    EXPECT_EQ(f.ClientWidth(), 444);
    EXPECT_EQ(f.ClientHeight(), 217);
    EXPECT_EQ(f.BorderStyle(), TFormBorderStyle::bsNone);
    EXPECT_EQ(f.ButtonMin->Left(), 372);
    EXPECT_EQ(f.ButtonMin->Width(), 29); // the picture's 20 x 15 does not resize it here
    EXPECT_EQ(f.ButtonMin->Height(), 19);
    EXPECT_TRUE(f.ButtonMoreFreeTools->PicMouseDown().HasGraphic());
    EXPECT_TRUE(f.LabelInfo2->Visible());
    // Fuchsia corners are outside the window.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(f.Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 443, 0));
    EXPECT_TRUE(PtInRegion(region, 10, 10));
    DeleteObject(region);
}

TEST_F(MainWindow, AlternativeLayoutMovesAndAutoSizesEveryButton) {
    WriteSkin("2", 590, 450, {20, 15});
    WriteConfig("[SYSTEM]\r\nName=Larkspur Media Kit\r\nburnerRes=2\r\nSkin=1\r\n");
    TFormMain& f = Create();
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_EQ(f.ClientWidth(), 590);
    EXPECT_EQ(f.ButtonMin->Left(), 481);
    EXPECT_EQ(f.ButtonMin->Top(), 10);
    EXPECT_EQ(f.ButtonMin->Width(), 20);
    EXPECT_EQ(f.ButtonMin->Height(), 15);
    EXPECT_EQ(f.ButtonMoreFreeTools->Left(), 446);
    EXPECT_EQ(f.ButtonMoreFreeTools->Top(), 401);
    EXPECT_FALSE(f.LabelInfo2->Visible());
    EXPECT_EQ(f.LabelInfo1->Left(), 184);
    EXPECT_EQ(f.LabelInfo1->Top(), 120);
    EXPECT_EQ(f.LabelInfo1->Width(), 217);
    EXPECT_EQ(f.LabelInfo1->Height(), 57);
    EXPECT_TRUE(f.LabelInfo1->WordWrap());
    EXPECT_EQ(f.LabelInfo1->Font().Color(), 0xFFFFFFu);
    f.SetInfoText(std::string(300, 'w') + " words that wrap");
    EXPECT_EQ(f.LabelInfo1->Height(), 57); // the box stays, the text wraps inside it
}

TEST_F(MainWindow, OtherSkinNumbersKeepTheDefaultLayout) {
    for (const char* skin : {"0", "2", "-1"}) {
        WriteConfig(std::string("[SYSTEM]\r\nName=Larkspur Media Kit\r\nSkin=") + skin + "\r\n");
        TFormMain& f = Create();
        EXPECT_EQ(f.ButtonMin->Left(), 372) << skin;
        EXPECT_TRUE(f.LabelInfo2->Visible()) << skin;
    }
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(MainWindow, SkinThatIsNoNumberStopsBeforeAnythingIsLoaded) {
    for (const char* skin : {"abc", ""}) {
        recorder.errors.clear();
        recorder.calls.clear();
        WriteConfig(std::string("[SYSTEM]\r\nName=Larkspur Media Kit\r\nSkin=") + skin + "\r\n");
        TFormMain& f = Create();
        ASSERT_EQ(recorder.errors.size(), 1u);
        EXPECT_EQ(recorder.errors[0], std::string("'") + skin + "' is not a valid integer value.");
        EXPECT_EQ(recorder.errorCaptions[0], "Larkspur Media Kit");
        EXPECT_EQ(f.Caption(), "Larkspur Media Kit");
        EXPECT_EQ(f.ClientWidth(), 444);
        EXPECT_EQ(f.ClientHeight(), 217);
        EXPECT_TRUE(f.kelSkinFormMain->Glyph().Empty());
        EXPECT_FALSE(f.ButtonMin->PicNormal().HasGraphic());
        EXPECT_EQ(f.LabelInfo1->Caption(), "Welcome to!"); // the welcome text is never set
        f.Show();
        Pump(100);
        EXPECT_TRUE(recorder.calls.empty()); // and "afterrun.exe" never starts
    }
}

TEST_F(MainWindow, MissingOrInvalidBackgroundIsReported) {
    const std::string main = SkinFolder("") + "main.bmp";
    DeleteFileA(main.c_str());
    Create();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].rfind("Cannot open file \"" + main + "\". ", 0), 0u)
        << recorder.errors[0];
    EXPECT_EQ(recorder.errors[0].back(), '.');

    WriteFile(main, "BM this is no bitmap");
    recorder.errors.clear();
    TFormMain& f = Create();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Bitmap image is not valid.");
    EXPECT_EQ(f.ClientWidth(), 444);
}

TEST_F(MainWindow, PicturesBeyondTheSkinsPixelBudgetAreInvalidBitmaps) {
    // Small RLE files of large pictures. One of 8192 x 8192 is past the ceiling of a picture and
    // refused unread; 4000 x 4000 pictures (64 MB each decoded) fit one by one, but the third
    // passes what the skin may cost in all. Before the budget, 30 such files took the launcher
    // to gigabytes and a minute before its window showed.
    const std::string folder = SkinFolder("");
    WriteRle8Bitmap(folder + "min1.bmp", 8192, 8192);
    DWORD start = GetTickCount();
    TFormMain& f = Create();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Bitmap image is not valid.");
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(f.ClientWidth(), 444) << "the background was loaded before";

    WriteSkin("", 444, 217);
    for (const char* stem : {"min", "close", "data"})
        for (const char* slot : {"1", "2", "3"})
            WriteRle8Bitmap(folder + stem + slot + ".bmp", 4000, 4000);
    recorder.errors.clear();
    start = GetTickCount();
    TFormMain& g = Create();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Bitmap image is not valid.");
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_EQ(g.ButtonMin->PicMouseOn().Width(), 4000) << "two fit";
    EXPECT_FALSE(g.ButtonMin->PicMouseDown().HasGraphic()) << "the third does not";
    form.reset();
    WriteSkin("", 444, 217);
}

TEST_F(MainWindow, MissingButtonPictureKeepsEverythingLoadedBeforeIt) {
    WriteSkin("", 460, 230);
    WriteConfig("[SYSTEM]\r\nName=Larkspur Media Kit\r\nSkin=1\r\n");
    const std::string about2 = SkinFolder("") + "about2.bmp";
    DeleteFileA(about2.c_str());
    TFormMain& f = Create();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_NE(recorder.errors[0].find("\"" + about2 + "\""), std::string::npos);
    EXPECT_EQ(f.ClientWidth(), 460); // background and outline applied
    EXPECT_TRUE(f.ButtonHelp->PicMouseDown().HasGraphic());
    EXPECT_TRUE(f.ButtonAbout->PicNormal().HasGraphic());
    EXPECT_FALSE(f.ButtonAbout->PicMouseOn().HasGraphic());
    EXPECT_FALSE(f.ButtonAbout->PicMouseDown().HasGraphic());
    EXPECT_FALSE(f.ButtonMoreFreeTools->PicNormal().HasGraphic());
    EXPECT_EQ(f.ButtonMin->Left(), 372); // no alternative layout although Skin is 1
}

TEST_F(MainWindow, ProductIconReachesTheWindowAfterItsFirstPaintAlsoWhenTheSkinFails) {
    const HICON product = LoadIconA(GetModuleHandleA(nullptr), "a1");
    for (const char* skin : {"0", "abc"}) {
        Application->SetIcon(nullptr, false);
        recorder.errors.clear();
        WriteConfig(std::string("[SYSTEM]\r\nName=Larkspur Media Kit\r\nSkin=") + skin + "\r\n");
        TFormMain& f = Create();
        f.Show();
        Pump(100);
        EXPECT_EQ(Application->Icon().Handle(), product) << skin;
        for (WPARAM size : {ICON_BIG, ICON_SMALL})
            EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(f.Handle(), WM_GETICON, size, 0)),
                      product)
                << skin;
    }
}

TEST_F(MainWindow, InfoTextWelcomesAndFollowsTheLargeButtons) {
    TFormMain& f = Create();
    f.Show();
    EXPECT_EQ(f.LabelInfo1->Caption(), "Welcome to Larkspur Media Kit!");
    EXPECT_EQ(f.LabelInfo2->Caption(), "Welcome to Larkspur Media Kit!");
    SendMessageA(f.ButtonAudioCD->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(f.LabelInfo1->Caption(),
              "Create a standard Audio CD which will play on all audio CD players.");
    EXPECT_EQ(f.LabelInfo2->Caption(), f.LabelInfo1->Caption());
    SendMessageA(f.ButtonAudioCD->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(f.LabelInfo1->Caption(), "Welcome to Larkspur Media Kit!");
    SendMessageA(f.ButtonHelp->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(f.LabelInfo1->Caption(), "Welcome to Larkspur Media Kit!");
    SendMessageA(f.ButtonHelp->Handle(), WM_MOUSELEAVE, 0, 0);
}

TEST_F(MainWindow, EmptyTitleShowsNothingBetweenTheWelcomeWords) {
    Application->SetTitle("");
    TFormMain& f = Create();
    EXPECT_EQ(f.LabelInfo1->Caption(), "Welcome to !");
    Click(f.ButtonHelp);
    Click(f.ButtonHome);
    Click(f.ButtonMoreFreeTools);
    EXPECT_EQ(Targets(), (std::vector<std::string>{"", "", ""}));
}

TEST_F(MainWindow, CommandsOpenTheirTargetsWithTheHourglassAndAfterrunOnce) {
    TFormMain& f = Create();
    f.Show();
    Pump(100);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].file, ProgramFolder() + "afterrun.exe");
    EXPECT_EQ(recorder.calls[0].owner, f.Handle());
    EXPECT_EQ(recorder.calls[0].show, SW_SHOW);
    EXPECT_FALSE(recorder.calls[0].hourglass);
    recorder.calls.clear();

    Click(f.ButtonDataCDDVD);
    Click(f.ButtonVCDDVDVideo);
    Click(f.ButtonHelp);
    Click(f.ButtonHome);
    Click(f.ButtonMoreFreeTools);
    const std::string title = "Larkspur Media Kit";
    EXPECT_EQ(Targets(), (std::vector<std::string>{
                             ProgramFolder() + "mkfiles.exe", ProgramFolder() + "mkmovie.exe",
                             GetHelpPage(title), GetHomePage(title), GetMoreToolsPage(title)}));
    for (const ShellCall& c : recorder.calls) {
        EXPECT_EQ(c.verb, "open");
        EXPECT_EQ(c.owner, Application->Handle());
        EXPECT_EQ(c.show, SW_SHOWDEFAULT);
        EXPECT_TRUE(c.hourglass);
    }
    EXPECT_EQ(WaitCount(), 0);
    EXPECT_EQ(Screen->Cursor(), crDefault);

    recorder.calls.clear();
    const std::pair<TMenuItem*, const char*> items[] = {
        {f.Menu1, "mkmusic.exe"}, {f.Menu2, "ripmusic.exe"}, {f.Menu3, "imgwrite.exe"},
        {f.Menu4, "imgread.exe"}, {f.Menu5, "imgmake.exe"},  {f.Menu6, "blanker.exe"},
        {f.Menu7, "drvprobe.exe"}};
    for (const auto& item : items) item.first->Click();
    ASSERT_EQ(recorder.calls.size(), 7u);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(recorder.calls[i].file, ProgramFolder() + items[i].second);
}

// What a helper thread saw of the open pop-up menu before choosing an item from it (or
// dismissing it with chooseIndex -1). The menu runs its own loop on the GUI thread, so the
// helper posts keys to the menu window from outside.
struct MenuSeen {
    RECT rect{};
    int count = 0;
    std::vector<bool> separators;
    int chooseIndex = -1;
};

std::thread InspectMenu(MenuSeen& seen) {
    return std::thread([&seen] {
        HWND menuWindow = nullptr;
        for (int i = 0; i < 400 && !menuWindow; ++i) {
            Sleep(10);
            HWND w = FindWindowA("#32768", nullptr);
            if (w && IsWindowVisible(w)) menuWindow = w;
        }
        if (!menuWindow) return;
        GetWindowRect(menuWindow, &seen.rect);
        HMENU menu =
            reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
        seen.count = GetMenuItemCount(menu);
        for (int i = 0; i < seen.count; ++i)
            seen.separators.push_back((GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) != 0);
        if (seen.chooseIndex < 0) {
            PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        for (int i = 0; i <= seen.chooseIndex; ++i)
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    });
}

TEST_F(MainWindow, PopupMenusOpenAtTheButtonsLowerLeftCorner) {
    TFormMain& f = Create();
    f.Show();
    Pump(50);
    recorder.calls.clear();

    MenuSeen audio;
    audio.chooseIndex = 1; // "Audio CD Grabber"
    std::thread inspector = InspectMenu(audio);
    Click(f.ButtonAudioCD);
    inspector.join();
    const POINT corner = f.ButtonAudioCD->ClientToScreen({0, f.ButtonAudioCD->Height()});
    EXPECT_EQ(f.PopupMenuAudioCD->LastPopupPoint().x, corner.x);
    EXPECT_EQ(f.PopupMenuAudioCD->LastPopupPoint().y, corner.y);
    EXPECT_EQ(audio.rect.left, corner.x);
    EXPECT_EQ(audio.rect.top, corner.y);
    EXPECT_EQ(audio.count, 2);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].file, ProgramFolder() + "ripmusic.exe");

    MenuSeen more;
    inspector = InspectMenu(more);
    Click(f.ButtonMoreTools);
    inspector.join();
    EXPECT_EQ(more.count, 6);
    EXPECT_EQ(more.separators, (std::vector<bool>{false, false, false, true, false, false}));
    EXPECT_EQ(recorder.calls.size(), 1u); // dismissing the menu starts nothing
}

} // namespace
} // namespace kel
