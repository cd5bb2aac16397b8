// Makes skin files: lays out a skin data file from named entries and wraps it, deflated and
// optionally encrypted, into a skin file (ZIP layout, first two bytes "SK", one entry
// "SKINDATA.SK2"). Used by skintool's pack command, and by tests and benchmarks.
#pragma once

#include "skin/themes/KEL2SkinReader_SkinData.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kel::skintool {

struct TSkinEntry {
    std::string Name; // 1 to 64 bytes
    TSkinRecordType Type;
    std::vector<uint8_t> Data; // BMP file, 4-byte integer, 1-byte boolean or text
};

TSkinEntry BitmapEntry(const std::string& name, std::vector<uint8_t> bmpFile);
TSkinEntry IntegerEntry(const std::string& name, int32_t value);
TSkinEntry BooleanEntry(const std::string& name, uint8_t value);
TSkinEntry StringEntry(const std::string& name, const std::string& text);

// The skin data file: the header, then each entry's record followed by its data, then the
// terminator record (all zero). Header bytes 16-19 hold the number of entries; bytes 0-11 are
// zero. Raises kel::Exception for a bad name, a malformed integer or boolean entry, or a result
// larger than the reader accepts.
std::vector<uint8_t> BuildSkinData(const std::vector<TSkinEntry>& entries);

// Turns bytes into a raw DEFLATE stream.
using TCompressor = std::function<std::vector<uint8_t>(const uint8_t*, size_t)>;

// The skin file holding `skinData` as "SKINDATA.SK2", compressed with `compress` (our own
// DEFLATE compressor by default) and, when `password` is not empty, encrypted with the
// traditional PKWARE cipher (check byte: the high byte of the CRC-32).
std::vector<uint8_t> BuildSkinArchive(const std::vector<uint8_t>& skinData,
                                      const std::string& password,
                                      const TCompressor& compress = TCompressor());

// The entries of a skin folder: every "<NAME>.bmp" file as bitmap NAME (in name order), then the
// lines of "entries.txt" if present, in file order. Format of entries.txt, one entry a line:
//     integer NAME VALUE      decimal, or hexadecimal with 0x or $ (32-bit pattern)
//     color   NAME 0x00BBGGRR stored as an integer
//     boolean NAME VALUE      0 false, 1 (or any byte value up to 255) true
//     string  NAME TEXT       the rest of the line after one blank, may be empty
// Blank lines and lines starting with '#' are ignored. Raises kel::Exception naming the file and
// line of anything it cannot use, including bitmaps the reader could not decode.
std::vector<TSkinEntry> ReadSkinFolder(const std::string& folder);

} // namespace kel::skintool
