// Extraction of one entry of a skin file (an archive in the ZIP layout whose first two bytes are
// "SK"), with the traditional PKWARE decryption. Platform-neutral apart from the file calls of
// KEL2SkinReader_Platform.h.
#pragma once

#include "skin/themes/KEL2SkinReader_Failure.h"
#include "skin/themes/KEL2SkinReader_Streams.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kel {

// Results of ExtractArchiveEntry.
enum TExtractResult : int {
    erExtracted = 0,  // entry decoded and written, size as recorded
    erUnreadable = 1, // not a readable skin file, entry missing, or decoding failed early
    erRejected = 2,   // entry found but refused: password, check byte, size, CRC-32
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
// and writes the result to `outputPath`. The decoded data must have the size and the CRC-32 the
// central directory records (else erRejected). On every result but erExtracted no file is left at
// `outputPath`. `failure`, when given, receives the reason (sleNone on erExtracted). Never raises.
TExtractResult ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                                   const std::string& outputPath, const std::string& password,
                                   TSkinLoadFailure* failure = nullptr);

// Opens the output of an extraction, which the caller owns; raises when it cannot.
using TOutputOpener = std::function<TOutputStream&()>;

// The same, writing to the output that `openOutput` gives, called once the entry has been found
// and its recorded size accepted. The caller discards what was written on every result but
// erExtracted. Never raises: an output that cannot be opened or written is erUnreadable
// (sleOutputFile), turned into erRejected by the size check when it failed after some bytes.
TExtractResult ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                                   const TOutputOpener& openOutput, const std::string& password,
                                   TSkinLoadFailure* failure = nullptr);

} // namespace kel
