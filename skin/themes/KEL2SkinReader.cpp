#include "skin/themes/KEL2SkinReader.h"

#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "skin/themes/KEL2SkinReader_Platform.h"

#include <optional>

namespace kel {
namespace {

template <typename T>
const T* Find(const std::vector<std::pair<std::string, T>>& table, const std::string& name) {
    for (const auto& [key, value] : table)
        if (skinplatform::SameTextIgnoringCase(key, name)) return &value;
    return nullptr;
}

} // namespace

bool LoadSkinFile(const std::string& fileName, const std::string& password,
                  TSkinDataVisitor& visitor, TSkinLoadFailure* failure) {
    TSkinLoadFailure reason;
    const auto give = [&](TSkinLoadError error) {
        reason.Error = error;
        if (failure) *failure = reason;
    };
    std::vector<uint8_t> skinData;
    {
        // The skin data passes through a temporary file, as in the Parts; the system removes it
        // however this function or the process ends.
        const std::string tempPath = skinplatform::TempFolder() + skinplatform::NewGuidText();
        std::optional<TTemporaryFile> temp;
        const TExtractResult result = ExtractArchiveEntry(
            fileName, kSkinDataEntryName,
            [&]() -> TOutputStream& { return temp.emplace(tempPath); }, password, &reason);
        if (failure) *failure = reason;
        if (result == erRejected) return false;
        if (result != erExtracted) throw Exception(kSkinReadError);
        try {
            skinData = temp->ReadAll(kMaxEntrySize);
        } catch (const std::exception&) {
            give(sleOutputFile);
            throw Exception(kSkinReadError);
        }
    }
    try {
        ParseSkinData(skinData.data(), skinData.size(), visitor);
    } catch (const EInvalidGraphic&) {
        give(sleBadBitmap);
        throw;
    } catch (const std::exception&) {
        give(sleBadSkinData);
        throw;
    }
    return true;
}

Tsk2SkinFileReader::Tsk2SkinFileReader(const std::string& fileName, const std::string& password,
                                       TSkinLoadFailure* failure) {
    try {
        loaded_ = LoadSkinFile(fileName, password, *this, &failure_);
    } catch (...) {
        if (failure) *failure = failure_;
        throw;
    }
    if (failure) *failure = failure_;
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
