#include "skin/themes/KELMgr.h"

#include <windows.h>

#include "framework/SysUtils.h"
#include "framework/win/Forms.h"
#include "skin/themes/KEL2SkinReader_Platform.h"
#include "skin/themes/KELThemesFrame.h"
#include "skin/themes/KELThemesMgr.h"

namespace kel {

namespace {

// The folder of the running executable, ending in a backslash; empty when the system names none.
std::string ExecutableFolder() {
    const std::string exe = ExeName();
    return exe.empty() ? std::string() : AddBackslash(ExtractFilePath(exe));
}

// A folder the system names into a buffer of MAX_PATH bytes; empty when it names none or a longer
// one.
template <class Query> std::string SystemNamedFolder(Query query) {
    char buffer[MAX_PATH] = {};
    const UINT n = query(buffer, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(buffer, n);
}

// Where a skin file is looked for when it is not at the given path: the program folder, the
// Windows folder and the system folder, each computed only when the one before has failed.
using TFolderQuery = std::string (*)();
const TFolderQuery kSkinFileFolders[] = {
    &ExecutableFolder,
    [] { return SystemNamedFolder(&GetWindowsDirectoryA); },
    [] { return SystemNamedFolder(&GetSystemDirectoryA); },
};

// The path of the skin file that `path` names: the path itself when a file is there, else the
// first of the fallback folders holding a file of that file name; empty when there is none.
std::string ResolveSkinFile(const std::string& path) {
    if (path.empty()) return std::string();
    if (skinplatform::FileExists(path)) return path;
    const std::string name = ExtractFileName(path);
    if (name.empty()) return std::string();
    for (const TFolderQuery folderOf : kSkinFileFolders) {
        const std::string folder = folderOf();
        if (folder.empty()) continue;
        const std::string candidate = AddBackslash(folder) + name;
        if (skinplatform::FileExists(candidate)) return candidate;
    }
    return std::string();
}

// True when the component publishes a component property "FileTheme" that holds `theme`.
bool NamesTheme(const TComponent& component, const TkelFileTheme& theme) {
    const TPropInfo* prop = component.ClassInfo().FindProp("FileTheme");
    return prop && prop->Kind == TPropKind::Component &&
           std::get<TComponent*>(prop->Get(component)) == &theme;
}

} // namespace

const TClassInfo& TkelFileTheme::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelFileTheme", &TComponent::StaticClassInfo());
        TPublisher<TkelFileTheme>(i)
            .Property("ThemeFile", &TkelFileTheme::ThemeFile, &TkelFileTheme::SetThemeFile)
            .Property("Password", &TkelFileTheme::Password, &TkelFileTheme::SetPassword)
            .Property("Ready", &TkelFileTheme::Ready, &TkelFileTheme::SetReady)
            .Property("LoadError", &TkelFileTheme::LoadError, &TkelFileTheme::SetLoadError)
            .Property("LoadErrorMessage", &TkelFileTheme::LoadErrorMessage,
                      &TkelFileTheme::SetLoadErrorMessage);
        return i;
    }();
    return info;
}

TkelFileTheme::TkelFileTheme(TComponent* owner)
    : TComponent(owner), manager_(std::make_unique<TkelFileThemeMgr>()) {}

TkelFileTheme::~TkelFileTheme() = default;

void TkelFileTheme::SetThemeFile(const std::string& path) {
    const bool firstLoad = themeFile_.empty();
    std::string resolved = ResolveSkinFile(path);
    if (resolved.empty()) { // found nowhere: everything stays as it was, but for the reason
        if (!path.empty()) loadFailure_ = {sleFileMissing, false};
        return;
    }
    themeFile_ = std::move(resolved);
    // The same path again reloads: the file may have changed on disk.
    ready_ = manager_->Load(themeFile_, password_, &loadFailure_);
    if (!ready_) return; // controls keep the look they copied; they are not told
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form) return;
    // A form builds its frame from the theme it finds; after a later load its window is asked to
    // recompute and repaint the frame. A window not created yet has no frame to refresh.
    if (RenotifyComponents(*form) && !firstLoad && form->HandleAllocated())
        SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TkelFileTheme::RenotifyComponents(TComponent& form) {
    bool formUsesTheme = false;
    // By index, re-reading the count: a component's setter may not be relied on to leave the
    // list alone.
    for (int i = 0; i < form.ComponentCount(); ++i) {
        TComponent& component = *form.Components(i);
        if (!NamesTheme(component, *this)) continue;
        if (dynamic_cast<const IkelSkinnedForm*>(&component)) formUsesTheme = true;
        // Skinned components re-read their look whenever "FileTheme" is assigned another value,
        // so the property goes to nothing and back.
        if (dynamic_cast<const IkelThemedComponent*>(&component)) {
            SetObjectProp(component, "FileTheme", nullptr);
            SetObjectProp(component, "FileTheme", this);
        }
    }
    return formUsesTheme;
}

void TkelFileTheme::SetPassword(const std::string& password) {
    password_ = password;
    // An empty ThemeFile resolves to no file, so a password set first only waits for the file.
    if (!password_.empty()) SetThemeFile(themeFile_);
}

std::string TkelFileTheme::LoadErrorMessage() const {
    return loadFailure_.Error == sleNone ? std::string() : SkinLoadErrorText(loadFailure_);
}

TBitmap* TkelFileTheme::GetBitmap(TkelThemeBitmapKey key) const {
    return manager_->GetBitmap(key);
}

void TkelFileTheme::CopyBitmap(TkelThemeBitmapKey key, TBitmap& dest, int frameCount,
                               int frameIndex) const {
    const TBitmap* stored = manager_->GetBitmap(key);
    if (!stored) {
        dest.SetSize(0, 0);
        return;
    }
    if (frameCount == 0 || frameIndex == 0)
        dest.Assign(*stored);
    else
        ExtractFrame(*stored, dest, frameCount, frameIndex);
}

int32_t TkelFileTheme::GetColor(TkelThemeColorKey key) const {
    return manager_->GetColor(key);
}

int32_t TkelFileTheme::GetInteger(TkelThemeIntegerKey key) const {
    return manager_->GetInteger(key);
}

bool TkelFileTheme::GetBool(TkelThemeBoolKey key) const {
    return manager_->GetBool(key);
}

} // namespace kel
