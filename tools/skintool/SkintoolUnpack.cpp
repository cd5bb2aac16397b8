// skintool unpack: loads a skin file as the product's reader does and writes its entries as a
// skin folder (the BMP files as stored, and entries.txt in chain order) that pack reads back.
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader.h"
#include "tools/skintool/SkinPacker.h"
#include "tools/skintool/SkintoolCommands.h"
#include "tools/skintool/SkintoolPassword.h"

#include <cstdio>
#include <exception>

namespace kel::skintool {
namespace {

// Collects the entries with the bitmaps' stored files.
class TEntryCollector : public TSkinDataVisitor {
public:
    std::vector<TSkinEntry> Entries;

    void BitmapFile(const std::string& name, const uint8_t* data, size_t size) override {
        Entries.push_back(BitmapEntry(name, std::vector<uint8_t>(data, data + size)));
    }
    void Bitmap(const std::string&, TPixelImage&&) override {}
    void Integer(const std::string& name, int32_t value) override {
        Entries.push_back(IntegerEntry(name, value));
    }
    void Boolean(const std::string& name, uint8_t value) override {
        Entries.push_back(BooleanEntry(name, value));
    }
    void String(const std::string& name, std::string&& text) override {
        Entries.push_back(StringEntry(name, text));
    }
};

int Run(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    std::string password;
    if (!ParsePasswordArgs(args, 2, paths, password)) return UsageError("unpack");
    TEntryCollector collector;
    TSkinLoadFailure failure;
    try {
        if (!LoadSkinFile(paths[0], password, collector, &failure)) {
            PrintLoadFailure("unpack", paths[0], failure);
            return kExitRejected;
        }
    } catch (const std::exception& e) {
        PrintLoadFailure("unpack", paths[0], failure, e.what());
        return kExitError;
    }
    try {
        WriteSkinFolder(paths[1], collector.Entries, &IsThemeColorKey);
    } catch (const std::exception& e) {
        PrintFailure("unpack", paths[1], "cannot write the skin folder", e.what());
        return kExitError;
    }
    return kExitOk;
}

const SkintoolCommand
    registration("unpack",
                 "unpack FILE DIR [--password P]  write a skin file's entries as a folder that\n"
                 "pack reads back",
                 &Run);

} // namespace
} // namespace kel::skintool
