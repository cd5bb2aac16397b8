#include "skin/themes/KEL2SkinReader_Archive.h"

#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"
#include "skin/themes/KEL2SkinReader_Crypto.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "skin/themes/KEL2SkinReader_Inflate.h"
#include "skin/themes/KEL2SkinReader_Platform.h"

#include <optional>

namespace kel {
namespace {

constexpr size_t kEndRecordSize = 22;
constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagTimeCheck = 0x0008;

// What the central directory says about the wanted entry.
struct TCentralEntry {
    uint16_t flags = 0;
    uint16_t modificationTime = 0;
    uint32_t crc32 = 0;
    uint32_t uncompressedSize = 0;
    uint32_t localHeaderOffset = 0;
};

// Raised by the output when decoding passes the recorded size.
class EOutputLimitPassed : public EStreamError {
public:
    EOutputLimitPassed() : EStreamError("Stream write error") {}
};

// Raised when the output cannot be opened or written, to tell it from a failing archive.
class EOutputFailed : public EStreamError {
public:
    EOutputFailed() : EStreamError("Stream write error") {}
};

class TArchiveInput : public TInputStream {
public:
    explicit TArchiveInput(TReadFile& file) : file_(file) {}
    size_t Read(uint8_t* buffer, size_t count) override { return file_.ReadSome(buffer, count); }

private:
    TReadFile& file_;
};

// Decrypts the archive from the current position to its end as the decoder reads it; the same
// bytes the whole-file pass would produce, without holding the rest of the file in memory.
class TDecryptingInput : public TInputStream {
public:
    TDecryptingInput(TReadFile& file, TPkwareKeys& keys) : file_(file), keys_(keys) {}
    size_t Read(uint8_t* buffer, size_t count) override {
        const size_t got = file_.ReadSome(buffer, count);
        keys_.Decrypt(buffer, got);
        return got;
    }

private:
    TReadFile& file_;
    TPkwareKeys& keys_;
};

// The caller's output, limited to the recorded size, with the CRC-32 of what passed.
class TEntryOutput : public TOutputStream {
public:
    TEntryOutput(TOutputStream& out, uint32_t limit) : out_(out), limit_(limit) {}

    void Write(const uint8_t* data, size_t count) override {
        if (count > limit_ - written_) throw EOutputLimitPassed();
        try {
            out_.Write(data, count);
        } catch (const std::exception&) {
            throw EOutputFailed();
        }
        crc_ = Crc32(data, count, crc_);
        written_ += count;
    }
    uint64_t Written() const { return written_; }
    uint32_t Crc() const { return crc_; }

private:
    TOutputStream& out_;
    uint64_t limit_;
    uint64_t written_ = 0;
    uint32_t crc_ = 0;
};

// A file output that deletes its file on destruction unless kept.
class TFileOutput : public TOutputStream {
public:
    explicit TFileOutput(const std::string& path) : path_(path), file_(path) {}
    TFileOutput(const TFileOutput&) = delete;
    TFileOutput& operator=(const TFileOutput&) = delete;
    ~TFileOutput() override {
        try {
            file_.Close();
        } catch (const std::exception&) {
            kept_ = false;
        }
        if (!kept_) skinplatform::RemoveFile(path_);
    }
    void Write(const uint8_t* data, size_t count) override { file_.Write(data, count); }
    void Close() { file_.Close(); }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    TWriteFile file_;
    bool kept_ = false;
};

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool HasSkinSignature(TReadFile& archive) {
    uint8_t start[4];
    archive.ReadExact(start, sizeof start);
    return start[0] == 0x53 && start[1] == 0x4B;
}

// The central directory offset from an end record with an empty comment in the last 22 bytes;
// `endPosition` receives the record's position.
std::optional<uint32_t> ReadEndRecord(TReadFile& archive, uint64_t& endPosition) {
    if (archive.Size() < kEndRecordSize) return std::nullopt;
    archive.SeekFromEnd(kEndRecordSize);
    endPosition = archive.Position();
    uint8_t record[kEndRecordSize];
    archive.ReadExact(record, sizeof record);
    if (LoadLE32(record) != kEndRecordSignature || LoadLE16(record + 20) != 0) return std::nullopt;
    return LoadLE32(record + 16);
}

std::optional<TCentralEntry> FindCentralEntry(TReadFile& archive, uint64_t directoryOffset,
                                              uint64_t endPosition, const std::string& wanted) {
    const std::string wantedUpper = AsciiUpper(wanted);
    archive.Seek(directoryOffset);
    while (archive.Position() < endPosition) {
        uint8_t header[kCentralHeaderSize];
        archive.ReadExact(header, sizeof header);
        const uint16_t nameLength = LoadLE16(header + 28);
        const uint64_t skipAfterName = LoadLE16(header + 30) + uint64_t{LoadLE16(header + 32)};
        bool equal = false;
        if (nameLength <= kMaxEntryNameLength) {
            std::string name(nameLength, '\0');
            archive.ReadExact(reinterpret_cast<uint8_t*>(name.data()), name.size());
            equal = AsciiUpper(name) == wantedUpper;
            archive.Seek(archive.Position() + skipAfterName);
        } else {
            archive.Seek(archive.Position() + nameLength + skipAfterName);
        }
        if (equal) {
            TCentralEntry entry;
            entry.flags = LoadLE16(header + 8);
            entry.modificationTime = LoadLE16(header + 12);
            entry.crc32 = LoadLE32(header + 16);
            entry.uncompressedSize = LoadLE32(header + 24);
            entry.localHeaderOffset = LoadLE32(header + 42);
            return entry;
        }
    }
    return std::nullopt;
}

void SkipLocalHeader(TReadFile& archive, uint32_t offset) {
    archive.Seek(offset);
    uint8_t header[kLocalHeaderSize];
    archive.ReadExact(header, sizeof header);
    archive.Seek(archive.Position() + LoadLE16(header + 26) + LoadLE16(header + 28));
}

// Decrypts when needed and decodes the entry's data at the archive's current position.
TExtractResult DecodeEntry(TReadFile& archive, const TCentralEntry& entry,
                           const std::string& password, TOutputStream& output,
                           TSkinLoadFailure& failure) {
    if ((entry.flags & kFlagEncrypted) == 0) {
        TArchiveInput input(archive);
        if (Inflate(input, output)) return erExtracted;
        failure.Error = sleBadDeflate;
        return erUnreadable;
    }
    if (password.empty()) {
        failure.Error = sleNoPassword;
        return erRejected;
    }
    uint8_t header[kEncryptionHeaderSize];
    failure.Error = sleDamagedArchive; // should the header lie beyond the end of the file
    archive.ReadExact(header, sizeof header);
    TPkwareKeys keys(password);
    keys.Decrypt(header, sizeof header);
    const uint8_t check = (entry.flags & kFlagTimeCheck) != 0
                              ? static_cast<uint8_t>(entry.modificationTime >> 8)
                              : static_cast<uint8_t>(entry.crc32 >> 24);
    if (header[kEncryptionHeaderSize - 1] != check) {
        failure.Error = sleWrongPassword;
        return erRejected;
    }
    // Past the check byte a wrong password can no longer be told from damaged data.
    failure = {sleNone, true};
    TDecryptingInput input(archive, keys);
    if (Inflate(input, output)) return erExtracted;
    failure.Error = sleBadDeflate;
    return erUnreadable;
}

// The reader's steps up to the decoding, each with the reason it gives when it fails.
TExtractResult Extract(const std::string& archivePath, const std::string& entryName,
                       const TOutputOpener& openOutput, const std::string& password,
                       TSkinLoadFailure& failure) {
    failure = {};
    if (!skinplatform::FileExists(archivePath)) {
        failure.Error = sleFileMissing;
        return erUnreadable;
    }
    std::optional<TReadFile> archive;
    try {
        archive.emplace(archivePath);
    } catch (const std::exception&) {
        failure.Error = sleFileUnreadable;
        return erUnreadable;
    }
    TCentralEntry entry;
    try {
        failure.Error = sleNotSkinFile;
        if (!HasSkinSignature(*archive)) return erUnreadable;
        uint64_t endPosition = 0;
        const std::optional<uint32_t> directoryOffset = ReadEndRecord(*archive, endPosition);
        if (!directoryOffset) return erUnreadable;
        const std::optional<TCentralEntry> found =
            FindCentralEntry(*archive, *directoryOffset, endPosition, entryName);
        if (!found) {
            failure.Error = sleEntryMissing;
            return erUnreadable;
        }
        entry = *found;
    } catch (const std::exception&) {
        return erUnreadable; // a directory that runs out of the file: not a skin file
    }
    if (entry.uncompressedSize > kMaxEntrySize) {
        failure.Error = sleEntryTooLarge;
        return erRejected;
    }

    TOutputStream* opened = nullptr;
    try {
        opened = &openOutput();
    } catch (const std::exception&) {
        failure.Error = sleOutputFile;
        return erUnreadable;
    }
    TEntryOutput output(*opened, entry.uncompressedSize);
    TExtractResult result = erUnreadable;
    try {
        failure.Error = sleDamagedArchive;
        SkipLocalHeader(*archive, entry.localHeaderOffset);
        failure.Error = sleNone;
        result = DecodeEntry(*archive, entry, password, output, failure);
    } catch (const EOutputLimitPassed&) {
        failure.Error = sleSizeMismatch;
        result = erRejected;
    } catch (const EOutputFailed&) {
        failure.Error = sleOutputFile;
        result = erUnreadable;
    } catch (const std::exception&) {
        // The archive could not be read on: a device error, or data that ends early.
        if (failure.Error == sleNone) failure.Error = sleBadDeflate;
        result = erUnreadable;
    }
    if (result == erRejected && output.Written() == 0 && failure.Error != sleSizeMismatch)
        return result; // refused before decoding: password, check byte
    // The verdict, as the Parts give it: the recorded size first, then the CRC-32.
    if (output.Written() == 0 && result == erExtracted) {
        failure.Error = sleBadSkinData; // an empty entry is no skin data
        result = erUnreadable;
    } else if (output.Written() != entry.uncompressedSize) {
        if (failure.Error == sleNone) failure.Error = sleSizeMismatch;
        result = erRejected;
    } else if (result == erExtracted && output.Crc() != entry.crc32) {
        failure.Error = sleCrcMismatch;
        result = erRejected;
    }
    if (result == erExtracted) failure = {};
    return result;
}

} // namespace

TExtractResult ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                                   const TOutputOpener& openOutput, const std::string& password,
                                   TSkinLoadFailure* failure) {
    TSkinLoadFailure reason;
    TExtractResult result = erUnreadable;
    try {
        result = Extract(archivePath, entryName, openOutput, password, reason);
    } catch (const std::exception&) {
        reason.Error = sleFileUnreadable;
        result = erUnreadable;
    }
    if (failure) *failure = reason;
    return result;
}

TExtractResult ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                                   const std::string& outputPath, const std::string& password,
                                   TSkinLoadFailure* failure) {
    std::optional<TFileOutput> file;
    TExtractResult result = ExtractArchiveEntry(
        archivePath, entryName, [&]() -> TOutputStream& { return file.emplace(outputPath); },
        password, failure);
    if (file && result == erExtracted) {
        try {
            file->Close();
            file->Keep();
        } catch (const std::exception&) {
            if (failure) *failure = {sleOutputFile, false};
            result = erUnreadable;
        }
    }
    return result;
}

} // namespace kel
