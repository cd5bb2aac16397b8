#include "skin/themes/KELThemesMgr.h"

#include <exception>

#include "skin/themes/KEL2SkinReader_Platform.h"

namespace kel {

TkelFileThemeMgr::TkelFileThemeMgr() = default;
TkelFileThemeMgr::~TkelFileThemeMgr() = default;

bool TkelFileThemeMgr::Load(const std::string& path, const std::string& password,
                            TSkinLoadFailure* failure) {
    TSkinLoadFailure reason{sleFileMissing, false};
    if (failure) *failure = reason;
    if (!skinplatform::FileExists(path)) return false;
    Unload();
    try {
        auto reader = std::make_unique<Tsk2SkinFileReader>(path, password, &reason);
        if (failure) *failure = reason;
        if (!reader->Loaded()) return false;
        reader_ = std::move(reader);
        ConvertBitmaps();
        return true;
    } catch (const std::exception&) {
        // Unreadable, undecodable or too large for the system: the theme just has no content.
        if (failure) *failure = reason.Error != sleNone ? reason : TSkinLoadFailure{sleBadBitmap};
        Unload();
        return false;
    }
}

void TkelFileThemeMgr::Unload() {
    for (auto& bitmap : bitmaps_) bitmap.reset();
    reader_.reset();
}

void TkelFileThemeMgr::ConvertBitmaps() {
    for (int ordinal = 0; ordinal < kBitmapKeyCount; ++ordinal) {
        const TPixelImage* image =
            reader_->GetBitmap(ThemeKeyName(static_cast<TkelThemeBitmapKey>(ordinal)));
        if (!image) continue;
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->Assign(*image);
        bitmaps_[ordinal] = std::move(bitmap);
    }
}

TBitmap* TkelFileThemeMgr::GetBitmap(TkelThemeBitmapKey key) const {
    const int ordinal = static_cast<int>(key);
    if (ordinal < 0 || ordinal >= kBitmapKeyCount) return nullptr;
    return bitmaps_[ordinal].get();
}

int32_t TkelFileThemeMgr::GetColor(TkelThemeColorKey key) const {
    return reader_ ? reader_->GetInteger(ThemeKeyName(key)) : 0;
}

int32_t TkelFileThemeMgr::GetInteger(TkelThemeIntegerKey key) const {
    return reader_ ? reader_->GetInteger(ThemeKeyName(key)) : 0;
}

bool TkelFileThemeMgr::GetBool(TkelThemeBoolKey key) const {
    return reader_ && reader_->GetBool(ThemeKeyName(key));
}

} // namespace kel
