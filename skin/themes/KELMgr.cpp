#include "skin/themes/KELMgr.h"

#include "skin/controls/KELThemes.h"
#include "skin/controls/KELThemesMgr.h"

namespace kel {

const TClassInfo& TkelFileTheme::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TkelFileTheme", &TComponent::StaticClassInfo());
        TPublisher<TkelFileTheme>(i)
            .Property("ThemeFile", &TkelFileTheme::ThemeFile, &TkelFileTheme::SetThemeFile)
            .Property("Password", &TkelFileTheme::Password, &TkelFileTheme::SetPassword)
            .Property("Ready", &TkelFileTheme::Ready, &TkelFileTheme::SetReady);
        return i;
    }();
    return info;
}

TkelFileTheme::TkelFileTheme(TComponent* owner)
    : TComponent(owner), manager_(std::make_unique<TkelFileThemeMgr>()) {}

TkelFileTheme::~TkelFileTheme() = default;

void TkelFileTheme::SetThemeFile(const std::string& path) {
    themeFile_ = path;
}

void TkelFileTheme::SetPassword(const std::string& password) {
    password_ = password;
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
