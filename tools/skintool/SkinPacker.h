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

// The skin file holding `skinData` as "SKINDATA.SK2", compressed with `compress` (zlib's raw
// deflate at level 9 by default) and, when `password` is not empty, encrypted with the
// traditional PKWARE cipher (check byte: the high byte of the CRC-32).
std::vector<uint8_t> BuildSkinArchive(const std::vector<uint8_t>& skinData,
                                      const std::string& password,
                                      const TCompressor& compress = TCompressor());

// The entries of a skin folder: every "<NAME>.bmp" file that no bitmap line of entries.txt names,
// as bitmap NAME (in name order), then the lines of "entries.txt" if present, in file order.
// Format of entries.txt, one entry a line (docs/skin-files.md):
//     bitmap    NAME FILE       the BMP file FILE of the folder, as it is
//     integer   NAME VALUE      decimal, or hexadecimal with 0x or $ (32-bit pattern)
//     color     NAME 0x00BBGGRR stored as an integer
//     boolean   NAME VALUE      0 false, 1 (or any byte value up to 255) true
//     string    NAME TEXT       the rest of the line after one blank, may be empty
//     stringhex NAME HEX        a text given as hexadecimal bytes (one with line breaks)
// In a NAME, %XX stands for the byte of hexadecimal value XX (for a blank, a '%' or a byte that is
// no printable ASCII). Blank lines and lines starting with '#' are ignored. Raises kel::Exception
// naming the file and line of anything it cannot use, including bitmaps the reader could not
// decode.
std::vector<TSkinEntry> ReadSkinFolder(const std::string& folder);

// Writes the entries as a skin folder that ReadSkinFolder reads back as the same entries in the
// same order: each bitmap as a BMP file (NAME.bmp where the name makes a safe and distinct file
// name, else bitmapN.bmp) and every entry as a line of entries.txt. Creates the folder when
// needed. Raises kel::Exception for an entry that no line can hold (an empty name) or a file
// that cannot be written. `colorKey` tells which integers to write as colours.
void WriteSkinFolder(const std::string& folder, const std::vector<TSkinEntry>& entries,
                     const std::function<bool(const std::string&)>& colorKey);

} // namespace kel::skintool
