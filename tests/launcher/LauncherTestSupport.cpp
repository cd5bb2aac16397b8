#include "LauncherTestSupport.h"

#include <algorithm>

#include <cstdio>

#include "framework/BmpCodec.h"
#include "tests/skin/themes/SkinReaderTestSupport.h"

namespace kel::test {

namespace {
Recorder* gRecorder = nullptr;

HINSTANCE WINAPI RecordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    if (gRecorder)
        gRecorder->calls.push_back(
            {owner, verb ? verb : "", file ? file : "", show, Screen->Cursor() == crHourGlass});
    return reinterpret_cast<HINSTANCE>(33);
}
} // namespace

void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void WriteConfig(const std::string& text) {
    WriteFile(ConfigFilePath(), text);
}

void WriteBitmap(const std::string& path, int width, int height, uint32_t color,
                 int fuchsiaCorner) {
    TPixelImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(static_cast<size_t>(width) * height, ColorToPixel(color));
    for (int y = 0; y < fuchsiaCorner && y < height; ++y)
        for (int x = 0; x < fuchsiaCorner && x < width; ++x) {
            image.Pixels[static_cast<size_t>(y) * width + x] = ColorToPixel(0xFF00FF);
            image.Pixels[static_cast<size_t>(y) * width + (width - 1 - x)] = ColorToPixel(0xFF00FF);
        }
    const std::vector<uint8_t> bytes = EncodeBmp24(image);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

void WriteRle8Bitmap(const std::string& path, int width, int height) {
    const reader_test::Bytes file = reader_test::Rle8Bmp(width, height);
    WriteFile(path, std::string(file.begin(), file.end()));
}

uint32_t ButtonColor(int button, int slot) {
    return static_cast<uint32_t>(0x100000 * (button + 1) + 0x000040 * (slot + 1) + 0x0800);
}

std::string SkinFolder(const std::string& suffix) {
    return ProgramFolder() + "sounds\\burnerRes" + suffix + "\\";
}

void WriteSkin(const std::string& suffix, int mainWidth, int mainHeight, SIZE min1) {
    CreateDirectoryA((ProgramFolder() + "sounds").c_str(), nullptr);
    const std::string folder = SkinFolder(suffix);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteBitmap(folder + "main.bmp", mainWidth, mainHeight, 0x604020, 6);
    const struct {
        const char* stem;
        int w, h;
    } buttons[] = {{"min", 29, 19},    {"close", 30, 19},  {"data", 99, 108},
                   {"video", 99, 108}, {"audio", 99, 108}, {"moretools", 99, 108},
                   {"help", 82, 33},   {"about", 79, 33},  {"home", 78, 33},
                   {"more", 139, 33}};
    for (int b = 0; b < 10; ++b)
        for (int slot = 0; slot < 3; ++slot) {
            int w = buttons[b].w, h = buttons[b].h;
            if (b == 0 && slot == 0) w = min1.cx, h = min1.cy;
            WriteBitmap(folder + buttons[b].stem + std::to_string(slot + 1) + ".bmp", w, h,
                        ButtonColor(b, slot));
        }
}

Recorder::Recorder() : saved_(ShellExecuteFn) {
    gRecorder = this;
    ShellExecuteFn = &RecordShell;
    Application->ExceptionBox = [this](const std::string& text, const std::string& caption) {
        errors.push_back(text);
        errorCaptions.push_back(caption);
    };
}

Recorder::~Recorder() {
    ShellExecuteFn = saved_;
    gRecorder = nullptr;
    Application->ExceptionBox = nullptr;
}

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (GetTickCount() < end);
}

} // namespace kel::test
