#include "tools/gallery/GalleryForm.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "framework/win/ExtCtrls.h"
#include "tools/gallery/GalleryArgs.h"
#include "tools/gallery/PasswordPrompt.h"

namespace kel::gallery {

namespace fs = std::filesystem;

namespace {

// A picture of the image buttons: a rounded face in one colour with a light rim.
void DrawFace(TPicture& picture, TColor face, TColor rim) {
    TBitmap& bitmap = picture.Bitmap();
    bitmap.SetSize(72, 26);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clFuchsia);
    canvas.FillRect({0, 0, 72, 26});
    canvas.Brush().SetColor(face);
    canvas.Pen().SetColor(rim);
    RoundRect(canvas.Handle(), 0, 0, 72, 26, 10, 10);
    bitmap.SetTransparent(true);
    bitmap.SetTransparentColor(clFuchsia);
}

// The preview's skin picture: a rounded badge on the colour around it.
void DrawBadge(TBitmap& bitmap, TColor background) {
    bitmap.SetSize(150, 90);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::Solid);
    canvas.Brush().SetColor(background);
    canvas.FillRect({0, 0, 150, 90});
    canvas.Brush().SetColor(0x8A5A2E);
    canvas.Pen().SetColor(0xE0C090);
    RoundRect(canvas.Handle(), 0, 0, 150, 90, 40, 40);
    canvas.Brush().SetStyle(TBrushStyle::Clear);
    canvas.Font().SetColor(clWhite);
    canvas.Font().SetStyle(fsBold);
    canvas.TextOut(26, 36, "Skin form");
}

} // namespace

std::string SkinsFolder() {
    const fs::path exe(ExeName());
    return (exe.parent_path() / "skins").string();
}

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    SetCaption("Skin Gallery");
    SetPosition(TPosition::poScreenCenter);
    SetBounds(0, 0, 640, 480);
    skin_ = new TkelForm(this);
    skin_->SetUIStyleAutoUpdateSub(true);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SkinsFolder(), error))
        if (entry.is_regular_file(error) && entry.path().extension() == ".skn")
            skinFiles_.push_back(entry.path().string());
    std::sort(skinFiles_.begin(), skinFiles_.end());
    BuildMenu();
    BuildControls();
    UseStyle(TkelUIStyle::DeepBlue);
}

TGalleryForm::~TGalleryForm() = default;

TMenuItem* TGalleryForm::AddItem(TMenuItem& parent, const std::string& caption, TShortCut shortCut,
                                 std::function<void()> action) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    if (shortCut) item->SetShortCut(shortCut);
    if (action) item->OnClick = [action = std::move(action)](TObject*) { action(); };
    parent.Add(item);
    return item;
}

void TGalleryForm::BuildMenu() {
    menu_ = new TkelMainMenu(this);
    TMenuItem& root = menu_->Items();
    TMenuItem* file = AddItem(root, "&File", 0, nullptr);
    AddItem(*file, "&Open skin file...", ShortCut('O', ssCtrl), [this] { OpenSkinFile(); });
    AddItem(*file, "-", 0, nullptr);
    AddItem(*file, "E&xit", ShortCut('Q', ssCtrl), [this] { Close(); });
    styleMenu_ = AddItem(root, "&Style", 0, nullptr);
    for (TkelUIStyle style : kBuiltInStyles)
        AddItem(*styleMenu_, StyleName(style), 0, [this, style] { UseStyle(style); });
    if (!skinFiles_.empty()) AddItem(*styleMenu_, "-", 0, nullptr);
    for (const std::string& path : skinFiles_)
        AddItem(*styleMenu_, fs::path(path).stem().string(), 0,
                [this, path] { ChooseSkinFile(path); });
    TMenuItem* help = AddItem(root, "&Help", 0, nullptr);
    AddItem(*help, "&About Skin Gallery", 0, [this] { ShowAbout(); });
    skin_->SetMenu(menu_);
}

void TGalleryForm::BuildControls() {
    status_ = new TLabel(this);
    status_->SetTransparent(true);
    status_->SetParent(skin_);
    status_->SetBounds(24, 80, 400, 18);

    const char* captions[] = {"&Normal", "&Default", "Disa&bled", "&Hold me"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new TkelCustomButton(this);
        button->SetParent(skin_);
        button->SetBounds(24 + i * 110, 110, 96, 26);
        button->SetCaption(captions[i]);
        button->SetTransparent(true);
        buttons_.push_back(button);
    }
    buttons_[1]->SetDefault(true);
    buttons_[2]->SetEnabled(false);
    buttons_[3]->SetMouseContinuouslyDownInterval(100);
    counterLabel_ = new TLabel(this);
    counterLabel_->SetTransparent(true);
    counterLabel_->SetParent(skin_);
    counterLabel_->SetBounds(464, 116, 150, 18);
    counterLabel_->SetCaption("Repeats: 0");
    buttons_[3]->OnMouseContinuouslyDown = [this](TObject*) {
        counterLabel_->SetCaption("Repeats: " + std::to_string(++repeats_));
    };

    const TColor faces[][2] = {{0x3C8C3C, 0xB0E0B0}, {0x2E5A8A, 0x90C0E0}};
    for (int i = 0; i < 2; ++i) {
        auto* image = new TkelImageButton(this);
        image->SetParent(skin_);
        image->SetBounds(24 + i * 90, 160, 72, 26);
        TPicture normal, over;
        DrawFace(normal, faces[i][0], faces[i][1]);
        DrawFace(over, faces[i][1], faces[i][0]);
        image->SetPicNormal(normal);
        image->SetPicMouseOn(over);
        image->SetPicMouseDown(over);
        image->SetCaption(i == 0 ? "Go" : "Stop");
        image->SetTransparent(true);
    }

    // A skin form owned by no form only sizes and paints itself: a preview of its picture.
    previewOwner_ = std::make_unique<TComponent>(nullptr);
    preview_ = new TkelSkinForm(previewOwner_.get());
    preview_->SetParent(skin_);

    auto* hint = new TLabel(this);
    hint->SetTransparent(true);
    hint->SetParent(skin_);
    hint->SetBounds(200, 230, 400, 18);
    hint->SetCaption("Right-click anywhere here for a skinned pop-up menu.");

    popup_ = new TkelPopupMenu(this);
    TMenuItem& items = popup_->Items();
    TMenuItem* checked = AddItem(items, "&Checked item", 0, nullptr);
    checked->SetChecked(true);
    checked->OnClick = [checked](TObject*) { checked->SetChecked(!checked->Checked()); };
    TMenuItem* withImage = AddItem(items, "Item with an &image", 0, nullptr);
    withImage->SetImageIndex(0);
    popup_->SetImages(&SharedMenuCheckMarks());
    AddItem(items, "-", 0, nullptr);
    AddItem(items, "&Disabled item", 0, nullptr)->SetEnabled(false);
    skin_->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
        if (button != mbRight) return;
        const POINT p = skin_->ClientToScreen({x, y});
        popup_->Popup(p.x, p.y);
    };
}

void TGalleryForm::LookChanged(const std::string& name) {
    lookName_ = name;
    status_->SetCaption("Look: " + name);
    TBitmap badge;
    DrawBadge(badge, skin_->Color());
    preview_->SetGlyph(badge);
    preview_->SetBounds(24, 210, badge.Width(), badge.Height());
    popup_->SetUIStyle(skin_->UIStyle());
    popup_->SetFileTheme(theme_);
    RefreshStyleChecks();
}

void TGalleryForm::RefreshStyleChecks() {
    for (int i = 0; i < styleMenu_->Count(); ++i) {
        TMenuItem* item = styleMenu_->Items(i);
        if (!item->IsLine()) item->SetChecked(item->Caption() == lookName_);
    }
}

void TGalleryForm::UseStyle(TkelUIStyle style) {
    skin_->SetUIStyle(style);
    if (theme_) {
        skin_->SetFileTheme(nullptr);
        delete theme_;
        theme_ = nullptr;
    }
    LookChanged(StyleName(style));
}

bool TGalleryForm::UseSkinFile(const std::string& path, const std::string& password) {
    auto candidate = std::make_unique<TkelFileTheme>(this);
    candidate->SetPassword(password);
    candidate->SetThemeFile(path);
    if (!candidate->Ready()) {
        std::string why;
        switch (candidate->LoadError()) {
        case sleNoPassword:
            why = "The skin file is encrypted: it needs a password.";
            break;
        case sleWrongPassword:
            why = "The password is wrong.";
            break;
        case sleFileMissing:
            why = "The file does not exist.";
            break;
        default:
            why = "The file is damaged or no skin file: " + candidate->LoadErrorMessage();
        }
        ShowErrorMessage("Cannot open the skin file \"" + path + "\".\r\n" + why);
        return false;
    }
    TkelFileTheme* old = theme_;
    theme_ = candidate.release();
    skin_->SetFileTheme(theme_);
    skin_->SetUIStyle(TkelUIStyle::FromThemeFile);
    delete old;
    LookChanged(fs::path(path).stem().string());
    return true;
}

void TGalleryForm::ChooseSkinFile(const std::string& path) {
    TkelFileTheme probe(nullptr);
    probe.SetThemeFile(path);
    if (probe.LoadError() != sleNoPassword) {
        UseSkinFile(path, "");
        return;
    }
    std::string password;
    if (AskPassword(fs::path(path).filename().string(), password)) UseSkinFile(path, password);
}

void TGalleryForm::OpenSkinFile() {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = "Skin files (*.skn)\0*.skn\0All files\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&dialog)) ChooseSkinFile(file);
}

void TGalleryForm::ShowAbout() {
    Application->ShowMessageBox("Skin Gallery\r\n\r\nThe skin component library at work: a "
                                "skinned title bar, frame, menu bar, menus and buttons in five "
                                "built-in styles and in skin files.",
                                MB_OK | MB_ICONINFORMATION);
}

} // namespace kel::gallery
