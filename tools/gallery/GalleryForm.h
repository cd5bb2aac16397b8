// The gallery's window: a skinned form with a menu bar and the library's controls, switched
// between the built-in styles and skin files while it runs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "skin/controls/KELButton.h"
#include "skin/controls/KELSkinForm.h"
#include "skin/frame/KELForm.h"
#include "skin/frame/KELMainMenu.h"
#include "skin/frame/KELPopupMenu.h"

namespace kel::gallery {

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner);
    ~TGalleryForm() override;

    // Switches every control to a built-in style.
    void UseStyle(TkelUIStyle style);
    // Loads a skin file and switches to it; on failure the message box says why (a wrong or
    // missing password told apart from a damaged file) and the look stays as it was. True when
    // the skin file is in use.
    bool UseSkinFile(const std::string& path, const std::string& password);
    // The name of the look in use: a style's name or the skin file's name.
    const std::string& LookName() const { return lookName_; }
    // The skin files of the gallery's skins folder, sorted.
    const std::vector<std::string>& SkinFiles() const { return skinFiles_; }
    TkelForm& Skin() { return *skin_; }

private:
    void BuildMenu();
    void BuildControls();
    void RefreshStyleChecks();
    void LookChanged(const std::string& name);
    void OpenSkinFile();
    void ChooseSkinFile(const std::string& path);
    void ShowAbout();
    TMenuItem* AddItem(TMenuItem& parent, const std::string& caption, TShortCut shortCut,
                       std::function<void()> action);

    std::unique_ptr<TComponent> previewOwner_; // owns the skin form preview
    TkelForm* skin_ = nullptr;
    TkelMainMenu* menu_ = nullptr;
    TMenuItem* styleMenu_ = nullptr;
    TkelPopupMenu* popup_ = nullptr;
    TkelFileTheme* theme_ = nullptr; // the skin file in use, or nullptr
    TLabel* status_ = nullptr;
    TkelSkinForm* preview_ = nullptr;
    TLabel* counterLabel_ = nullptr;
    std::vector<TkelCustomButton*> buttons_;
    std::vector<std::string> skinFiles_;
    std::string lookName_;
    int repeats_ = 0;
};

// The gallery's folder of demo skins: "skins" beside the program.
std::string SkinsFolder();

} // namespace kel::gallery
