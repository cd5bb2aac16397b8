// Helpers of the skin file reader tests: a private temporary folder per test (the reader's
// temporary files go there, and it must be empty afterwards), skin data files with hand-placed
// records, and test pictures.
#pragma once

#include "framework/BmpCodec.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "skin/themes/KEL2SkinReader_SkinData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kel::reader_test {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// Points the platform's temporary folder at `folder` for this process.
inline void SetTempFolder(const fs::path& folder) {
#ifdef _WIN32
    SetEnvironmentVariableA("TMP", folder.string().c_str());
    SetEnvironmentVariableA("TEMP", folder.string().c_str());
#else
    setenv("TMPDIR", folder.string().c_str(), 1);
#endif
}

inline std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// Every test works in its own folder: Path() for its input files, and a temporary folder that the
// reader uses and that must be empty when the test ends.
class ReaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        root_ = SystemTempFolder() / ("kel-reader-test-" + std::to_string(random()));
        fs::create_directories(root_ / "work");
        fs::create_directories(root_ / "temp");
        SetTempFolder(root_ / "temp");
    }

    void TearDown() override {
        EXPECT_EQ(FilesIn(root_ / "temp"), std::vector<std::string>())
            << "the reader left files in its temporary folder";
        SetTempFolder(SystemTempFolder());
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // The temporary folder the process started with.
    static const fs::path& SystemTempFolder() {
        static const fs::path folder = fs::temp_directory_path();
        return folder;
    }

    std::string Path(const std::string& name) const { return (root_ / "work" / name).string(); }
    fs::path TempFolder() const { return root_ / "temp"; }

    std::string Write(const std::string& name, const Bytes& data) const {
        WriteWholeFile(Path(name), data);
        return Path(name);
    }

private:
    fs::path root_;
};

// A skin data file assembled record by record at chosen offsets, for chains no packer makes.
class TSkinDataImage {
public:
    explicit TSkinDataImage(size_t size = 0) : bytes_(std::max(size, kSkinHeaderSize), 0) {
        StoreLE32(bytes_.data() + kSkinHeaderLengthField, kSkinHeaderSize);
    }

    TSkinDataImage& FirstRecord(uint32_t offset) {
        StoreLE32(Grow(kSkinFirstRecordField, 4), offset);
        return *this;
    }
    TSkinDataImage& HeaderLength(uint32_t length) {
        StoreLE32(Grow(kSkinHeaderLengthField, 4), length);
        return *this;
    }
    TSkinDataImage& Record(uint32_t at, const std::string& name, uint8_t type, uint32_t dataOffset,
                           uint32_t dataSize, uint32_t next) {
        uint8_t* record = Grow(at, kSkinRecordSize);
        std::memset(record, 0, kSkinRecordSize);
        std::memcpy(record, name.data(), std::min(name.size(), kSkinNameSize));
        record[kSkinTypeField] = type;
        StoreLE32(record + kSkinDataOffsetField, dataOffset);
        StoreLE32(record + kSkinDataSizeField, dataSize);
        StoreLE32(record + kSkinNextRecordField, next);
        return *this;
    }
    TSkinDataImage& Terminator(uint32_t at) { return Record(at, "", 0, 0, 0, 0); }
    TSkinDataImage& Data(uint32_t at, const Bytes& data) {
        if (!data.empty()) std::memcpy(Grow(at, data.size()), data.data(), data.size());
        return *this;
    }
    TSkinDataImage& Int(uint32_t at, int32_t value) {
        StoreLE32(Grow(at, 4), static_cast<uint32_t>(value));
        return *this;
    }

    const Bytes& bytes() const { return bytes_; }

private:
    uint8_t* Grow(size_t at, size_t length) {
        if (bytes_.size() < at + length) bytes_.resize(at + length, 0);
        return bytes_.data() + at;
    }

    Bytes bytes_;
};

// A picture with a gradient and a one-pixel frame, so rows and columns are all distinct.
inline TPixelImage TestPicture(int width, int height, uint32_t seed = 0) {
    TPixelImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const uint32_t r = (x * 255 / std::max(1, width - 1) + seed) & 0xFF;
            const uint32_t g = (y * 255 / std::max(1, height - 1)) & 0xFF;
            image.Pixels[static_cast<size_t>(y) * width + x] =
                frame ? 0x00404040 : (r << 16) | (g << 8) | ((seed * 37) & 0xFF);
        }
    return image;
}

inline Bytes TestBmp(int width, int height, uint32_t seed = 0) {
    return EncodeBmp24(TestPicture(width, height, seed));
}

// An RLE8 BMP of one colour drawn as runs of 255 pixels: small on disk, large decoded (8192 x
// 8192: about 540 KB, 256 MB of pixels).
inline Bytes Rle8Bmp(int width, int height) {
    Bytes file(14 + 40 + 8, 0);
    const auto put32 = [&file](size_t at, uint32_t v) { StoreLE32(file.data() + at, v); };
    file[0] = 'B';
    file[1] = 'M';
    put32(10, 14 + 40 + 8);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 8;
    put32(30, 1);             // RLE8
    put32(46, 2);             // two palette entries
    file[14 + 40 + 4] = 0x80; // entry 1: blue 0x80
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += 255) {
            file.push_back(static_cast<uint8_t>(std::min(255, width - x)));
            file.push_back(1);
        }
        file.push_back(0);
        file.push_back(0);
    }
    file.push_back(0);
    file.push_back(1);
    put32(2, static_cast<uint32_t>(file.size()));
    return file;
}

} // namespace kel::reader_test
