#include "tools/skintool/SkinPacker.h"

#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"
#include "skin/themes/KEL2SkinReader_Crypto.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "tools/skintool/SkinDeflate.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace kel::skintool {
namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint16_t kVersion = 20; // DEFLATE and traditional encryption
constexpr uint16_t kMethodDeflate = 8;
// A fixed time stamp (2024-01-01 12:00) keeps packed files reproducible.
constexpr uint16_t kDosTime = 12 << 11;
constexpr uint16_t kDosDate = ((2024 - 1980) << 9) | (1 << 5) | 1;

void AppendRecord(std::vector<uint8_t>& out, const std::string& name, uint8_t type,
                  uint32_t dataOffset, uint32_t dataSize, uint32_t next) {
    const size_t at = out.size();
    out.resize(at + kSkinRecordSize, 0);
    std::memcpy(out.data() + at, name.data(), name.size());
    out[at + kSkinTypeField] = type;
    StoreLE32(out.data() + at + kSkinDataOffsetField, dataOffset);
    StoreLE32(out.data() + at + kSkinDataSizeField, dataSize);
    StoreLE32(out.data() + at + kSkinNextRecordField, next);
}

void CheckEntry(const TSkinEntry& entry) {
    if (entry.Name.empty() || entry.Name.size() > kSkinNameSize ||
        entry.Name.find('\0') != std::string::npos)
        throw Exception("Entry name '" + entry.Name + "' must be 1 to 64 characters");
    if ((entry.Type == srtInteger && entry.Data.size() != 4) ||
        (entry.Type == srtBoolean && entry.Data.size() != 1) || entry.Type > srtString)
        throw Exception("Entry '" + entry.Name + "' has a malformed value");
}

// Header fields shared by the local and the central header, from "version needed" on.
void AppendEntryFields(std::vector<uint8_t>& out, uint16_t flags, uint32_t crc,
                       uint32_t compressedSize, uint32_t size, size_t nameLength) {
    AppendLE16(out, kVersion);
    AppendLE16(out, flags);
    AppendLE16(out, kMethodDeflate);
    AppendLE16(out, kDosTime);
    AppendLE16(out, kDosDate);
    AppendLE32(out, crc);
    AppendLE32(out, compressedSize);
    AppendLE32(out, size);
    AppendLE16(out, static_cast<uint16_t>(nameLength));
    AppendLE16(out, 0); // extra field
}

std::vector<uint8_t> EncryptionHeader(uint32_t crc) {
    std::random_device source;
    std::vector<uint8_t> header(kEncryptionHeaderSize);
    for (size_t i = 0; i + 1 < header.size(); ++i) header[i] = static_cast<uint8_t>(source());
    header.back() = static_cast<uint8_t>(crc >> 24);
    return header;
}

// One line without its line break and leading blanks.
TSkinEntry ParseEntryLine(const std::string& line) {
    std::istringstream words(line);
    std::string kind, name;
    words >> kind >> name;
    const std::string where = "'" + line + "'";
    if (name.empty()) throw Exception("Missing name in " + where);
    if (kind == "string") {
        // The text is everything after the one blank that follows the name, trailing blanks too.
        const size_t nameEnd = line.find(name, kind.size()) + name.size();
        return StringEntry(name, nameEnd < line.size() ? line.substr(nameEnd + 1) : std::string());
    }
    std::string valueText, rest;
    words >> valueText >> rest;
    if (valueText.empty() || !rest.empty()) throw Exception("Expected one value in " + where);
    const int value = StrToInt(valueText);
    if (kind == "integer" || kind == "color") return IntegerEntry(name, value);
    if (kind == "boolean") {
        if (value < 0 || value > 255) throw Exception("Boolean value out of range in " + where);
        return BooleanEntry(name, static_cast<uint8_t>(value));
    }
    throw Exception("Unknown entry kind '" + kind + "' in " + where);
}

std::vector<TSkinEntry> ReadEntriesText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Exception("Cannot open " + path.string());
    std::vector<TSkinEntry> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        try {
            entries.push_back(ParseEntryLine(line.substr(start)));
        } catch (const Exception& e) {
            throw Exception(path.string() + ":" + std::to_string(number) + ": " + e.Message());
        }
    }
    return entries;
}

bool IsBmpName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return extension == ".bmp";
}

} // namespace

TSkinEntry BitmapEntry(const std::string& name, std::vector<uint8_t> bmpFile) {
    return {name, srtBitmap, std::move(bmpFile)};
}

TSkinEntry IntegerEntry(const std::string& name, int32_t value) {
    std::vector<uint8_t> data(4);
    StoreLE32(data.data(), static_cast<uint32_t>(value));
    return {name, srtInteger, data};
}

TSkinEntry BooleanEntry(const std::string& name, uint8_t value) {
    return {name, srtBoolean, {value}};
}

TSkinEntry StringEntry(const std::string& name, const std::string& text) {
    return {name, srtString, std::vector<uint8_t>(text.begin(), text.end())};
}

std::vector<uint8_t> BuildSkinData(const std::vector<TSkinEntry>& entries) {
    std::vector<uint8_t> out(kSkinHeaderSize, 0);
    StoreLE32(out.data() + kSkinHeaderLengthField, kSkinHeaderSize);
    StoreLE32(out.data() + 16, static_cast<uint32_t>(entries.size()));
    StoreLE32(out.data() + kSkinFirstRecordField, kSkinHeaderSize);
    for (const TSkinEntry& entry : entries) {
        CheckEntry(entry);
        const uint64_t dataOffset = out.size() + kSkinRecordSize;
        const uint64_t next = dataOffset + entry.Data.size();
        if (next + kSkinRecordSize > kMaxEntrySize)
            throw Exception("The skin data would exceed " + std::to_string(kMaxEntrySize) +
                            " bytes");
        AppendRecord(out, entry.Name, entry.Type, static_cast<uint32_t>(dataOffset),
                     static_cast<uint32_t>(entry.Data.size()), static_cast<uint32_t>(next));
        out.insert(out.end(), entry.Data.begin(), entry.Data.end());
    }
    AppendRecord(out, std::string(), 0, 0, 0, 0);
    return out;
}

std::vector<uint8_t> BuildSkinArchive(const std::vector<uint8_t>& skinData,
                                      const std::string& password, const TCompressor& compress) {
    if (skinData.size() > kMaxEntrySize) throw Exception("The skin data is too large");
    const uint32_t crc = Crc32(skinData.data(), skinData.size());
    std::vector<uint8_t> payload = compress ? compress(skinData.data(), skinData.size())
                                            : DeflateRaw(skinData.data(), skinData.size());
    uint16_t flags = 0;
    if (!password.empty()) {
        std::vector<uint8_t> header = EncryptionHeader(crc);
        payload.insert(payload.begin(), header.begin(), header.end());
        TPkwareKeys(password).Encrypt(payload.data(), payload.size());
        flags = 1;
    }
    const std::string name = kSkinDataEntryName;
    const auto size = static_cast<uint32_t>(skinData.size());
    const auto compressedSize = static_cast<uint32_t>(payload.size());

    std::vector<uint8_t> out;
    AppendLE32(out, kLocalSignature);
    AppendEntryFields(out, flags, crc, compressedSize, size, name.size());
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), payload.begin(), payload.end());

    const auto directoryOffset = static_cast<uint32_t>(out.size());
    AppendLE32(out, kCentralSignature);
    AppendLE16(out, kVersion); // made by: MS-DOS attributes
    AppendEntryFields(out, flags, crc, compressedSize, size, name.size());
    AppendLE16(out, 0); // comment
    AppendLE16(out, 0); // disk number start
    AppendLE16(out, 0); // internal attributes
    AppendLE32(out, 0); // external attributes
    AppendLE32(out, 0); // local header offset
    out.insert(out.end(), name.begin(), name.end());
    const auto directorySize = static_cast<uint32_t>(out.size() - directoryOffset);

    AppendLE32(out, kEndSignature);
    AppendLE16(out, 0); // this disk
    AppendLE16(out, 0); // disk of the central directory
    AppendLE16(out, 1); // entries on this disk
    AppendLE16(out, 1); // entries in total
    AppendLE32(out, directorySize);
    AppendLE32(out, directoryOffset);
    AppendLE16(out, 0); // comment length
    out[0] = 'S';
    out[1] = 'K';
    return out;
}

std::vector<TSkinEntry> ReadSkinFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(folder, error)) throw Exception("No folder " + folder);
    std::map<std::string, fs::path> bitmaps;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (file.is_regular_file() && IsBmpName(file.path()))
            bitmaps.emplace(file.path().stem().string(), file.path());
    }
    std::vector<TSkinEntry> entries;
    for (const auto& [name, path] : bitmaps) {
        std::vector<uint8_t> data = ReadWholeFile(path.string(), kMaxEntrySize);
        try {
            DecodeBmp(data.data(), data.size());
        } catch (const Exception& e) {
            throw Exception(path.string() + ": " + e.Message());
        }
        entries.push_back(BitmapEntry(name, std::move(data)));
    }
    const fs::path text = fs::path(folder) / "entries.txt";
    if (fs::exists(text, error)) {
        std::vector<TSkinEntry> more = ReadEntriesText(text);
        entries.insert(entries.end(), more.begin(), more.end());
    }
    return entries;
}

} // namespace kel::skintool
