#include "tools/skintool/SkinPacker.h"

#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"
#include "skin/themes/KEL2SkinReader_Crypto.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "tools/skintool/SkinDeflate.h"

#include <algorithm>
#include <cstdio>
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

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A name of entries.txt with its %XX escapes decoded.
std::string DecodeName(const std::string& text, const std::string& where) {
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) throw Exception("Bad %XX escape in the name in " + where);
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return name;
}

std::vector<uint8_t> DecodeHex(const std::string& text, const std::string& where) {
    if (text.size() % 2 != 0) throw Exception("Odd number of hexadecimal digits in " + where);
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) throw Exception("Bad hexadecimal digit in " + where);
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::vector<uint8_t> ReadBitmapFile(const std::filesystem::path& path) {
    std::vector<uint8_t> data = ReadWholeFile(path.string(), kMaxEntrySize);
    try {
        DecodeBmp(data.data(), data.size());
    } catch (const Exception& e) {
        throw Exception(path.string() + ": " + e.Message());
    }
    return data;
}

// One line without its line break and leading blanks; bitmap lines read their file from `folder`.
TSkinEntry ParseEntryLine(const std::string& line, const std::filesystem::path& folder) {
    std::istringstream words(line);
    std::string kind, nameText;
    words >> kind >> nameText;
    const std::string where = "'" + line + "'";
    if (nameText.empty()) throw Exception("Missing name in " + where);
    const std::string name = DecodeName(nameText, where);
    if (kind == "string") {
        // The text is everything after the one blank that follows the name, trailing blanks too.
        const size_t nameEnd = line.find(nameText, kind.size()) + nameText.size();
        return StringEntry(name, nameEnd < line.size() ? line.substr(nameEnd + 1) : std::string());
    }
    std::string valueText, rest;
    words >> valueText >> rest;
    if (kind == "stringhex") {
        if (!rest.empty()) throw Exception("Expected one value in " + where);
        const std::vector<uint8_t> bytes = DecodeHex(valueText, where);
        return StringEntry(name, std::string(bytes.begin(), bytes.end()));
    }
    if (valueText.empty() || !rest.empty()) throw Exception("Expected one value in " + where);
    if (kind == "bitmap") return BitmapEntry(name, ReadBitmapFile(folder / valueText));
    const int value = StrToInt(valueText);
    if (kind == "integer" || kind == "color") return IntegerEntry(name, value);
    if (kind == "boolean") {
        if (value < 0 || value > 255) throw Exception("Boolean value out of range in " + where);
        return BooleanEntry(name, static_cast<uint8_t>(value));
    }
    throw Exception("Unknown entry kind '" + kind + "' in " + where);
}

// The entries of entries.txt in file order; `bitmapFiles` receives the file names its bitmap
// lines use.
std::vector<TSkinEntry> ReadEntriesText(const std::filesystem::path& path,
                                        std::vector<std::string>& bitmapFiles) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Exception("Cannot open " + path.string());
    std::vector<TSkinEntry> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        try {
            const std::string text = line.substr(start);
            entries.push_back(ParseEntryLine(text, path.parent_path()));
            std::istringstream words(text);
            std::string kind, name, file;
            words >> kind >> name >> file;
            if (kind == "bitmap") bitmapFiles.push_back(file);
        } catch (const Exception& e) {
            throw Exception(path.string() + ":" + std::to_string(number) + ": " + e.Message());
        }
    }
    return entries;
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return text;
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
    std::vector<TSkinEntry> listed;
    std::vector<std::string> listedFiles;
    const fs::path text = fs::path(folder) / "entries.txt";
    if (fs::exists(text, error)) listed = ReadEntriesText(text, listedFiles);
    for (std::string& file : listedFiles) file = AsciiLower(file);

    // The pictures entries.txt does not place come first, in name order.
    std::map<std::string, fs::path> bitmaps;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        const std::string fileName = AsciiLower(file.path().filename().string());
        if (file.is_regular_file() && IsBmpName(file.path()) &&
            std::find(listedFiles.begin(), listedFiles.end(), fileName) == listedFiles.end())
            bitmaps.emplace(file.path().stem().string(), file.path());
    }
    std::vector<TSkinEntry> entries;
    for (const auto& [name, path] : bitmaps)
        entries.push_back(BitmapEntry(name, ReadBitmapFile(path)));
    entries.insert(entries.end(), listed.begin(), listed.end());
    return entries;
}

} // namespace kel::skintool

namespace kel::skintool {
namespace {

std::string EncodeName(const std::string& name) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '%') {
            text += '%';
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

std::string HexText(const std::vector<uint8_t>& bytes) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : bytes) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

// True when the name can stand as a file name on every system as it is.
bool SafeFileStem(const std::string& name) {
    if (name.empty()) return false;
    for (const char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-'))
            return false;
    const std::string lower = AsciiLower(name);
    for (const char* reserved : {"con", "prn", "aux", "nul"})
        if (lower == reserved) return false;
    if (lower.size() == 4 && (lower.compare(0, 3, "com") == 0 || lower.compare(0, 3, "lpt") == 0))
        return false;
    return true;
}

} // namespace

void WriteSkinFolder(const std::string& folder, const std::vector<TSkinEntry>& entries,
                     const std::function<bool(const std::string&)>& colorKey) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) throw Exception("Cannot create the folder " + folder);
    std::string text = "# Skin entries in chain order; skintool pack reads this folder back.\n";
    std::vector<std::string> usedFiles; // lower case: file names differ in more than case
    int serial = 0;
    for (const TSkinEntry& entry : entries) {
        if (entry.Name.empty()) throw Exception("An entry without a name cannot be unpacked");
        const std::string name = EncodeName(entry.Name);
        char value[32];
        switch (entry.Type) {
        case srtBitmap: {
            std::string file = entry.Name + ".bmp";
            while (!SafeFileStem(file.substr(0, file.size() - 4)) ||
                   std::find(usedFiles.begin(), usedFiles.end(), AsciiLower(file)) !=
                       usedFiles.end())
                file = "bitmap" + std::to_string(++serial) + ".bmp";
            usedFiles.push_back(AsciiLower(file));
            WriteWholeFile((fs::path(folder) / file).string(), entry.Data);
            text += "bitmap " + name + " " + file + "\n";
            break;
        }
        case srtInteger: {
            const uint32_t bits = LoadLE32(entry.Data.data());
            if (colorKey && colorKey(entry.Name)) {
                std::snprintf(value, sizeof value, "0x%08X", static_cast<unsigned>(bits));
                text += "color " + name + " " + value + "\n";
            } else {
                text += "integer " + name + " " + std::to_string(static_cast<int32_t>(bits)) + "\n";
            }
            break;
        }
        case srtBoolean:
            text += "boolean " + name + " " + std::to_string(entry.Data[0]) + "\n";
            break;
        default: {
            const std::string textValue(entry.Data.begin(), entry.Data.end());
            if (textValue.find_first_of("\r\n") == std::string::npos)
                text += "string " + name + " " + textValue + "\n";
            else
                text += "stringhex " + name + " " + HexText(entry.Data) + "\n";
            break;
        }
        }
    }
    WriteWholeFile((fs::path(folder) / "entries.txt").string(),
                   std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace kel::skintool
