#include "skin/themes/KEL2SkinReader.h"

#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "skin/themes/KEL2SkinReader_Platform.h"

namespace kel {
namespace {

// Removes the extracted skin data file on every way out of the load.
class TTempFileRemover {
public:
    explicit TTempFileRemover(std::string path) : path_(std::move(path)) {}
    TTempFileRemover(const TTempFileRemover&) = delete;
    TTempFileRemover& operator=(const TTempFileRemover&) = delete;
    ~TTempFileRemover() { skinplatform::RemoveFile(path_); }

private:
    std::string path_;
};

template <typename T>
const T* Find(const std::vector<std::pair<std::string, T>>& table, const std::string& name) {
    for (const auto& [key, value] : table)
        if (skinplatform::SameTextIgnoringCase(key, name)) return &value;
    return nullptr;
}

} // namespace

bool LoadSkinFile(const std::string& fileName, const std::string& password,
                  TSkinDataVisitor& visitor) {
    const std::string tempPath = skinplatform::TempFolder() + skinplatform::NewGuidText();
    std::vector<uint8_t> skinData;
    {
        const TExtractResult result =
            ExtractArchiveEntry(fileName, kSkinDataEntryName, tempPath, password);
        if (result == erRejected) return false;
        if (result != erExtracted) throw Exception(kSkinReadError);
        const TTempFileRemover remover(tempPath);
        skinData = ReadWholeFile(tempPath, kMaxEntrySize);
    }
    ParseSkinData(skinData.data(), skinData.size(), visitor);
    return true;
}

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& fileName, const std::string& password) {
    loaded_ = LoadSkinFile(fileName, password, *this);
}

const TPixelImage* Tsk2SkinFileReader::GetBitmap(const std::string& name) const {
    return Find(bitmaps_, name);
}

int32_t Tsk2SkinFileReader::GetInteger(const std::string& name) const {
    const int32_t* value = Find(integers_, name);
    return value != nullptr ? *value : -1;
}

bool Tsk2SkinFileReader::GetBool(const std::string& name) const {
    const uint8_t* value = Find(booleans_, name);
    return value != nullptr && *value != 0;
}

void Tsk2SkinFileReader::Bitmap(const std::string& name, TPixelImage&& image) {
    bitmaps_.emplace_back(name, std::move(image));
}

void Tsk2SkinFileReader::Integer(const std::string& name, int32_t value) {
    integers_.emplace_back(name, value);
}

void Tsk2SkinFileReader::Boolean(const std::string& name, uint8_t value) {
    booleans_.emplace_back(name, value);
}

void Tsk2SkinFileReader::String(const std::string& name, std::string&& text) {
    strings_.emplace_back(name, std::move(text));
}

} // namespace kel
