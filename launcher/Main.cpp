#include "launcher/Main.h"

#include <shellapi.h>

#include <memory>

#include "framework/SysUtils.h"
#include "launcher/HelpLinkFuncs.h"
#include "launcher/Startup.h"
#include "launcher/UtilFuncs.h"
#include "launcher/ufrmAbout.h"
#include "skin/controls/KELButton.h"
#include "skin/controls/KELSkinForm.h"

namespace kel {

const TClassInfo& TFormMain::StaticClassInfo() {
    static const TClassInfo info("TFormMain", &TForm::StaticClassInfo());
    return info;
}

TFormMain::TFormMain(TComponent* owner) : TForm(owner) {
    SetName("FormMain");
    SetBounds(470, 264, Width(), Height());
    SetClientWidth(444);
    SetClientHeight(217);
    SetPosition(TPosition::poDesktopCenter);
    SetColor(clBtnFace);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    Font().SetCharset(ANSI_CHARSET);
    Font().SetColor(clWindowText);
    Font().SetStyle(0);
    CreateComponents();
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    DoCreate();
    PostMessageA(Handle(), WM_APPLYICON, 0, 0);
}

std::string TFormMain::WelcomeText() const {
    return "Welcome to " + Application->Title() + "!";
}

void TFormMain::SetInfoText(const std::string& text) {
    LabelInfo1->SetCaption(text);
    LabelInfo2->SetCaption(text);
}

void TFormMain::LoadSkin() {
    SetCaption(Application->Title());
    const std::string resources = ReadConfigValue("burnerRes", "");
    const int layout = StrToInt(ReadConfigValue("Skin", "0"));
    const std::string folder = AddBackslash(ProgramFolder() + "sounds\\burnerRes" + resources);
    // What the skin's 31 pictures may cost together; a picture beyond it is an invalid bitmap.
    const TPixelBudget budget(kMaxSkinPicturePixels, kMaxSkinPixels);

    // The picture goes into the glyph in place; writing the key colour again applies it.
    kelSkinFormMain->Glyph().LoadFromFile(folder + "main.bmp");
    kelSkinFormMain->SetTransparentColor(0xFF00FF);

    const struct {
        TkelImageButton* button;
        const char* file;
    } pictures[] = {
        {ButtonMin, "min"},        {ButtonClose, "close"},
        {ButtonDataCDDVD, "data"}, {ButtonVCDDVDVideo, "video"},
        {ButtonAudioCD, "audio"},  {ButtonMoreTools, "moretools"},
        {ButtonHelp, "help"},      {ButtonAbout, "about"},
        {ButtonHome, "home"},      {ButtonMoreFreeTools, "more"},
    };
    for (const auto& p : pictures) {
        const std::string stem = folder + p.file;
        p.button->PicNormal().LoadFromFile(stem + "1.bmp");
        p.button->PicMouseOn().LoadFromFile(stem + "2.bmp");
        p.button->PicMouseDown().LoadFromFile(stem + "3.bmp");
    }
    if (layout != 1) return;

    // The alternative layout: every button moves and takes the size of its normal picture.
    const struct {
        TkelImageButton* button;
        int left, top;
    } alternative[] = {
        {ButtonMin, 481, 10},       {ButtonClose, 533, 11},
        {ButtonDataCDDVD, 446, 41}, {ButtonVCDDVDVideo, 251, 294},
        {ButtonAudioCD, 406, 216},  {ButtonMoreTools, 49, 299},
        {ButtonHelp, 501, 11},      {ButtonAbout, 516, 11},
        {ButtonHome, 9, 8},         {ButtonMoreFreeTools, 446, 401},
    };
    for (const auto& a : alternative) {
        a.button->SetLeft(a.left);
        a.button->SetTop(a.top);
        a.button->SetAutoSize(true);
    }
    LabelInfo2->SetVisible(false);
    LabelInfo1->SetLeft(184);
    LabelInfo1->SetTop(120);
    LabelInfo1->SetWidth(217);
    LabelInfo1->SetHeight(57);
    LabelInfo1->SetAutoSize(false);
    LabelInfo1->SetWordWrap(true);
    LabelInfo1->Font().SetColor(0xFFFFFF);
}

void TFormMain::FormCreate(TObject*) {
    LoadSkin();
    SetInfoText(WelcomeText());
    PostMessageA(Handle(), WM_AFTERSHOW, 0, 0);
}

LRESULT TFormMain::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_AFTERSHOW) {
        WMAfterShow();
        return 0;
    }
    if (message == WM_APPLYICON) {
        ApplyProductIcon();
        return 0;
    }
    return TForm::WndProc(message, wParam, lParam);
}

void TFormMain::WMAfterShow() {
    Show();
    BringWindowToTop(Handle());
    // Paint the window before the shell call, so it never waits unpainted for a tool to start.
    UpdateWindow(Handle());
    ShellExecuteFn(Handle(), "open", (ProgramFolder() + "afterrun.exe").c_str(), nullptr, nullptr,
                   SW_SHOW);
}

void TFormMain::PopupUnder(TPopupMenu& menu, const TkelImageButton& button) {
    // The window has no border, so its client area starts at its top-left corner.
    menu.Popup(Left() + button.Left(), Top() + button.Top() + button.Height());
}

void TFormMain::ButtonMinClick(TObject*) {
    Application->Minimize();
}
void TFormMain::ButtonCloseClick(TObject*) {
    Close();
}
void TFormMain::ButtonDataCDDVDClick(TObject*) {
    ShellOpen(ProgramFolder() + "mkfiles.exe");
}
void TFormMain::ButtonVCDDVDVideoClick(TObject*) {
    ShellOpen(ProgramFolder() + "mkmovie.exe");
}
void TFormMain::ButtonAudioCDClick(TObject*) {
    PopupUnder(*PopupMenuAudioCD, *ButtonAudioCD);
}
void TFormMain::ButtonMoreToolsClick(TObject*) {
    PopupUnder(*PopupMenuMoreTools, *ButtonMoreTools);
}
void TFormMain::ButtonHelpClick(TObject*) {
    ShellOpen(GetHelpPage(Application->Title()));
}
void TFormMain::ButtonHomeClick(TObject*) {
    ShellOpen(GetHomePage(Application->Title()));
}
void TFormMain::ButtonMoreFreeToolsClick(TObject*) {
    ShellOpen(GetMoreToolsPage(Application->Title()));
}

void TFormMain::ButtonAboutClick(TObject*) {
    // A fresh dialog for every opening, owned by the main window and freed when it closes.
    std::unique_ptr<TfrmAbout> about(new TfrmAbout(this));
    about->ShowModal();
}

void TFormMain::Menu1Click(TObject*) {
    ShellOpen(ProgramFolder() + "mkmusic.exe");
}
void TFormMain::Menu2Click(TObject*) {
    ShellOpen(ProgramFolder() + "ripmusic.exe");
}
void TFormMain::Menu3Click(TObject*) {
    ShellOpen(ProgramFolder() + "imgwrite.exe");
}
void TFormMain::Menu4Click(TObject*) {
    ShellOpen(ProgramFolder() + "imgread.exe");
}
void TFormMain::Menu5Click(TObject*) {
    ShellOpen(ProgramFolder() + "imgmake.exe");
}
void TFormMain::Menu6Click(TObject*) {
    ShellOpen(ProgramFolder() + "blanker.exe");
}
void TFormMain::Menu7Click(TObject*) {
    ShellOpen(ProgramFolder() + "drvprobe.exe");
}

} // namespace kel
