#include "skin/themes/KEL2SkinReader_Failure.h"

namespace kel {

std::string SkinLoadErrorText(const TSkinLoadFailure& failure) {
    std::string text;
    switch (failure.Error) {
    case sleNone:
        return "loaded";
    case sleFileMissing:
        return "file not found";
    case sleFileUnreadable:
        return "file cannot be read";
    case sleNotSkinFile:
        return "not a skin file";
    case sleEntryMissing:
        return "no SKINDATA.SK2 entry in the skin file";
    case sleEntryTooLarge:
        return "skin data recorded as larger than 64 MB";
    case sleNoPassword:
        return "encrypted skin file and no password given";
    case sleWrongPassword:
        return "wrong password";
    case sleBadDeflate:
        text = "damaged data: invalid or truncated DEFLATE stream";
        break;
    case sleSizeMismatch:
        text = "damaged data: size differs from the recorded size";
        break;
    case sleCrcMismatch:
        text = "damaged data: CRC-32 mismatch";
        break;
    case sleDamagedArchive:
        return "damaged skin file: entry data lies outside the file";
    case sleOutputFile:
        return "file for the extracted skin data cannot be written";
    case sleBadSkinData:
        return "bad skin data tables";
    case sleBadBitmap:
        return "invalid or too large bitmap in the skin data";
    }
    if (text.empty()) return "unknown error";
    if (failure.Encrypted) text += " (or a wrong password)";
    return text;
}

const char* SkinLoadErrorName(TSkinLoadError error) {
    switch (error) {
    case sleNone:
        return "none";
    case sleFileMissing:
        return "file-missing";
    case sleFileUnreadable:
        return "file-unreadable";
    case sleNotSkinFile:
        return "not-skin-file";
    case sleEntryMissing:
        return "entry-missing";
    case sleEntryTooLarge:
        return "entry-too-large";
    case sleNoPassword:
        return "no-password";
    case sleWrongPassword:
        return "wrong-password";
    case sleBadDeflate:
        return "bad-deflate";
    case sleSizeMismatch:
        return "size-mismatch";
    case sleCrcMismatch:
        return "crc-mismatch";
    case sleDamagedArchive:
        return "damaged-archive";
    case sleOutputFile:
        return "output-file";
    case sleBadSkinData:
        return "bad-skin-data";
    case sleBadBitmap:
        return "bad-bitmap";
    }
    return "unknown";
}

} // namespace kel
