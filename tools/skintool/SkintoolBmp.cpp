// skintool bmp FILE [X Y ...]: decodes a bitmap with the product's own codec and prints its size
// and the colour (0x00BBGGRR) of each pixel asked for, so skin makers see what the launcher sees.
#include "framework/BmpCodec.h"
#include "framework/SysUtils.h"
#include "tools/skintool/SkintoolCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace kel::skintool {
namespace {

// Reads the whole file, refusing files longer than any bitmap the codec accepts.
std::vector<uint8_t> ReadBitmapFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    std::vector<uint8_t> bytes;
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > static_cast<uint64_t>(kMaxBmpFileSize))
            throw EInvalidGraphic(kInvalidBitmapMessage);
    }
    return bytes;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty() || args.size() % 2 == 0) return UsageError("bmp");
    try {
        const std::vector<uint8_t> bytes = ReadBitmapFile(args[0]);
        const TPixelImage image = DecodeBmp(bytes.data(), bytes.size());
        std::vector<std::pair<int, int>> points;
        for (size_t i = 1; i < args.size(); i += 2) {
            const int x = StrToInt(args[i]);
            const int y = StrToInt(args[i + 1]);
            if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) {
                PrintFailure("bmp", args[0],
                             "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                 ") lies outside the " + std::to_string(image.Width) + "x" +
                                 std::to_string(image.Height) + " picture");
                return kExitError;
            }
            points.emplace_back(x, y);
        }
        std::printf("%dx%d\n", image.Width, image.Height);
        for (const auto& [x, y] : points)
            std::printf("0x%08X\n", static_cast<unsigned>(PixelToColor(image.At(x, y))));
        return 0;
    } catch (const Exception& e) {
        PrintFailure("bmp", args[0], e.what());
        return kExitError;
    }
}

const SkintoolCommand
    registration("bmp",
                 "bmp FILE [X Y ...]  decode a BMP as the launcher does; print its size and\n"
                 "the colour 0x00BBGGRR of each pixel asked for",
                 &Run);

} // namespace
} // namespace kel::skintool
