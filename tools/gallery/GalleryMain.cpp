// The skin gallery: the library's showcase and the skin makers' preview. Starts in a built-in
// style or a skin file given on the command line, or renders every look into a folder.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/win/Forms.h"
#include "tools/gallery/GalleryArgs.h"
#include "tools/gallery/GalleryForm.h"

using namespace kel;
using namespace kel::gallery;

namespace {

std::vector<std::string> CommandLineArgs() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<size_t>(std::max(size, 1)), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        arg.resize(arg.size() - 1);
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}

// The window as it is on screen, frame included, as a BMP file.
void SaveWindow(TGalleryForm& form, const std::string& path) {
    form.Skin().Repaint();
    for (int i = 0; i < 10; ++i) {
        Application->ProcessMessages();
        Sleep(20);
    }
    RECT r;
    GetWindowRect(form.Handle(), &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top,
           SRCCOPY);
    ReleaseDC(nullptr, screen);
    shot.SaveToFile(path);
}

int RenderScreenshots(TGalleryForm& form, const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    form.Show();
    for (TkelUIStyle style : kBuiltInStyles) {
        form.UseStyle(style);
        SaveWindow(form, (std::filesystem::path(folder) / (form.LookName() + ".bmp")).string());
    }
    for (const std::string& skin : form.SkinFiles()) {
        // The demo skins' one password; a plain skin file ignores it.
        if (!form.UseSkinFile(skin, "gallery")) continue;
        SaveWindow(form, (std::filesystem::path(folder) / (form.LookName() + ".bmp")).string());
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitFramework();
    const TGalleryArgs args = ParseGalleryArgs(CommandLineArgs());
    Application->SetTitle("Skin Gallery");
    int result = 0;
    try {
        auto* form = Application->CreateForm<TGalleryForm>();
        if (!args.Error.empty()) ShowErrorMessage(args.Error);
        if (args.Style) form->UseStyle(*args.Style);
        if (!args.ThemeFile.empty()) form->UseSkinFile(args.ThemeFile, args.Password);
        if (!args.ScreenshotFolder.empty())
            result = RenderScreenshots(*form, args.ScreenshotFolder);
        else
            Application->Run();
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
        result = 1;
    }
    DoneFramework();
    return result;
}
