// The file theme: a non-visual component through which controls take their look from a skin file.
// Controls see Ready and the lookups by key; loading (ThemeFile, Password) fills them.
#pragma once

#include <memory>
#include <string>

#include "framework/Classes.h"
#include "skin/themes/KEL2SkinReader_Failure.h"
#include "skin/themes/KELThemeKeys.h"

#ifdef _WIN32
#include "framework/win/Graphics.h"
#endif

namespace kel {

#ifdef _WIN32
class TkelFileThemeMgr;

// Implemented by the library's skinned components that publish FileTheme: after every successful
// load the theme assigns their FileTheme again, and they re-read their look.
class IkelThemedComponent {
public:
    virtual ~IkelThemedComponent() = default;
};

// Implemented by the skinned form component: its window frame is built from the theme, and its
// UIStyle is the style new skinned components on the form start with.
class IkelSkinnedForm : public virtual IkelThemedComponent {
public:
    // Paints the window frame again; the title bar asks for it after drawing a caption section,
    // whose width the frame's top edge follows.
    virtual void PaintFrame() {}
    // The skinned main menu it shows changed: new top-level items, new captions or states, a
    // new font.
    virtual void RebuildMenuBar() {}
    virtual void SyncMenuBarButtons() {}
    virtual void RefreshMenuBarFont() {}
};

class TkelFileTheme : public TComponent {
    KEL_DECLARE_CLASS(TkelFileTheme)
public:
    explicit TkelFileTheme(TComponent* owner);
    ~TkelFileTheme() override;

    // True while a skin file is loaded.
    bool Ready() const { return ready_; }
    void SetReady(bool) {} // a stored value has no effect
    // The resolved path of the skin file last found.
    const std::string& ThemeFile() const { return themeFile_; }
    // Finds the skin file (as given, else by its file name in the program, Windows and system
    // folders) and loads it; a file found nowhere changes nothing. After a successful load the
    // components of the owning form that name this theme re-read their look.
    void SetThemeFile(const std::string& path);
    const std::string& Password() const { return password_; }
    // Stores the password; a non-empty one reloads the current skin file with it.
    void SetPassword(const std::string& password);

    // Why the last load attempt failed (sleNone after a successful one and before any attempt;
    // sleFileMissing when ThemeFile was found nowhere), and the same as one line of English.
    // Published read-only as "LoadError" and "LoadErrorMessage": a stored value has no effect.
    TSkinLoadError LoadError() const { return loadFailure_.Error; }
    std::string LoadErrorMessage() const;
    void SetLoadError(TSkinLoadError) {}
    void SetLoadErrorMessage(const std::string&) {}

    // The stored bitmap (owned by the theme, valid until the next load attempt that finds a
    // file), or nullptr.
    TBitmap* GetBitmap(TkelThemeBitmapKey key) const;
    // Fills `dest` with the stored bitmap (frameCount or frameIndex 0) or frame `frameIndex` of
    // `frameCount`; an empty bitmap when nothing is stored under the key.
    void CopyBitmap(TkelThemeBitmapKey key, TBitmap& dest, int frameCount, int frameIndex) const;
    // The stored value; -1 when a skin file is loaded but lacks the key; 0 with nothing loaded.
    int32_t GetColor(TkelThemeColorKey key) const;
    int32_t GetInteger(TkelThemeIntegerKey key) const;
    // The stored byte as a Boolean; false when missing or nothing is loaded.
    bool GetBool(TkelThemeBoolKey key) const;

private:
    // Re-assigns "FileTheme" of the form's skinned components that name this theme; true when a
    // skinned form component among them uses it.
    bool RenotifyComponents(TComponent& form);

    std::unique_ptr<TkelFileThemeMgr> manager_;
    std::string themeFile_;
    std::string password_;
    bool ready_ = false;
    TSkinLoadFailure loadFailure_;
};
#endif

} // namespace kel
