// Why a skin file did not load: the reason the skin file reader records beside the result codes
// and exceptions the Parts give, for the file theme's programs and for skintool. Platform-neutral.
#pragma once

#include <string>

#include "framework/Classes.h"

namespace kel {

enum TSkinLoadError : int {
    sleNone = 0,       // loaded
    sleFileMissing,    // no file at the path (or a folder)
    sleFileUnreadable, // the file could not be opened or read
    sleNotSkinFile,    // not "SK" at the start, or no readable end record or directory
    sleEntryMissing,   // no SKINDATA.SK2 entry in the directory
    sleEntryTooLarge,  // the entry is recorded as larger than kMaxEntrySize
    sleNoPassword,     // the entry is encrypted and no password was given
    sleWrongPassword,  // the password fails the encryption header's check byte
    sleBadDeflate,     // damaged data: the DEFLATE stream is refused or truncated
    sleSizeMismatch,   // damaged data: the decoded size differs from the recorded one
    sleCrcMismatch,    // damaged data: the CRC-32 differs from the central directory's
    sleDamagedArchive, // damaged skin file: local header or encryption header out of the file
    sleOutputFile,     // the file for the extracted skin data could not be written
    sleBadSkinData,    // the skin data's header, records or value sizes are malformed
    sleBadBitmap,      // a bitmap of the skin data is no valid BMP, or too large
};
KEL_ENUM_NAMES(TSkinLoadError, "sleNone", "sleFileMissing", "sleFileUnreadable", "sleNotSkinFile",
               "sleEntryMissing", "sleEntryTooLarge", "sleNoPassword", "sleWrongPassword",
               "sleBadDeflate", "sleSizeMismatch", "sleCrcMismatch", "sleDamagedArchive",
               "sleOutputFile", "sleBadSkinData", "sleBadBitmap")

// The reason of one load. `Encrypted` is true when the entry was encrypted and the password passed
// the check byte: a wrong password then still passes once in 256 tries, and only shows as damaged
// data (almost always a refused DEFLATE stream, else a CRC mismatch).
struct TSkinLoadFailure {
    TSkinLoadError Error = sleNone;
    bool Encrypted = false;
};

// One line of English for users, without a final full stop, for example "wrong password" or
// "damaged data: CRC-32 mismatch (or a wrong password)".
std::string SkinLoadErrorText(const TSkinLoadFailure& failure);

// The stable identifier of a reason, for scripts and logs: "none", "file-missing", ...
const char* SkinLoadErrorName(TSkinLoadError error);

} // namespace kel
