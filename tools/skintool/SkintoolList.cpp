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
    if (!ParsePasswordArgs(args, 1, files, password)) {
        std::fprintf(stderr, "usage: skintool list FILE [--password P]\n");
        return 1;
    }
    TEntryLister lister;
    try {
        if (!LoadSkinFile(files[0], password, lister)) {
            std::printf("not loaded\n");
            return 2;
        }
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
    std::printf("loaded\n");
    for (const std::string& line : lister.Lines) std::printf("%s\n", line.c_str());
    return 0;
}

const SkintoolCommand
    registration("list",
                 "list FILE [--password P]   load a skin file and list its entries in chain order",
                 &Run);

} // namespace
} // namespace kel::skintool
