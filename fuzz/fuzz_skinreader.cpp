// Fuzz target for the whole skin file reader. Each input is written to a file and loaded as a skin
// file twice, without a password and with "pw" (the password of the encrypted seeds); the same
// bytes then go to the skin data parser directly, so that mutations reach it without an intact
// archive around them. Every load must end in Loaded, not loaded or a kel::Exception, must record
// a reason that agrees with that end (none when loaded, one when not), must keep the decoded
// pictures within the skin's pixel budget, and must leave the reader's temporary folder (a private
// one, through TMPDIR) empty.
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "skin/themes/KEL2SkinReader_SkinData.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A private folder with the input file and the reader's temporary folder, removed at exit.
class TFuzzFolders {
public:
    TFuzzFolders() {
        char pattern[] = "/tmp/kel-fuzz-skinreader-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        root_ = pattern;
        fs::create_directory(Temp());
        setenv("TMPDIR", Temp().c_str(), 1);
    }
    ~TFuzzFolders() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string Temp() const { return (root_ / "temp").string(); }
    std::string Input() const { return (root_ / "input.skn").string(); }

private:
    fs::path root_;
};

class TCountingVisitor : public kel::TSkinDataVisitor {
public:
    void Bitmap(const std::string&, kel::TPixelImage&& image) override {
        if (image.Pixels.size() != static_cast<size_t>(image.Width) * image.Height) std::abort();
        pixels += static_cast<int64_t>(image.Pixels.size());
        if (image.Pixels.size() > static_cast<size_t>(kel::kMaxSkinPicturePixels) ||
            pixels > kel::kMaxSkinPixels)
            std::abort(); // past the skin's pixel budget
    }
    int64_t pixels = 0;
    void Integer(const std::string&, int32_t) override {}
    void Boolean(const std::string&, uint8_t) override {}
    void String(const std::string&, std::string&&) override {}
};

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void LoadOnce(const TFuzzFolders& folders, const char* password) {
    kel::TSkinLoadFailure failure{kel::sleFileMissing, false};
    try {
        const kel::Tsk2SkinFileReader reader(folders.Input(), password, &failure);
        Check(reader.Loaded() == (failure.Error == kel::sleNone), "reason disagrees with Loaded");
        Check(reader.Failure().Error == failure.Error, "Failure() differs from the reason given");
        Check(!kel::SkinLoadErrorText(failure).empty(), "a reason without text");
        if (reader.Loaded()) {
            reader.GetBitmap("SKIN2_TITLEBAR1");
            reader.GetInteger("SKIN2_TITLEBARICONPOSX");
            reader.GetBool("SKIN2_TITLEFIVESECT");
        }
    } catch (const kel::Exception&) {
        // A refused skin file: the expected way out for most inputs.
        Check(failure.Error != kel::sleNone && failure.Error != kel::sleFileMissing,
              "an exception without its reason");
    }
    if (!fs::is_empty(folders.Temp())) {
        std::fprintf(stderr, "the reader left a file in its temporary folder\n");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TFuzzFolders folders;
    kel::WriteWholeFile(folders.Input(), std::vector<uint8_t>(data, data + size));
    LoadOnce(folders, "");
    LoadOnce(folders, "pw");
    TCountingVisitor visitor;
    try {
        kel::ParseSkinData(data, size, visitor);
    } catch (const kel::Exception&) {
    }
    return 0;
}
