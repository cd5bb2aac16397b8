// The file theme's manager: holds the reader of the loaded skin file, if any, and answers the
// theme's lookups by key. With no skin file loaded every lookup answers "nothing": no bitmap, 0,
// false.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/win/Graphics.h"
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KELThemeKeys.h"

namespace kel {

class TkelFileThemeMgr {
public:
    TkelFileThemeMgr();
    ~TkelFileThemeMgr();
    TkelFileThemeMgr(const TkelFileThemeMgr&) = delete;
    TkelFileThemeMgr& operator=(const TkelFileThemeMgr&) = delete;

    // Loads the skin file at `path`. A missing file returns false and keeps what is loaded;
    // otherwise the old content goes, and true means the new file loaded completely. No failure
    // of the skin file leaves this function as an exception. `failure`, when given, receives why
    // the load failed (sleNone when it did not).
    bool Load(const std::string& path, const std::string& password,
              TSkinLoadFailure* failure = nullptr);
    bool Loaded() const { return reader_ != nullptr; }

    // The bitmap stored under the key, owned by the manager until the next load attempt that
    // finds a file; nullptr when there is none.
    TBitmap* GetBitmap(TkelThemeBitmapKey key) const;
    // The stored value; -1 when a loaded skin file lacks the key; 0 with nothing loaded.
    int32_t GetColor(TkelThemeColorKey key) const;
    int32_t GetInteger(TkelThemeIntegerKey key) const;
    // The stored byte as a Boolean; false when missing or nothing is loaded.
    bool GetBool(TkelThemeBoolKey key) const;

private:
    void Unload();
    // Turns the reader's pictures of every bitmap key into bitmaps, so lookups never fail later.
    void ConvertBitmaps();

    std::unique_ptr<Tsk2SkinFileReader> reader_;
    std::array<std::unique_ptr<TBitmap>, kBitmapKeyCount> bitmaps_;
};

} // namespace kel
