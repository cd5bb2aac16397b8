// Loading a realistic skin file with our reader against a zlib-based baseline, in the same run.
//
// The skin file: 48 bitmaps of UI art (title bar, border, button, check box, scroll bar and menu
// strips with gradients, bevels, rounded corners on the key colour and caption-like glyph rows),
// plus integers and booleans, laid out by skintool's packer and deflated by zlib at level 9, the
// way skin files made elsewhere typically come.
//
// Ours: constructing Tsk2SkinFileReader, i.e. extraction (archive scan, our DEFLATE decoder,
// written to the temporary file), reading it back, parsing the records and decoding every BMP.
// Baseline: the same work with zlib doing the extraction: zlib's raw inflate reads the entry's
// data from the skin file and writes the temporary file in 32 KB pieces (what our extraction
// does), then the same read-back, parse and BMP decoding. The difference between the two is
// therefore our archive handling and DEFLATE decoder against zlib's. Each figure is the median of
// several alternating runs; a second line compares the extraction steps alone.
#include "bench/BenchSupport.h"
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader.h"
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_Bytes.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "skin/themes/KEL2SkinReader_Platform.h"
#include "tools/skintool/SkinPacker.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using namespace kel;

constexpr int kRuns = 15;
constexpr uint32_t kKeyColour = 0xFF00FF; // fuchsia, as pixel 0x00RRGGBB

// --- The skin's pictures

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * num / std::max(1, den)) << shift;
    }
    return out;
}

uint32_t Shade(uint32_t c, int delta) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int v = std::clamp(static_cast<int>((c >> shift) & 0xFF) + delta, 0, 255);
        out |= static_cast<uint32_t>(v) << shift;
    }
    return out;
}

// One frame: a diagonal gradient with a soft radial glow, a glossy upper half, a bevel, rounded
// corners outside which the key colour shows, and a row of glyph-like marks (a caption) when
// `caption` is set.
void DrawFrame(TPixelImage& image, int left, int width, uint32_t top, uint32_t bottom, int bevel,
               int radius, bool caption, uint32_t seed) {
    const int h = image.Height;
    const int glowX = width / 3 + static_cast<int>(seed % 7), glowY = h / 4;
    const int glowRadius = std::max(4, std::max(width, h) / 2);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t c = Mix(top, bottom, y * 3 + x, (h - 1) * 3 + width);
            const int distance = static_cast<int>(std::hypot(x - glowX, y - glowY));
            if (distance < glowRadius) c = Shade(c, 48 * (glowRadius - distance) / glowRadius);
            if (y < h / 2) c = Shade(c, 18 - 36 * y / std::max(1, h));
            if (x < bevel || y < bevel) c = Shade(c, 40);
            if (x >= width - bevel || y >= h - bevel) c = Shade(c, -50);
            const int dx = std::max({radius - x, x - (width - 1 - radius), 0});
            const int dy = std::max({radius - y, y - (h - 1 - radius), 0});
            if (dx * dx + dy * dy > radius * radius) c = kKeyColour;
            image.Pixels[static_cast<size_t>(y) * image.Width + left + x] = c;
        }
    }
    if (!caption || h < 12 || width < 24) return;
    // Glyphs: 5x7 cells whose strokes come from a fixed hash, like small caption text.
    uint32_t state = seed * 2654435761u + 12345;
    const int baseline = h / 2 - 3;
    for (int gx = 8; gx + 6 < width - 8; gx += 7) {
        state = state * 1103515245u + 12345;
        for (int cy = 0; cy < 7; ++cy)
            for (int cx = 0; cx < 5; ++cx)
                if ((state >> ((cy * 5 + cx) % 31)) & 1)
                    image
                        .Pixels[static_cast<size_t>(baseline + cy) * image.Width + left + gx + cx] =
                        0x101820;
    }
}

// A horizontal strip of `frames` states (normal, hover, pressed, disabled, ...).
TPixelImage Strip(int frameWidth, int height, int frames, uint32_t base, int bevel, int radius,
                  bool caption, uint32_t seed) {
    TPixelImage image;
    image.Width = frameWidth * frames;
    image.Height = height;
    image.Pixels.assign(static_cast<size_t>(image.Width) * height, 0);
    for (int f = 0; f < frames; ++f) {
        const uint32_t top = Shade(base, 30 + 12 * f - (f == 2 ? 50 : 0));
        const uint32_t bottom = Shade(base, -40 + 8 * f);
        DrawFrame(image, f * frameWidth, frameWidth, top, bottom, bevel, radius, caption,
                  seed + static_cast<uint32_t>(f));
    }
    return image;
}

struct TPictureLayout {
    const char* name;
    int frameWidth, height, frames;
    bool caption;
};

std::vector<skintool::TSkinEntry> SkinEntries() {
    const TPictureLayout layouts[] = {
        {"SKIN2_TITLEBAR1", 420, 30, 2, true},
        {"SKIN2_TITLEBAR2", 200, 30, 2, false},
        {"SKIN2_TITLEBAR3", 300, 30, 2, true},
        {"SKIN2_TITLEBAR4", 200, 30, 2, false},
        {"SKIN2_TITLEBAR5", 120, 30, 2, false},
        {"SKIN2_FORMLEFTBORDER", 6, 400, 2, false},
        {"SKIN2_FORMRIGHTBORDER", 6, 400, 2, false},
        {"SKIN2_FORMBOTTOMBORDER1", 300, 8, 2, false},
        {"SKIN2_FORMBOTTOMBORDER2", 200, 8, 2, false},
        {"SKIN2_FORMBOTTOMBORDER3", 300, 8, 2, false},
        {"SKIN2_MINIMIZEDTITLE", 160, 30, 2, true},
        {"SKIN2_TITLEBUTTONS", 21, 21, 12, false},
        {"SKIN2_CHECKEDMENUICON", 16, 16, 2, false},
        {"SKIN2_MENUBAR", 400, 22, 1, true},
        {"SKIN2_TOOLBAR", 400, 28, 1, false},
        {"SKIN2_BUTTON", 90, 25, 4, true},
        {"SKIN2_CHECKBOX", 16, 16, 8, false},
        {"SKIN2_CHECKBOXLIST", 16, 16, 8, false},
        {"SKIN2_RADIOBUTTON", 16, 16, 8, false},
        {"SKIN2_PROGRESSBAR1", 300, 18, 1, false},
        {"SKIN2_PROGRESSBAR2", 300, 18, 1, false},
        {"SKIN2_PROGRESSBAR3", 18, 300, 1, false},
        {"SKIN2_PROGRESSBAR4", 18, 300, 1, false},
        {"SKIN2_TRACKBAR", 300, 10, 2, false},
        {"SKIN2_TRACKBARSLIDER", 12, 22, 4, false},
        {"SKIN2_TRACKBARVSLIDER", 22, 12, 4, false},
        {"SKIN2_SCROLLBARUPBUTTON", 17, 17, 4, false},
        {"SKIN2_SCROLLBAR", 17, 200, 4, false},
        {"SKIN2_SCROLLBARDOWNBUTTON", 17, 17, 4, false},
        {"SKIN2_TABCONTROL", 80, 24, 3, true},
        {"SKIN2_TABCONTROLLINE", 300, 4, 1, false},
        {"SKIN2_SIDECHANNELBAR", 180, 320, 1, false},
        {"SKIN2_SIDECHANNELTITLE", 180, 26, 2, true},
        {"SKIN2_SCROLLBUTTON", 17, 17, 4, false},
        {"BACKGROUND_MAIN", 480, 320, 1, true},
        {"BACKGROUND_ABOUT", 360, 240, 1, true},
        {"BUTTON_DATA", 120, 48, 4, true},
        {"BUTTON_VIDEO", 120, 48, 4, true},
        {"BUTTON_AUDIO", 120, 48, 4, true},
        {"BUTTON_GRAB", 120, 48, 4, true},
        {"BUTTON_IMAGE", 120, 48, 4, true},
        {"BUTTON_ERASE", 120, 48, 4, true},
        {"BUTTON_INFO", 120, 48, 4, true},
        {"BUTTON_HELP", 64, 24, 4, true},
        {"BUTTON_HOME", 64, 24, 4, true},
        {"BUTTON_MORE", 64, 24, 4, true},
        {"BUTTON_MIN", 21, 21, 4, false},
        {"BUTTON_CLOSE", 21, 21, 4, false},
    };
    std::vector<skintool::TSkinEntry> entries;
    uint32_t seed = 1;
    for (const TPictureLayout& s : layouts) {
        const uint32_t base = 0x204080 + (seed * 0x0A0713 & 0x3F3F3F);
        const int bevel = s.height > 12 && s.frameWidth > 12 ? 2 : 1;
        const int radius = std::min({6, s.height / 4, s.frameWidth / 4});
        entries.push_back(
            skintool::BitmapEntry(s.name, EncodeBmp24(Strip(s.frameWidth, s.height, s.frames, base,
                                                            bevel, radius, s.caption, seed))));
        ++seed;
    }
    for (int i = 0; i < 32; ++i)
        entries.push_back(
            skintool::IntegerEntry("SKIN2_COLOR" + std::to_string(i), 0x00102030 * i));
    for (int i = 0; i < 9; ++i) {
        entries.push_back(skintool::IntegerEntry("SKIN2_POSITION" + std::to_string(i), 3 * i));
        entries.push_back(skintool::BooleanEntry("SKIN2_FLAG" + std::to_string(i), i % 2));
    }
    return entries;
}

Bytes ZlibDeflate9(const uint8_t* data, size_t size) {
    return kel::bench::ZlibDeflateRaw(data, size, 9, 9);
}

// --- The baseline

// Where the entry's DEFLATE data starts in a one-entry skin file, from its local header.
uint64_t DataOffset(const Bytes& skinFile) {
    return 30 + LoadLE16(skinFile.data() + 26) + LoadLE16(skinFile.data() + 28);
}

// zlib's raw inflate from the skin file into `outputPath`, 16 KB reads and 32 KB writes.
void ZlibExtract(const std::string& skinPath, uint64_t dataOffset, const std::string& outputPath) {
    TReadFile in(skinPath);
    in.Seek(dataOffset);
    TWriteFile out(outputPath);
    const bool ended = kel::bench::ZlibInflateRaw(
        [&](uint8_t* buffer, size_t size) { return in.ReadSome(buffer, size); },
        [&](const uint8_t* data, size_t size) { out.Write(data, size); });
    out.Close();
    if (!ended) throw Exception("zlib could not extract the entry");
}

// Keeps the entries as the reader's tables do.
class TTables : public TSkinDataVisitor {
public:
    std::vector<std::pair<std::string, TPixelImage>> bitmaps;
    std::vector<std::pair<std::string, int32_t>> integers;
    std::vector<std::pair<std::string, uint8_t>> booleans;
    std::vector<std::pair<std::string, std::string>> strings;
    void Bitmap(const std::string& n, TPixelImage&& i) override {
        bitmaps.emplace_back(n, std::move(i));
    }
    void Integer(const std::string& n, int32_t v) override { integers.emplace_back(n, v); }
    void Boolean(const std::string& n, uint8_t v) override { booleans.emplace_back(n, v); }
    void String(const std::string& n, std::string&& t) override {
        strings.emplace_back(n, std::move(t));
    }
};

size_t BaselineLoad(const std::string& skinPath, uint64_t dataOffset) {
    const std::string temp = skinplatform::TempFolder() + skinplatform::NewGuidText();
    ZlibExtract(skinPath, dataOffset, temp);
    const Bytes data = ReadWholeFile(temp, kMaxEntrySize);
    skinplatform::RemoveFile(temp);
    TTables tables;
    ParseSkinData(data.data(), data.size(), tables);
    return tables.bitmaps.size();
}

// --- Timing

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

using kel::bench::Median;

} // namespace

int main() {
    const Bytes skinData = skintool::BuildSkinData(SkinEntries());
    const Bytes skinFile = skintool::BuildSkinArchive(skinData, "", ZlibDeflate9);
    const std::string skinPath = skinplatform::TempFolder() + "bench_skinload.skn";
    WriteWholeFile(skinPath, skinFile);
    const uint64_t dataOffset = DataOffset(skinFile);
    const std::string extracted = skinplatform::TempFolder() + "bench_skinload.sk2";

    std::vector<double> ours, baseline, oursExtract, zlibExtract, parse;
    size_t bitmaps = 0;
    for (int run = 0; run < kRuns; ++run) {
        ours.push_back(Seconds([&] {
            const Tsk2SkinFileReader reader(skinPath, "");
            if (!reader.Loaded()) throw Exception("the bench skin file did not load");
        }));
        baseline.push_back(Seconds([&] { bitmaps = BaselineLoad(skinPath, dataOffset); }));
        oursExtract.push_back(Seconds([&] {
            if (ExtractArchiveEntry(skinPath, kSkinDataEntryName, extracted, "") != erExtracted)
                throw Exception("extraction failed");
        }));
        zlibExtract.push_back(Seconds([&] { ZlibExtract(skinPath, dataOffset, extracted); }));
        parse.push_back(Seconds([&] {
            TTables tables;
            ParseSkinData(skinData.data(), skinData.size(), tables);
        }));
    }
    skinplatform::RemoveFile(extracted);
    skinplatform::RemoveFile(skinPath);

    const double oursMs = Median(ours) * 1e3, baselineMs = Median(baseline) * 1e3;
    std::printf("skin file: %zu bitmaps, skin data %zu bytes, compressed %zu bytes (zlib -9)\n",
                bitmaps, skinData.size(), skinFile.size());
    std::printf("extraction only: ours %.2f ms, zlib %.2f ms, ratio %.2fx\n",
                Median(oursExtract) * 1e3, Median(zlibExtract) * 1e3,
                Median(oursExtract) / Median(zlibExtract));
    std::printf("parse and BMP decoding alone: %.2f ms\n", Median(parse) * 1e3);
    std::printf("full load: ours %.2f ms, zlib baseline %.2f ms (median of %d)\n", oursMs,
                baselineMs, kRuns);
    std::printf("skinload ratio %.2fx (our load time / zlib baseline time, lower is better)\n",
                oursMs / baselineMs);
    return 0;
}
