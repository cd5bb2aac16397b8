// The skin file reader: extracts "SKINDATA.SK2" from a skin file into a temporary file, parses it
// into four lookup tables (bitmaps, integers, booleans, strings) and answers lookups by name.
// Platform-neutral apart from the calls of KEL2SkinReader_Platform.h.
#pragma once

#include "framework/BmpCodec.h"
#include "skin/themes/KEL2SkinReader_Failure.h"
#include "skin/themes/KEL2SkinReader_SkinData.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kel {

// Loads the skin data of the skin file at `fileName` and hands its entries to `visitor` in chain
// order. Returns false when the skin file rejects the load (encrypted without or with a wrong
// password, decoded size or CRC-32 not as recorded); raises kel::Exception(kSkinReadError) when it
// is unreadable or its skin data is malformed; bitmap data the codec refuses raises
// EInvalidGraphic. `failure`, when given, receives the reason on every way out (sleNone when
// loaded). The skin data passes through a temporary file in the temporary folder, named by a
// fresh GUID, which is gone when this returns or raises and also when the process is killed.
bool LoadSkinFile(const std::string& fileName, const std::string& password,
                  TSkinDataVisitor& visitor, TSkinLoadFailure* failure = nullptr);

class Tsk2SkinFileReader : private TSkinDataVisitor {
public:
    // Loads the skin file. Raises as LoadSkinFile does; a rejected file leaves Loaded() false.
    // `failure`, when given, receives the reason also when this raises.
    Tsk2SkinFileReader(const std::string& fileName, const std::string& password,
                       TSkinLoadFailure* failure = nullptr);
    Tsk2SkinFileReader(const Tsk2SkinFileReader&) = delete;
    Tsk2SkinFileReader& operator=(const Tsk2SkinFileReader&) = delete;

    // Lookups ignore letter case; the first entry in chain order wins.
    // The bitmap stays owned by the reader; nullptr when there is none by that name.
    const TPixelImage* GetBitmap(const std::string& name) const;
    // -1 when the name is absent.
    int32_t GetInteger(const std::string& name) const;
    // False when the name is absent.
    bool GetBool(const std::string& name) const;

    bool Loaded() const { return loaded_; }
    // Why the load failed; sleNone when Loaded().
    const TSkinLoadFailure& Failure() const { return failure_; }

private:
    template <typename T> using TTable = std::vector<std::pair<std::string, T>>;

    void Bitmap(const std::string& name, TPixelImage&& image) override;
    void Integer(const std::string& name, int32_t value) override;
    void Boolean(const std::string& name, uint8_t value) override;
    void String(const std::string& name, std::string&& text) override;

    TTable<TPixelImage> bitmaps_;
    TTable<int32_t> integers_;
    TTable<uint8_t> booleans_;
    TTable<std::string> strings_; // filled for completeness; no lookup reads it
    bool loaded_ = false;
    TSkinLoadFailure failure_;
};

} // namespace kel
