// skintool list: loads a skin file as the product's reader does and lists its entries.
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader.h"
#include "tools/skintool/SkintoolCommands.h"
#include "tools/skintool/SkintoolPassword.h"

#include <cstdio>
#include <exception>

namespace kel::skintool {
namespace {

// Collects one line per entry in chain order.
class TEntryLister : public TSkinDataVisitor {
public:
    std::vector<std::string> Lines;

    void Bitmap(const std::string& name, TPixelImage&& image) override {
        Lines.push_back("bitmap " + name + " " + std::to_string(image.Width) + "x" +
                        std::to_string(image.Height));
    }
    void Integer(const std::string& name, int32_t value) override {
        if (IsThemeColorKey(name)) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(value));
            Lines.push_back("color " + name + " " + hex);
            return;
        }
        Lines.push_back("integer " + name + " " + std::to_string(value));
    }
    void Boolean(const std::string& name, uint8_t value) override {
        Lines.push_back("boolean " + name + " " + (value != 0 ? "1" : "0"));
    }
    void String(const std::string& name, std::string&& text) override {
        Lines.push_back("string " + name + " " + text);
    }
};

int Run(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string password;
    if (!ParsePasswordArgs(args, 1, files, password)) return UsageError("list");
    TEntryLister lister;
    TSkinLoadFailure failure;
    try {
        if (!LoadSkinFile(files[0], password, lister, &failure)) {
            std::printf("not loaded\n");
            PrintLoadFailure("list", files[0], failure);
            return kExitRejected;
        }
    } catch (const std::exception& e) {
        PrintLoadFailure("list", files[0], failure, e.what());
        return kExitError;
    }
    std::printf("loaded\n");
    for (const std::string& line : lister.Lines) std::printf("%s\n", line.c_str());
    return kExitOk;
}

const SkintoolCommand registration(
    "list", "list FILE [--password P]  load a skin file and list its entries in chain order", &Run);

} // namespace
} // namespace kel::skintool
