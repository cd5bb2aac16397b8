#include "skin/themes/KEL2SkinReader_SkinData.h"

#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"

#include <algorithm>

namespace kel {
namespace {

[[noreturn]] void Refuse() {
    throw Exception(kSkinReadError);
}

bool Fits(size_t size, uint64_t offset, uint64_t length) {
    return offset <= size && length <= size - offset;
}

// Walks the chain and keeps the budgets that bound the work a hostile file can cause.
class TChainParser {
public:
    TChainParser(const uint8_t* data, size_t size, TSkinDataVisitor& visitor)
        : data_(data), size_(size), visitor_(visitor) {}

    void Run() {
        // What the skin's pictures may cost together, charged before each is decoded.
        const TPixelBudget budget(kMaxSkinPicturePixels, kMaxSkinPixels);
        if (size_ < kSkinHeaderSize || LoadLE32(data_ + kSkinHeaderLengthField) != kSkinHeaderSize)
            Refuse();
        // Without repeating a record, no chain holds more records than fit side by side.
        const size_t maxRecords = size_ / kSkinRecordSize;
        uint64_t offset = LoadLE32(data_ + kSkinFirstRecordField);
        for (size_t count = 1;; ++count) {
            if (count > maxRecords || !Fits(size_, offset, kSkinRecordSize)) Refuse();
            const uint8_t* record = data_ + offset;
            const uint32_t next = LoadLE32(record + kSkinNextRecordField);
            if (next == 0) return;
            Entry(record);
            offset = next;
        }
    }

private:
    void Entry(const uint8_t* record) {
        const uint8_t type = record[kSkinTypeField];
        if (type > srtString) return;
        const uint8_t* nameEnd = std::find(record, record + kSkinNameSize, 0);
        const std::string name(record, nameEnd);
        const uint32_t offset = LoadLE32(record + kSkinDataOffsetField);
        const uint32_t length = LoadLE32(record + kSkinDataSizeField);
        if (!Fits(size_, offset, length)) Refuse();
        const uint8_t* value = data_ + offset;
        switch (type) {
        case srtBitmap: {
            Spend(length);
            visitor_.BitmapFile(name, value, length);
            TPixelImage image = DecodeBmp(value, length);
            visitor_.Bitmap(name, std::move(image));
            break;
        }
        case srtInteger:
            if (length != 4) Refuse();
            visitor_.Integer(name, static_cast<int32_t>(LoadLE32(value)));
            break;
        case srtBoolean:
            if (length != 1) Refuse();
            visitor_.Boolean(name, *value);
            break;
        default:
            Spend(length);
            visitor_.String(name, std::string(value, value + length));
            break;
        }
    }

    // Records may share data; copying it again and again must not grow without bound.
    void Spend(uint32_t length) {
        copied_ += length;
        if (copied_ > kMaxEntrySize) Refuse();
    }

    const uint8_t* data_;
    size_t size_;
    TSkinDataVisitor& visitor_;
    uint64_t copied_ = 0;
};

} // namespace

void ParseSkinData(const uint8_t* data, size_t size, TSkinDataVisitor& visitor) {
    TChainParser(data, size, visitor).Run();
}

} // namespace kel
