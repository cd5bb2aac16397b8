// The launcher's main window: a bitmap-shaped window with ten picture buttons that start the
// sibling tools, open the product's web pages and the About box, minimise and close.
#pragma once

#include <string>

#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"

namespace kel {

class TkelSkinForm;
class TkelImageButton;

// Posted by the main window to itself once created; handled after the window is on screen.
constexpr UINT WM_AFTERSHOW = WM_USER + 1;
// Posted by the main window to itself once created, also when its skin failed to load: the product
// icon is set after the first paint, which it would otherwise delay.
constexpr UINT WM_APPLYICON = WM_USER + 2;

class TFormMain : public TForm {
    KEL_DECLARE_CLASS(TFormMain)
public:
    explicit TFormMain(TComponent* owner);

    // Components, in the order the form declares them.
    TkelSkinForm* kelSkinFormMain;
    TkelImageButton* ButtonMin;
    TkelImageButton* ButtonClose;
    TkelImageButton* ButtonDataCDDVD;
    TkelImageButton* ButtonVCDDVDVideo;
    TkelImageButton* ButtonAudioCD;
    TkelImageButton* ButtonMoreTools;
    TkelImageButton* ButtonHelp;
    TkelImageButton* ButtonAbout;
    TkelImageButton* ButtonHome;
    TkelImageButton* ButtonMoreFreeTools;
    TLabel* LabelInfo1;
    TLabel* LabelInfo2;
    TPopupMenu* PopupMenuAudioCD;
    TMenuItem* Menu1;
    TMenuItem* Menu2;
    TPopupMenu* PopupMenuMoreTools;
    TMenuItem* Menu3;
    TMenuItem* Menu4;
    TMenuItem* Menu5;
    TMenuItem* N1;
    TMenuItem* Menu6;
    TMenuItem* Menu7;

    // Shapes, sizes and lays out the window from the skin folder named by the configuration.
    void LoadSkin();
    void SetInfoText(const std::string& text);
    std::string WelcomeText() const;

    void FormCreate(TObject* sender);
    void ButtonMinClick(TObject* sender);
    void ButtonCloseClick(TObject* sender);
    void ButtonDataCDDVDClick(TObject* sender);
    void ButtonVCDDVDVideoClick(TObject* sender);
    void ButtonAudioCDClick(TObject* sender);
    void ButtonMoreToolsClick(TObject* sender);
    void ButtonHelpClick(TObject* sender);
    void ButtonAboutClick(TObject* sender);
    void ButtonHomeClick(TObject* sender);
    void ButtonMoreFreeToolsClick(TObject* sender);
    void Menu1Click(TObject* sender);
    void Menu2Click(TObject* sender);
    void Menu3Click(TObject* sender);
    void Menu4Click(TObject* sender);
    void Menu5Click(TObject* sender);
    void Menu6Click(TObject* sender);
    void Menu7Click(TObject* sender);
    void WMAfterShow();

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateComponents();
    void PopupUnder(TPopupMenu& menu, const TkelImageButton& button);
};

} // namespace kel
