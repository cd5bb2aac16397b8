// Helpers of the file theme tests: skin files made at test time in a private folder (the reader's
// temporary folder must be empty afterwards), the expected answers of a theme with nothing or
// with a test skin loaded, and components that publish "FileTheme" under a class name of the
// test's choosing.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/themes/KELMgr.h"
#include "tests/skin/themes/NothingLoadedExpectations.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"
#include "tools/skintool/SkinPacker.h"

namespace kel::filetheme_test {

using reader_test::Bytes;

// What test skin `variant` stores; variants differ in every value, so a reload is visible.
constexpr int32_t kTransColor = 0xFF00FF;
inline int32_t FormColor(int variant) {
    return 0x405060 + variant;
}
inline int32_t IconPosX(int variant) {
    return 7 + variant;
}
inline int StripWidth(int variant) {
    return 100 + 3 * variant;
}
constexpr int kStripHeight = 7;
// Stored with byte value 2: any non-zero byte is true.
constexpr auto kTrueBool = TkelThemeBoolKey::TitleFiveSect;
constexpr auto kFalseBool = TkelThemeBoolKey::TitleBtnTrans;

inline Bytes SkinData(int variant) {
    using namespace skintool;
    return BuildSkinData({
        BitmapEntry("SKIN2_BUTTON", reader_test::TestBmp(StripWidth(variant), kStripHeight,
                                                         static_cast<uint32_t>(variant))),
        BitmapEntry("SKIN2_TITLEBAR1", reader_test::TestBmp(30, 8, 5)),
        BitmapEntry("NOT_A_THEME_KEY", reader_test::TestBmp(4, 4)),
        IntegerEntry("SKIN2_TRANSCOLOR", kTransColor),
        IntegerEntry("skin2_formcolor", FormColor(variant)), // names match in any letter case
        IntegerEntry("SKIN2_TITLEBARICONPOSX", IconPosX(variant)),
        BooleanEntry("SKIN2_TITLEFIVESECT", 2),
        BooleanEntry("SKIN2_TITLEBTNTRANS", 0),
    });
}

inline Bytes SkinFile(int variant, const std::string& password = "") {
    return skintool::BuildSkinArchive(SkinData(variant), password);
}

// The pixels of frame `index` of `count` of a test skin's button strip, as CopyBitmap cuts it.
inline std::vector<uint32_t> StripFrame(int variant, int count, int index) {
    const TPixelImage strip =
        reader_test::TestPicture(StripWidth(variant), kStripHeight, static_cast<uint32_t>(variant));
    const int width = strip.Width / count;
    const int left = index == count ? strip.Width - width : (index - 1) * width;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < strip.Height; ++y)
        for (int x = left; x < left + width; ++x) pixels.push_back(strip.At(x, y));
    return pixels;
}

inline std::vector<uint32_t> PixelsOf(const TBitmap& bitmap) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        pixels.insert(pixels.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Width());
    return pixels;
}

// The lookups of a theme with test skin `variant` loaded: stored values, and "missing" answers
// for keys the skin lacks.
template <class Theme> void ExpectSkinLoaded(const Theme& theme, int variant) {
    EXPECT_EQ(theme.GetColor(TkelThemeColorKey::TransColor), kTransColor);
    EXPECT_EQ(theme.GetColor(TkelThemeColorKey::FormColor), FormColor(variant));
    EXPECT_EQ(theme.GetColor(TkelThemeColorKey::MenuItemColor), -1);
    EXPECT_EQ(theme.GetInteger(TkelThemeIntegerKey::TitleBarIconPosX), IconPosX(variant));
    EXPECT_EQ(theme.GetInteger(TkelThemeIntegerKey::BottomRegionMaxY), -1);
    EXPECT_TRUE(theme.GetBool(kTrueBool));
    EXPECT_FALSE(theme.GetBool(kFalseBool));
    EXPECT_FALSE(theme.GetBool(TkelThemeBoolKey::TabControlTrans));
    const TBitmap* strip = theme.GetBitmap(TkelThemeBitmapKey::Button);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(PixelsOf(*strip), StripFrame(variant, 1, 1));
    EXPECT_EQ(theme.GetBitmap(TkelThemeBitmapKey::Button), strip) << "one bitmap per key and load";
    ASSERT_NE(theme.GetBitmap(TkelThemeBitmapKey::TitleBar1), nullptr);
    EXPECT_EQ(theme.GetBitmap(TkelThemeBitmapKey::TitleBar1)->Width(), 30);
    EXPECT_EQ(theme.GetBitmap(TkelThemeBitmapKey::TitleBar2), nullptr);
}

// Each test works in a folder of its own, which is also the reader's temporary folder's parent.
class FileThemeFixture : public reader_test::ReaderFixture {
protected:
    std::string Skin(const std::string& name, int variant = 0,
                     const std::string& password = "") const {
        return Write(name, SkinFile(variant, password));
    }
};

// A file that is removed when the test ends, wherever it was put.
class TScopedFile {
public:
    TScopedFile(std::string path, const Bytes& content) : path_(std::move(path)) {
        WriteWholeFile(path_, content);
    }
    ~TScopedFile() { DeleteFileA(path_.c_str()); }
    TScopedFile(const TScopedFile&) = delete;
    TScopedFile& operator=(const TScopedFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The folder of the running test program, ending in a backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A component that publishes "FileTheme" under a class name chosen per test and keeps every value
// its setter receives. Class descriptions live for the whole run, one per name.
// A component that publishes FileTheme and notes every write of it: plain, a skinned component,
// or a skinned form component.
class TProbe : public TComponent {
    KEL_DECLARE_CLASS(TProbe)
public:
    using TComponent::TComponent;
    TkelFileTheme* FileTheme() const { return theme_; }
    void SetFileTheme(TkelFileTheme* theme) {
        theme_ = theme;
        writes.push_back(theme);
    }
    // Points at a theme without counting as a write.
    TProbe& Naming(TkelFileTheme* theme) {
        theme_ = theme;
        return *this;
    }

    std::vector<TkelFileTheme*> writes;

private:
    TkelFileTheme* theme_ = nullptr;
};

inline const TClassInfo& TProbe::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassInfo i("TProbe", &TComponent::StaticClassInfo());
        TPublisher<TProbe>(i).Property("FileTheme", &TProbe::FileTheme, &TProbe::SetFileTheme);
        return i;
    }();
    return info;
}

class TSkinnedProbe : public TProbe, public IkelThemedComponent {
public:
    using TProbe::TProbe;
};

class TSkinnedFormProbe : public TProbe, public IkelSkinnedForm {
public:
    using TProbe::TProbe;
};

} // namespace kel::filetheme_test
