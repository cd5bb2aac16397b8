// The main window's components with the values its form stores, in creation order.
#include "launcher/Main.h"

#include "skin/controls/KELButton.h"
#include "skin/controls/KELSkinForm.h"

namespace kel {

namespace {

struct ButtonLayout {
    TkelImageButton* TFormMain::*field;
    const char* name;
    int left, top, width, height;
};

const ButtonLayout kButtons[] = {
    {&TFormMain::ButtonMin, "ButtonMin", 372, 7, 29, 19},
    {&TFormMain::ButtonClose, "ButtonClose", 399, 7, 30, 19},
    {&TFormMain::ButtonDataCDDVD, "ButtonDataCDDVD", 20, 40, 99, 108},
    {&TFormMain::ButtonVCDDVDVideo, "ButtonVCDDVDVideo", 121, 40, 99, 108},
    {&TFormMain::ButtonAudioCD, "ButtonAudioCD", 225, 40, 99, 108},
    {&TFormMain::ButtonMoreTools, "ButtonMoreTools", 323, 40, 99, 108},
    {&TFormMain::ButtonHelp, "ButtonHelp", 30, 182, 82, 33},
    {&TFormMain::ButtonAbout, "ButtonAbout", 112, 182, 79, 33},
    {&TFormMain::ButtonHome, "ButtonHome", 191, 182, 78, 33},
    {&TFormMain::ButtonMoreFreeTools, "ButtonMoreFreeTools", 269, 182, 139, 33},
};

TLabel* CreateInfoLabel(TFormMain* form, const char* name, int left, int top, TColor color) {
    auto* label = new TLabel(form);
    label->SetName(name);
    label->SetParent(form);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption("Welcome to!");
    label->Font().SetName("Tahoma");
    label->Font().SetHeight(-11);
    label->Font().SetCharset(ANSI_CHARSET);
    label->Font().SetColor(color);
    label->Font().SetStyle(0);
    // Smoothed like the lettering of the skin's artwork, also where the system draws text aliased.
    label->Font().SetQuality(ANTIALIASED_QUALITY);
    label->SetParentFont(false);
    label->SetTransparent(true);
    return label;
}

TMenuItem* CreateMenuItem(TFormMain* form, TPopupMenu* menu, const char* name, const char* caption,
                          void (TFormMain::*handler)(TObject*)) {
    auto* item = new TMenuItem(form);
    item->SetName(name);
    item->SetCaption(caption);
    if (handler) item->OnClick = [form, handler](TObject* sender) { (form->*handler)(sender); };
    menu->Items().Add(item);
    return item;
}

} // namespace

void TFormMain::CreateComponents() {
    kelSkinFormMain = new TkelSkinForm(this);
    kelSkinFormMain->SetName("kelSkinFormMain");
    kelSkinFormMain->SetParent(this);
    kelSkinFormMain->SetBounds(0, 0, 444, 217);
    kelSkinFormMain->SetTransparentColor(clFuchsia);

    LabelInfo2 = CreateInfoLabel(this, "LabelInfo2", 17, 161, clWhite);
    LabelInfo1 = CreateInfoLabel(this, "LabelInfo1", 16, 160, 2894893);

    for (const ButtonLayout& b : kButtons) {
        auto* button = new TkelImageButton(this);
        this->*b.field = button;
        button->SetName(b.name);
        button->SetParent(this);
        button->SetBounds(b.left, b.top, b.width, b.height);
        button->SetCursor(crHandPoint);
        button->SetAutoSize(true);
        button->SetUIStyle(TkelUIStyle::FromThemeFile);
        button->SetDrawFocused(false);
        button->SetFocusedRectMargin(2);
        button->SetStretch(false);
        button->SetMouseContinuouslyDownInterval(100);
        button->SetTransparent(false);
        button->SetModalResult(0);
    }

    const auto click = [this](TkelImageButton* button, void (TFormMain::*handler)(TObject*)) {
        button->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    click(ButtonMin, &TFormMain::ButtonMinClick);
    click(ButtonClose, &TFormMain::ButtonCloseClick);
    click(ButtonDataCDDVD, &TFormMain::ButtonDataCDDVDClick);
    click(ButtonVCDDVDVideo, &TFormMain::ButtonVCDDVDVideoClick);
    click(ButtonAudioCD, &TFormMain::ButtonAudioCDClick);
    click(ButtonMoreTools, &TFormMain::ButtonMoreToolsClick);
    click(ButtonHelp, &TFormMain::ButtonHelpClick);
    click(ButtonAbout, &TFormMain::ButtonAboutClick);
    click(ButtonHome, &TFormMain::ButtonHomeClick);
    click(ButtonMoreFreeTools, &TFormMain::ButtonMoreFreeToolsClick);

    // The four large buttons explain themselves in the info text while the mouse is over them.
    const struct {
        TkelImageButton* button;
        const char* hover;
    } hovers[] = {
        {ButtonDataCDDVD,
         "Create a data CD/DVD/Blu-ray Disc which can be used to save all types of files/folders"},
        {ButtonVCDDVDVideo,
         "Create a high quality VCD/SVCD/DVD-Video from your video/DVD-Video file structures"},
        {ButtonAudioCD, "Create a standard Audio CD which will play on all audio CD players."},
        {ButtonMoreTools, "Disc Eraser, Device Info, ISO Builder, ISO Burner, ISO Grabber..."},
    };
    for (const auto& h : hovers) {
        const std::string text = h.hover;
        h.button->OnMouseEnter = [this, text](TObject*) { SetInfoText(text); };
        h.button->OnMouseExit = [this](TObject*) { SetInfoText(WelcomeText()); };
    }

    PopupMenuAudioCD = new TPopupMenu(this);
    PopupMenuAudioCD->SetName("PopupMenuAudioCD");
    Menu1 =
        CreateMenuItem(this, PopupMenuAudioCD, "Menu1", "Audio CD Burner", &TFormMain::Menu1Click);
    Menu2 =
        CreateMenuItem(this, PopupMenuAudioCD, "Menu2", "Audio CD Grabber", &TFormMain::Menu2Click);

    PopupMenuMoreTools = new TPopupMenu(this);
    PopupMenuMoreTools->SetName("PopupMenuMoreTools");
    Menu3 = CreateMenuItem(this, PopupMenuMoreTools, "Menu3", "ISO Burner", &TFormMain::Menu3Click);
    Menu4 =
        CreateMenuItem(this, PopupMenuMoreTools, "Menu4", "ISO Grabber", &TFormMain::Menu4Click);
    Menu5 =
        CreateMenuItem(this, PopupMenuMoreTools, "Menu5", "ISO Builder", &TFormMain::Menu5Click);
    N1 = CreateMenuItem(this, PopupMenuMoreTools, "N1", "-", nullptr);
    Menu6 =
        CreateMenuItem(this, PopupMenuMoreTools, "Menu6", "Disc Eraser", &TFormMain::Menu6Click);
    Menu7 =
        CreateMenuItem(this, PopupMenuMoreTools, "Menu7", "Device Info", &TFormMain::Menu7Click);
}

} // namespace kel
