// Extraction of one entry of a skin file (an archive in the ZIP layout whose first two bytes are
// "SK"), with the traditional PKWARE decryption. Platform-neutral apart from the file calls of
// KEL2SkinReader_Platform.h.
#pragma once

#include <cstdint>
#include <string>

namespace kel {

// Results of ExtractArchiveEntry.
enum TExtractResult : int {
    erExtracted = 0,  // entry decoded and written, size as recorded
    erUnreadable = 1, // not a readable skin file, entry missing, or decoding failed early
    erRejected = 2,   // entry found but refused: password, check byte, size
};

// Largest uncompressed entry accepted. A skin data file holds a few dozen small bitmaps; an entry
// recorded as larger is rejected (erRejected) before anything is written, and decoding stops with
// erRejected as soon as the output passes the recorded size, so a hostile file cannot fill the
// disk through the output file.
constexpr uint32_t kMaxEntrySize = 64u * 1024 * 1024;

// Central directory names longer than this are never equal to a wanted name: they are skipped and
// the scan goes on.
constexpr size_t kMaxEntryNameLength = 259;

// Finds `entryName` (ASCII letters compared without case) in the skin file at `archivePath`,
// decrypts it with `password` when it is encrypted (empty: no password), decodes its DEFLATE data
// and writes the result to `outputPath`. On every result but erExtracted no file is left at
// `outputPath`. Never raises.
TExtractResult ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                                   const std::string& outputPath, const std::string& password);

} // namespace kel
