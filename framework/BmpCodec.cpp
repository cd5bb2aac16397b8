// Decoding of Windows bitmaps into 32-bit pixels (header forms, palettes, bit-field masks,
// uncompressed and RLE pixel data) and the 24-bit encoder. Layouts follow what Windows loads.
#include "framework/BmpCodec.h"

#include "framework/SysUtils.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>

namespace kel {
namespace {

[[noreturn]] void Refuse() {
    throw EInvalidGraphic(kInvalidBitmapMessage);
}

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t ReadU32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int64_t ToSigned32(uint32_t value) {
    return value <= 0x7FFFFFFFu ? static_cast<int64_t>(value)
                                : static_cast<int64_t>(value) - 0x100000000LL;
}

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kMaskBytes = 12;
constexpr size_t kMaxPaletteEntries = 256;

// Compression codes of the header.
constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

// Palette indices to pixels; entries the file does not store stay black.
using Palette = std::array<uint32_t, kMaxPaletteEntries>;

// One colour channel of a bit-field pixel: where its bits lie and how they widen to 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask) : mask_(mask) {
        if (mask == 0) return;
        while (((mask >> shift_) & 1) == 0) ++shift_;
        while (shift_ + bits_ < 32 && ((mask >> (shift_ + bits_)) & 1) != 0) ++bits_;
    }

    // One run of set bits inside the pixel's width; anything else has no meaning as a channel.
    bool FitsIn(unsigned bitCount) const {
        const uint32_t run = bits_ == 32 ? 0xFFFFFFFFu : ((1u << bits_) - 1) << shift_;
        return mask_ == run && (bitCount == 32 || (mask_ >> bitCount) == 0);
    }

    uint32_t Extract(uint32_t pixel) const {
        const uint32_t value = (pixel & mask_) >> shift_;
        if (bits_ == 0) return 0;
        if (bits_ >= 8) return value >> (bits_ - 8);
        // Repeat the bit pattern so that full scale stays full scale (5 bits: v << 3 | v >> 2).
        uint32_t widened = 0;
        unsigned filled = 0;
        for (; filled < 8; filled += bits_) widened = (widened << bits_) | value;
        return widened >> (filled - 8);
    }

private:
    uint32_t mask_;
    unsigned shift_ = 0;
    unsigned bits_ = 0;
};

// Where the parts of a DIB lie and how its pixels are stored, as read from its header.
struct DibLayout {
    int64_t width = 0;
    int64_t height = 0; // number of rows; the sign of the stored height is in topDown
    bool topDown = false;
    unsigned bitCount = 0;
    uint32_t compression = kRgb;
    std::array<uint32_t, 3> masks{}; // red, green, blue of 16 and 32 bits per pixel
    size_t tableOffset = 0;          // first palette byte, after header and masks
    size_t tableEntries = 0;         // palette entries the header says are stored
    size_t entrySize = 4;            // bytes per palette entry (3 after the OS/2 core header)

    size_t TableEnd() const { return tableOffset + tableEntries * entrySize; }
    bool Rle() const { return compression == kRle8 || compression == kRle4; }
};

bool IsOneOf(unsigned value, std::initializer_list<unsigned> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

DibLayout ParseCoreHeader(const uint8_t* dib) {
    DibLayout layout;
    layout.width = ReadU16(dib + 4);
    layout.height = ReadU16(dib + 6);
    layout.bitCount = ReadU16(dib + 10);
    if (ReadU16(dib + 8) != 1 || !IsOneOf(layout.bitCount, {1, 4, 8, 24})) Refuse();
    layout.tableOffset = kCoreHeaderSize;
    layout.tableEntries = layout.bitCount <= 8 ? size_t{1} << layout.bitCount : 0;
    layout.entrySize = 3;
    return layout;
}

bool ValidCompression(uint32_t compression, unsigned bitCount, bool os2) {
    switch (compression) {
    case kRgb:
        return IsOneOf(bitCount, {1, 4, 8, 16, 24, 32});
    case kRle8:
        return bitCount == 8;
    case kRle4:
        return bitCount == 4;
    case kBitFields:
        return !os2 && (bitCount == 16 || bitCount == 32); // OS/2: 1-D Huffman
    default:
        return false;
    }
}

// The Windows headers (40, 52, 56, 108, 124 bytes) and the OS/2 2.x header (16 or 64 bytes), which
// share the first 40 bytes' layout; the short OS/2 form leaves the later fields zero.
DibLayout ParseInfoHeader(const uint8_t* dib, size_t size, uint32_t headerSize) {
    const bool os2 = headerSize == 16 || headerSize == 64;
    if (!os2 && !IsOneOf(headerSize, {40, 52, 56, 108, 124})) Refuse();
    const auto field = [&](size_t offset) {
        return offset + 4 <= headerSize ? ReadU32(dib + offset) : 0u;
    };
    DibLayout layout;
    layout.width = ToSigned32(field(4));
    const int64_t height = ToSigned32(field(8));
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    layout.bitCount = ReadU16(dib + 14);
    layout.compression = field(16);
    if (layout.width < 0 || layout.height > std::numeric_limits<int32_t>::max()) Refuse();
    if (ReadU16(dib + 12) != 1) Refuse();
    if (!ValidCompression(layout.compression, layout.bitCount, os2)) Refuse();
    if (layout.topDown && layout.Rle()) Refuse();

    layout.tableOffset = headerSize;
    if (layout.compression == kBitFields) {
        // The masks follow a 40-byte header; the longer headers carry them at the same place.
        layout.tableOffset = std::max<size_t>(headerSize, kInfoHeaderSize + kMaskBytes);
        if (layout.tableOffset > size) Refuse();
        for (size_t i = 0; i < 3; ++i) {
            layout.masks[i] = ReadU32(dib + kInfoHeaderSize + 4 * i);
            if (!Channel(layout.masks[i]).FitsIn(layout.bitCount)) Refuse();
        }
    } else if (layout.bitCount == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (layout.bitCount == 32) {
        layout.masks = {0xFF0000, 0x00FF00, 0x0000FF}; // the fourth byte is not alpha
    }
    // A colour count of 0 means the full palette; any count is capped at 256 entries, and
    // pictures of more than 8 bits per pixel may carry such a table too (it is skipped).
    const uint32_t colorsUsed = field(32);
    if (colorsUsed != 0)
        layout.tableEntries = std::min<size_t>(colorsUsed, kMaxPaletteEntries);
    else if (layout.bitCount <= 8)
        layout.tableEntries = size_t{1} << layout.bitCount;
    return layout;
}

DibLayout ParseHeader(const uint8_t* dib, size_t size) {
    if (size < 4) Refuse();
    const uint32_t headerSize = ReadU32(dib);
    if (headerSize < kCoreHeaderSize || headerSize > size) Refuse();
    return headerSize == kCoreHeaderSize ? ParseCoreHeader(dib)
                                         : ParseInfoHeader(dib, size, headerSize);
}

// Reads the palette entries that lie before the pixel data.
Palette ReadPalette(const uint8_t* dib, const DibLayout& layout, size_t pixelOffset) {
    Palette palette{};
    const size_t stored = std::min({layout.tableEntries, kMaxPaletteEntries,
                                    (pixelOffset - layout.tableOffset) / layout.entrySize});
    for (size_t i = 0; i < stored; ++i) {
        const uint8_t* entry = dib + layout.tableOffset + i * layout.entrySize;
        palette[i] = (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
    }
    return palette;
}

thread_local TPixelBudget* tCurrentBudget = nullptr;

TPixelImage NewImage(const DibLayout& layout) {
    TPixelBudget::Charge(layout.width * layout.height);
    TPixelImage image;
    image.Width = static_cast<int>(layout.width);
    image.Height = static_cast<int>(layout.height);
    image.Pixels.assign(static_cast<size_t>(layout.width * layout.height), 0);
    return image;
}

void DecodeRow(const uint8_t* src, uint32_t* out, const DibLayout& layout, const Palette& palette,
               const std::array<Channel, 3>& channels) {
    const auto width = static_cast<size_t>(layout.width);
    const unsigned bpp = layout.bitCount;
    const auto masked = [&channels](uint32_t value) {
        return (channels[0].Extract(value) << 16) | (channels[1].Extract(value) << 8) |
               channels[2].Extract(value);
    };
    switch (bpp) {
    case 16:
        for (size_t x = 0; x < width; ++x) out[x] = masked(ReadU16(src + 2 * x));
        break;
    case 24:
        for (size_t x = 0; x < width; ++x) {
            const uint8_t* p = src + 3 * x;
            out[x] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        }
        break;
    case 32:
        for (size_t x = 0; x < width; ++x) out[x] = masked(ReadU32(src + 4 * x));
        break;
    default: // 1, 4 or 8 bits: palette indices, the leftmost pixel in the high bits of a byte
        for (size_t x = 0; x < width; ++x) {
            const size_t bit = x * bpp;
            const unsigned shift = 8 - bpp - static_cast<unsigned>(bit & 7);
            out[x] = palette[(src[bit >> 3] >> shift) & ((1u << bpp) - 1)];
        }
    }
}

TPixelImage DecodeUncompressed(const uint8_t* bits, size_t size, const DibLayout& layout,
                               const Palette& palette) {
    // Rows are padded to 4 bytes; the last row's padding may be missing.
    const uint64_t rowBits = static_cast<uint64_t>(layout.width) * layout.bitCount;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    const uint64_t needed = stride * static_cast<uint64_t>(layout.height - 1) + (rowBits + 7) / 8;
    if (needed > size) Refuse();

    TPixelImage image = NewImage(layout);
    const std::array<Channel, 3> channels{Channel(layout.masks[0]), Channel(layout.masks[1]),
                                          Channel(layout.masks[2])};
    for (int64_t row = 0; row < layout.height; ++row) {
        const int64_t y = layout.topDown ? row : layout.height - 1 - row;
        DecodeRow(bits + row * stride, &image.Pixels[static_cast<size_t>(y * layout.width)], layout,
                  palette, channels);
    }
    return image;
}

unsigned Nibble(uint8_t byte, unsigned index) {
    return index % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

// RLE8 and RLE4, rows bottom up. Runs are cut at the right edge, pixels never written stay black
// and the stream ends at its end-of-bitmap mark or once it moves beyond the last row. A stream that
// runs out before either is truncated.
TPixelImage DecodeRle(const uint8_t* bits, size_t size, const DibLayout& layout,
                      const Palette& palette) {
    // Deltas let a few bytes cover many pixels; this bound still admits every run-encoded picture
    // (at most 255 pixels per 2 bytes) and keeps a tiny file from claiming a huge one.
    if (layout.width * layout.height > static_cast<int64_t>(size) * 512 + 65536) Refuse();

    TPixelImage image = NewImage(layout);
    const bool rle4 = layout.compression == kRle4;
    const int64_t width = layout.width;
    int64_t x = 0;
    int64_t y = 0; // counted from the bottom row
    const auto put = [&](unsigned index) {
        if (x >= width) return;
        image.Pixels[static_cast<size_t>((layout.height - 1 - y) * width + x)] = palette[index];
        ++x;
    };
    size_t pos = 0;
    for (;;) {
        if (size - pos < 2) Refuse();
        const unsigned count = bits[pos];
        const unsigned code = bits[pos + 1];
        pos += 2;
        if (count > 0) { // a run of one index, or for RLE4 of two alternating ones
            for (unsigned i = 0; i < count; ++i)
                put(rle4 ? Nibble(static_cast<uint8_t>(code), i) : code);
        } else if (code == 0) { // end of line
            x = 0;
            if (++y >= layout.height) break;
        } else if (code == 1) { // end of bitmap
            break;
        } else if (code == 2) { // delta: move right and up
            if (size - pos < 2) Refuse();
            x = std::min<int64_t>(x + bits[pos], width);
            y += bits[pos + 1];
            pos += 2;
            if (y >= layout.height) break;
        } else { // `code` literal indices, padded to a 16-bit boundary
            const size_t bytes = rle4 ? (code + 1) / 2 : code;
            const size_t padded = bytes + (bytes & 1);
            if (size - pos < padded) Refuse();
            for (unsigned i = 0; i < code; ++i)
                put(rle4 ? Nibble(bits[pos + i / 2], i) : bits[pos + i]);
            pos += padded;
        }
    }
    return image;
}

// Decodes the pixels of a DIB whose pixel data starts at pixelOffset (tableOffset <= pixelOffset
// <= size); palette entries at or after pixelOffset are not stored.
TPixelImage DecodePixels(const uint8_t* dib, size_t size, const DibLayout& layout,
                         size_t pixelOffset) {
    if (layout.width == 0 || layout.height == 0) return {};
    if (layout.width * layout.height > kMaxBmpPixels) Refuse();
    const Palette palette = ReadPalette(dib, layout, pixelOffset);
    const uint8_t* bits = dib + pixelOffset;
    const size_t bitsSize = size - pixelOffset;
    return layout.Rle() ? DecodeRle(bits, bitsSize, layout, palette)
                        : DecodeUncompressed(bits, bitsSize, layout, palette);
}

} // namespace

TPixelBudget::TPixelBudget(int64_t perPicture, int64_t total)
    : perPicture_(perPicture), total_(total), outer_(tCurrentBudget) {
    tCurrentBudget = this;
}

TPixelBudget::~TPixelBudget() {
    tCurrentBudget = outer_;
}

void TPixelBudget::Charge(int64_t pixels) {
    TPixelBudget* budget = tCurrentBudget;
    if (!budget) return;
    if (pixels > budget->perPicture_ || pixels > budget->total_ - budget->spent_) Refuse();
    budget->spent_ += pixels;
}

TPixelImage DecodeDib(const uint8_t* data, size_t size) {
    const DibLayout layout = ParseHeader(data, size);
    if (layout.TableEnd() > size) Refuse();
    return DecodePixels(data, size, layout, layout.TableEnd());
}

TPixelImage DecodeBmp(const uint8_t* data, size_t size) {
    if (size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') Refuse();
    const uint8_t* dib = data + kFileHeaderSize;
    const size_t dibSize = size - kFileHeaderSize;
    const DibLayout layout = ParseHeader(dib, dibSize);
    // The pixel data starts where the file header says, after header and masks at the earliest.
    const uint32_t pixelOffset = ReadU32(data + 10);
    if (pixelOffset < kFileHeaderSize + layout.tableOffset || pixelOffset > size) Refuse();
    return DecodePixels(dib, dibSize, layout, pixelOffset - kFileHeaderSize);
}

std::vector<uint8_t> EncodeBmp24(const TPixelImage& image) {
    const auto width = static_cast<uint64_t>(image.Width);
    const auto height = static_cast<uint64_t>(image.Height);
    if (image.Width < 0 || image.Height < 0 || image.Pixels.size() != width * height) Refuse();
    const uint64_t stride = (width * 3 + 3) / 4 * 4;
    const uint64_t headersSize = kFileHeaderSize + kInfoHeaderSize;
    const uint64_t fileSize = headersSize + stride * height;
    if (fileSize > 0xFFFFFFFFu) Refuse();

    std::vector<uint8_t> file(static_cast<size_t>(fileSize), 0);
    const auto put16 = [&file](size_t at, uint64_t value) {
        file[at] = static_cast<uint8_t>(value);
        file[at + 1] = static_cast<uint8_t>(value >> 8);
    };
    const auto put32 = [&put16](size_t at, uint64_t value) {
        put16(at, value & 0xFFFF);
        put16(at + 2, value >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, fileSize);
    put32(10, headersSize);
    put32(14, kInfoHeaderSize);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, 24);
    put32(34, fileSize - headersSize);
    for (uint64_t y = 0; y < height; ++y) {
        uint8_t* row = file.data() + headersSize + (height - 1 - y) * stride;
        for (uint64_t x = 0; x < width; ++x) {
            const uint32_t pixel = image.Pixels[static_cast<size_t>(y * width + x)];
            row[3 * x] = static_cast<uint8_t>(pixel);
            row[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(pixel >> 16);
        }
    }
    return file;
}

} // namespace kel
