// The skin data file ("SKINDATA.SK2", the content of a skin file): a 24-byte header and a chain of
// 77-byte records naming bitmaps, integers, booleans and strings. Platform-neutral parser.
#pragma once

#include "framework/BmpCodec.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// The message of every refusal of a skin file.
constexpr const char* kSkinReadError = "Failed to read skin file!";

// Name of the skin data entry inside a skin file.
constexpr const char* kSkinDataEntryName = "SKINDATA.SK2";

// Layout of the skin data file; offsets count from its start, numbers are little-endian.
constexpr size_t kSkinHeaderSize = 24;
constexpr size_t kSkinHeaderLengthField = 12; // holds kSkinHeaderSize
constexpr size_t kSkinFirstRecordField = 20;
constexpr size_t kSkinRecordSize = 77;
constexpr size_t kSkinNameSize = 64; // zero-terminated unless all 64 bytes are used
constexpr size_t kSkinTypeField = 64;
constexpr size_t kSkinDataOffsetField = 65;
constexpr size_t kSkinDataSizeField = 69;
constexpr size_t kSkinNextRecordField = 73; // 0: this record ends the chain and names nothing

enum TSkinRecordType : uint8_t {
    srtBitmap = 0,  // a whole BMP file
    srtInteger = 1, // 4 bytes, signed
    srtBoolean = 2, // 1 byte, 0 false, other true
    srtString = 3,  // 8-bit text without terminator
};

// Receives the entries of a skin data file in chain order.
class TSkinDataVisitor {
public:
    virtual ~TSkinDataVisitor() = default;
    virtual void Bitmap(const std::string& name, TPixelImage&& image) = 0;
    // The stored BMP file of a bitmap entry, just before it is decoded (for tools that keep the
    // file as it is); valid during the call only. Does nothing unless overridden.
    virtual void BitmapFile(const std::string& /*name*/, const uint8_t* /*data*/, size_t /*size*/) {
    }
    virtual void Integer(const std::string& name, int32_t value) = 0;
    virtual void Boolean(const std::string& name, uint8_t value) = 0;
    virtual void String(const std::string& name, std::string&& text) = 0;
};

// Follows the record chain of `data` and hands every entry to `visitor`. Raises
// kel::Exception(kSkinReadError) for a header length other than 24, a record or data that does not
// lie wholly inside the data, an integer record not 4 bytes or a boolean record not 1 byte long,
// and a chain that runs longer than the data can hold without repeating records (which is how a
// looping chain ends). Bitmap data that is no valid BMP raises EInvalidGraphic from the codec.
// Memory stays bounded: the bitmap and string data of all records together may not exceed the
// largest skin data file (kMaxEntrySize), and the pictures are decoded under a TPixelBudget of
// kMaxSkinPicturePixels each and kMaxSkinPixels in all (beyond it: EInvalidGraphic, before the
// picture is decoded).
void ParseSkinData(const uint8_t* data, size_t size, TSkinDataVisitor& visitor);

} // namespace kel
