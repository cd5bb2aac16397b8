// The BMP codec: every stored form decodes to exact pixels, ImageMagick's files agree with the
// picture they were made from, and broken or hostile files are refused before large allocations.
#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// Records the largest single allocation (through the sanitizer's allocator hooks), so a test can
// show that a refusal allocated nothing big.
extern "C" [[gnu::weak]] int
__sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                          void (*onFree)(const volatile void*));
static std::atomic<size_t> gLargestAllocation{0};
static void RecordAllocation(const volatile void*, size_t size) {
    if (size > gLargestAllocation) gLargestAllocation = size;
}
static void IgnoreFree(const volatile void*) {}
static const bool gAllocationsWatched =
    __sanitizer_install_malloc_and_free_hooks != nullptr &&
    __sanitizer_install_malloc_and_free_hooks(&RecordAllocation, &IgnoreFree) != 0;

namespace kel {
namespace {

using Rows = std::vector<std::vector<uint32_t>>; // expected pixels, top row first

// Little-endian writer for hand-made bitmaps.
struct Bytes {
    std::vector<uint8_t> data;
    Bytes& U8(std::initializer_list<int> values) {
        for (int v : values) data.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& U16(uint32_t v) { return U8({int(v & 0xFF), int(v >> 8 & 0xFF)}); }
    Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
};

// A Windows info header of headerSize bytes (later fields zero; 16 gives the short OS/2 form).
Bytes Header(int32_t w, int32_t h, int bpp, uint32_t compression = 0, uint32_t colors = 0,
             size_t headerSize = 40) {
    Bytes b;
    b.U32(uint32_t(headerSize)).U32(uint32_t(w)).U32(uint32_t(h)).U16(1).U16(bpp).U32(compression);
    b.U32(0).U32(0).U32(0).U32(colors).U32(0);
    b.data.resize(headerSize, 0);
    return b;
}

// Palette entry i: red 0xF0 - i, green 0x10 * i, blue i (each modulo 256).
uint32_t Entry(int i) {
    return uint32_t(uint8_t(0xF0 - i) << 16 | uint8_t(0x10 * i) << 8 | uint8_t(i));
}
Bytes& Palette(Bytes& b, int count, int entrySize = 4) {
    for (int i = 0; i < count; ++i) {
        b.U8({i, 0x10 * i, 0xF0 - i});
        if (entrySize == 4) b.U8({0x77});
    }
    return b;
}

std::vector<uint8_t> FileOf(const Bytes& head, const Bytes& pixels) {
    Bytes f;
    f.U8({'B', 'M'}).U32(uint32_t(14 + head.data.size() + pixels.data.size())).U32(0);
    f.U32(uint32_t(14 + head.data.size()));
    f.data.insert(f.data.end(), head.data.begin(), head.data.end());
    f.data.insert(f.data.end(), pixels.data.begin(), pixels.data.end());
    return f.data;
}

// Decodes as a file and as a packed DIB (the same bytes without file header); both must agree.
TPixelImage Decode(const Bytes& head, const Bytes& pixels) {
    const std::vector<uint8_t> file = FileOf(head, pixels);
    const TPixelImage image = DecodeBmp(file.data(), file.size());
    const TPixelImage dib = DecodeDib(file.data() + 14, file.size() - 14);
    EXPECT_EQ(dib.Pixels, image.Pixels);
    return image;
}

void ExpectRows(const TPixelImage& image, const Rows& rows) {
    ASSERT_EQ(image.Height, int(rows.size()));
    std::vector<uint32_t> all;
    for (const auto& row : rows) {
        ASSERT_EQ(image.Width, int(row.size()));
        all.insert(all.end(), row.begin(), row.end());
    }
    EXPECT_EQ(image.Pixels, all);
}

void ExpectRefused(const std::vector<uint8_t>& file) {
    try {
        DecodeBmp(file.data(), file.size());
        ADD_FAILURE() << "decoded a bitmap that should be refused";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), kInvalidBitmapMessage);
    }
}

TEST(BmpDecode, IndexedPixelsUsePaletteAndMissingEntriesAreBlack) {
    Bytes h1 = Header(3, 2, 1);
    ExpectRows(Decode(Palette(h1, 2), Bytes().U8({0xA0, 0, 0, 0, 0x60, 0, 0, 0})),
               {{Entry(0), Entry(1), Entry(1)}, {Entry(1), Entry(0), Entry(1)}});
    // Two stored colours: index 5 has no entry.
    Bytes h4 = Header(3, 1, 4, 0, 2);
    ExpectRows(Decode(Palette(h4, 2), Bytes().U8({0x01, 0x50, 0, 0})), {{Entry(0), Entry(1), 0}});
    // Negative height: rows stored top down.
    Bytes h8 = Header(2, -2, 8);
    ExpectRows(Decode(Palette(h8, 256), Bytes().U8({1, 2, 0, 0, 3, 255, 0, 0})),
               {{Entry(1), Entry(2)}, {Entry(3), Entry(255)}});
}

TEST(BmpDecode, TrueColourRowsAreBottomUpAndPadded) {
    ExpectRows(
        Decode(Header(2, 2, 24), Bytes().U8({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0})),
        {{0x090807, 0x0C0B0A}, {0x030201, 0x060504}});
    // The last row may lack its padding.
    ExpectRows(Decode(Header(1, 1, 24), Bytes().U8({1, 2, 3})), {{0x030201}});
    // Without masks the fourth byte of a 32-bit pixel is not alpha.
    ExpectRows(Decode(Header(1, 1, 32), Bytes().U8({1, 2, 3, 0xFF})), {{0x030201}});
}

TEST(BmpDecode, BitFieldsWidenEachChannelToEightBits) {
    Bytes h565 = Header(4, 1, 16, 3);
    h565.U32(0xF800).U32(0x07E0).U32(0x001F);
    ExpectRows(Decode(h565, Bytes().U16(0xFFFF).U16(0xF800).U16(0x07E0).U16(0x0841)),
               {{0xFFFFFF, 0xFF0000, 0x00FF00, 0x080808}});
    // Default 16-bit layout is 5-5-5 with the top bit unused.
    ExpectRows(Decode(Header(4, 1, 16), Bytes().U16(0x7FFF).U16(0x8000).U16(0x0421).U16(0x7C00)),
               {{0xFFFFFF, 0, 0x080808, 0xFF0000}});
    // Masks inside a 124-byte header, channels in unusual order and 10-bit channels in 56 bytes.
    Bytes v5 = Header(1, 1, 32, 3, 0, 124);
    v5.data[40] = 0xFF, v5.data[45] = 0xFF, v5.data[50] = 0xFF;
    ExpectRows(Decode(v5, Bytes().U32(0xAA332211)), {{0x112233}});
    Bytes v3 = Header(1, 1, 32, 3, 0, 56);
    v3.data.resize(40), v3.U32(0x3FF00000).U32(0x000FFC00).U32(0x000003FF).U32(0);
    ExpectRows(Decode(v3, Bytes().U32(0x3FF << 20 | 0x200 << 10 | 0x0FF)), {{0xFF803F}});
}

TEST(BmpDecode, Os2Headers) {
    Bytes core;
    core.U32(12).U16(2).U16(1).U16(1).U16(1);
    ExpectRows(Decode(Palette(core, 2, 3), Bytes().U8({0x40, 0, 0, 0})), {{Entry(0), Entry(1)}});
    Bytes os2 = Header(2, 1, 8, 0, 2, 64);
    ExpectRows(Decode(Palette(os2, 2), Bytes().U8({1, 0, 0, 0})), {{Entry(1), Entry(0)}});
    ExpectRows(Decode(Header(1, 1, 24, 0, 0, 16), Bytes().U8({1, 2, 3, 0})), {{0x030201}});
}

TEST(BmpDecode, RleRunsLiteralsDeltasAndUnwrittenPixels) {
    Bytes h8 = Header(4, 3, 8, 1, 4);
    Palette(h8, 4);
    // Run of 3; delta up one row; run of 1; end of line; literal of 3 (padded); end.
    const Bytes rle8 = Bytes().U8({3, 1, 0, 2, 0, 1, 1, 2, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1});
    ExpectRows(Decode(h8, rle8), {{Entry(1), Entry(2), Entry(3), 0},
                                  {0, 0, 0, Entry(2)},
                                  {Entry(1), Entry(1), Entry(1), 0}});

    Bytes h4 = Header(5, 3, 4, 2);
    Palette(h4, 16);
    // Alternating run, odd literal (3 bytes + pad), delta right 3 then a 2-pixel run, end.
    const Bytes rle4 =
        Bytes().U8({5, 0x12, 0, 0, 0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 0, 2, 3, 0, 2, 0x77, 0, 1});
    ExpectRows(Decode(h4, rle4), {{0, 0, 0, Entry(7), Entry(7)},
                                  {Entry(1), Entry(2), Entry(3), Entry(4), Entry(5)},
                                  {Entry(1), Entry(2), Entry(1), Entry(2), Entry(1)}});
}

TEST(BmpDecode, RleNeverWritesOutsideThePicture) {
    Bytes h = Header(2, 2, 8, 1, 2);
    Palette(h, 2);
    // Runs and literals longer than the row are cut; an EOL past the top row ends the stream,
    // whatever follows it.
    const Bytes rle = Bytes().U8({9, 1, 0, 0, 0, 4, 0, 1, 1, 1, 0, 0, 7, 7, 7});
    ExpectRows(Decode(h, rle), {{Entry(0), Entry(1)}, {Entry(1), Entry(1)}});
    // A delta beyond the top row ends it too.
    ExpectRows(Decode(h, Bytes().U8({1, 1, 0, 2, 200, 9, 5, 5})), {{0, 0}, {Entry(1), 0}});
}

TEST(BmpDecode, EmptyPicturesAndFileHeaderOffset) {
    EXPECT_TRUE(Decode(Header(0, 5, 24), Bytes()).Empty());
    const TPixelImage flat = Decode(Header(7, 0, 24), Bytes());
    EXPECT_EQ(flat.Width, 0);
    EXPECT_EQ(flat.Height, 0);

    // bfOffBits beyond the palette: the gap is skipped.
    Bytes h4 = Header(2, 1, 8, 0, 4);
    std::vector<uint8_t> file = FileOf(Palette(h4, 4), Bytes().U8({0xEE, 0xEE, 2, 3, 0, 0}));
    file[10] += 2;
    ExpectRows(DecodeBmp(file.data(), file.size()), {{Entry(2), Entry(3)}});
    // Pixel data where the palette should continue: the entries it overlaps are black.
    Bytes h2 = Header(3, 1, 8, 0, 4);
    file = FileOf(Palette(h2, 2), Bytes().U8({1, 2, 3, 0}));
    ExpectRows(DecodeBmp(file.data(), file.size()), {{Entry(1), 0, 0}});
}

TEST(BmpRefuse, MalformedHeadersAndData) {
    // A 1x1 24-bit file (with room to spare) with `bytes` written over its header at `at`.
    const auto patched = [](Bytes head, size_t at, std::initializer_list<int> bytes) {
        std::copy(bytes.begin(), bytes.end(), head.data.begin() + at);
        return FileOf(head, Bytes().U32(0).U32(0));
    };
    const Bytes ok = Header(1, 1, 24);
    ExpectRefused(patched(ok, 12, {0}));                     // zero planes
    ExpectRefused(patched(ok, 16, {4}));                     // JPEG inside
    ExpectRefused(patched(ok, 16, {9}));                     // unknown compression
    ExpectRefused(patched(ok, 14, {2}));                     // 2 bits per pixel
    ExpectRefused(patched(ok, 16, {3}));                     // masks with 24 bits per pixel
    ExpectRefused(patched(ok, 14, {4, 0, 1}));               // RLE8 with 4 bits per pixel
    ExpectRefused(patched(ok, 0, {41}));                     // unknown header size
    ExpectRefused(patched(ok, 0, {0, 1}));                   // header longer than the file
    ExpectRefused(patched(ok, 4, {0xFF, 0xFF, 0xFF, 0xFF})); // negative width
    ExpectRefused(patched(ok, 8, {0, 0, 0, 0x80}));          // height -2^31
    ExpectRefused(patched(Header(1, -1, 8, 1), 0, {40}));    // top-down RLE
    const Bytes masks = Header(1, 1, 16, 3);
    ExpectRefused(FileOf(Bytes(masks).U32(0xF00F).U32(0xF0).U32(0), Bytes().U32(0)));   // gap
    ExpectRefused(FileOf(Bytes(masks).U32(0x1F0000).U32(0xF0).U32(0), Bytes().U32(0))); // > 16
    ExpectRefused(FileOf(Bytes(masks).U32(0x1F), Bytes()));                             // cut off

    std::vector<uint8_t> file = FileOf(ok, Bytes().U32(0));
    file[0] = 'X';
    ExpectRefused(file);
    // Pixel data inside the header, with no room for the pixel, past the end, far past it.
    for (uint32_t offset : {0u, 53u, 58u, 59u, 0xFFFFFFFFu}) {
        file = FileOf(ok, Bytes().U32(0));
        for (int i = 0; i < 4; ++i) file[10 + i] = uint8_t(offset >> 8 * i);
        ExpectRefused(file);
    }
}

TEST(BmpRefuse, EveryTruncationOfAFile) {
    // 24-bit rows of 12 bytes have no padding, so every cut loses data; RLE loses its end mark.
    Bytes rleHead = Header(4, 2, 8, 1, 2);
    const std::vector<std::vector<uint8_t>> files{
        FileOf(Header(4, 2, 24), Bytes().U32(1).U32(2).U32(3).U32(4).U32(5).U32(6)),
        FileOf(Palette(rleHead, 2), Bytes().U8({2, 1, 0, 2, 1, 0, 0, 0, 0, 3, 1, 0, 1, 0, 0, 1})),
    };
    for (const auto& file : files) {
        EXPECT_NO_THROW(DecodeBmp(file.data(), file.size()));
        for (size_t size = 0; size < file.size(); ++size)
            ExpectRefused(std::vector<uint8_t>(file.begin(), file.begin() + size));
    }
}

TEST(BmpRefuse, HugeDimensionsInATinyFileAllocateNothing) {
    if (!gAllocationsWatched) GTEST_SKIP() << "allocations cannot be watched without a sanitizer";
    const std::vector<Bytes> heads{Header(100000, 100000, 24), Header(8192, 8192, 1),
                                   Header(8192, 8192, 8, 1), Header(4096, 4096, 4, 2)};
    for (const Bytes& head : heads) {
        std::vector<uint8_t> file = FileOf(head, Bytes().U8({0, 0, 0, 0, 0, 1}));
        file.resize(60, 0);
        gLargestAllocation = 0;
        ExpectRefused(file);
        EXPECT_LT(gLargestAllocation.load(), size_t{65536});
    }
}

// An RLE8 picture of width x height in index 1, drawn as runs of 255 pixels: 8192 x 8192 takes
// about 540 KB and decodes to 256 MB of pixels.
std::vector<uint8_t> Rle8File(int width, int height) {
    Bytes head = Header(width, height, 8, 1, 2);
    Palette(head, 2);
    Bytes rle;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += 255) rle.U8({std::min(255, width - x), 1});
        rle.U8({0, 0});
    }
    rle.U8({0, 1});
    return FileOf(head, rle);
}

TEST(PixelBudget, RefusesAPictureBeyondItBeforeDecodingIt) {
    const std::vector<uint8_t> huge = Rle8File(8192, 8192);
    ASSERT_LT(huge.size(), 600u * 1024);
    const TPixelBudget budget(kMaxSkinPicturePixels, kMaxSkinPixels);
    for (int i = 0; i < 30; ++i) { // a skin folder of such pictures
        gLargestAllocation = 0;
        ExpectRefused(huge);
        if (gAllocationsWatched) {
            EXPECT_LT(gLargestAllocation.load(), size_t{1} << 20);
        }
    }
    EXPECT_EQ(budget.Spent(), 0);
    const TPixelImage small = DecodeBmp(Rle8File(300, 200).data(), Rle8File(300, 200).size());
    EXPECT_EQ(small.Pixels.size(), 60000u);
    EXPECT_EQ(budget.Spent(), 60000);
}

TEST(PixelBudget, BoundsEachPictureAndAllTogetherAndNests) {
    const std::vector<uint8_t> tenByTen = Rle8File(10, 10), elevenByTen = Rle8File(11, 10);
    {
        const TPixelBudget budget(100, 250);
        ExpectRefused(elevenByTen); // over the ceiling of one picture
        EXPECT_EQ(DecodeBmp(tenByTen.data(), tenByTen.size()).Pixels.size(), 100u);
        {
            const TPixelBudget inner(1000, 1000); // in force until it goes
            EXPECT_EQ(DecodeBmp(elevenByTen.data(), elevenByTen.size()).Pixels.size(), 110u);
            EXPECT_EQ(inner.Spent(), 110);
        }
        EXPECT_EQ(budget.Spent(), 100);
        EXPECT_EQ(DecodeBmp(tenByTen.data(), tenByTen.size()).Pixels.size(), 100u);
        ExpectRefused(tenByTen); // 50 pixels are left
        EXPECT_EQ(budget.Spent(), 200);
        const std::vector<uint8_t> empty = Rle8File(0, 0);
        EXPECT_TRUE(DecodeBmp(empty.data(), empty.size()).Empty()) << "costs nothing";
    }
    // Without a budget only the codec's own ceiling applies.
    EXPECT_EQ(DecodeBmp(elevenByTen.data(), elevenByTen.size()).Pixels.size(), 110u);
}

TEST(BmpEncode, RoundTripsAndRefusesInconsistentImages) {
    TPixelImage image;
    image.Width = 3, image.Height = 2;
    image.Pixels = {0x010203, 0xFFFFFF, 0, 0x800000, 0x00FF00, 0x0000FF};
    const std::vector<uint8_t> file = EncodeBmp24(image);
    EXPECT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(DecodeBmp(file.data(), file.size()).Pixels, image.Pixels);
    image.Pixels.pop_back();
    EXPECT_THROW(EncodeBmp24(image), EInvalidGraphic);
}

// ImageMagick as the oracle: each variant it writes from our picture decodes back to the picture.
class TempDir {
public:
    TempDir()
        : path_(std::filesystem::temp_directory_path() /
                ("bmp-codec-test-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BmpImageMagick, VariantsDecodeToTheSourcePicture) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
    const TempDir dir;
    struct Variant {
        int colours;
        const char* options;
        uint32_t headerSize, bitCount, compression;
    };
    const Variant variants[] = {
        {2, "-type Palette -compress None BMP3:", 40, 1, 0},
        {12, "-type Palette -compress None BMP3:", 40, 4, 0},
        {30, "-type Palette -compress None BMP3:", 40, 8, 0},
        {30, "-type Palette -compress RLE BMP3:", 40, 8, 1},
        {12, "-type Palette BMP2:", 12, 4, 0},
        {30, "-type TrueColor BMP2:", 12, 24, 0},
        {30, "-type TrueColor BMP3:", 40, 24, 0},
        {30, "-type TrueColorAlpha BMP:", 124, 32, 3},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(std::to_string(v.colours) + " colours, " + v.options);
        TPixelImage source;
        source.Width = 13, source.Height = 7;
        for (int i = 0; i < 13 * 7; ++i)
            source.Pixels.push_back(uint32_t((i * 7) % v.colours) * 0x050B11);
        const std::vector<uint8_t> sourceFile = EncodeBmp24(source);
        std::ofstream(dir.File("in.bmp"), std::ios::binary)
            .write(reinterpret_cast<const char*>(sourceFile.data()),
                   std::streamsize(sourceFile.size()));
        const std::string command =
            "convert '" + dir.File("in.bmp") + "' " + v.options + "'" + dir.File("out.bmp") + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::vector<uint8_t> out = ReadAll(dir.File("out.bmp"));
        ASSERT_GT(out.size(), 54u);
        const bool core = out[14] == 12;
        EXPECT_EQ(out[14], v.headerSize);
        EXPECT_EQ(out[core ? 24 : 28], v.bitCount);
        EXPECT_EQ(core ? 0 : out[30], v.compression);
        EXPECT_EQ(DecodeBmp(out.data(), out.size()).Pixels, source.Pixels);
    }
}

} // namespace
} // namespace kel
