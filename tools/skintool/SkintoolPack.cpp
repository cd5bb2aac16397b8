// skintool pack: makes a skin file from a folder. Every NAME.bmp in the folder becomes bitmap
// NAME; the optional entries.txt adds integers, colours, booleans and strings, one a line:
//     integer SKIN2_TITLEBARICONPOSX 5
//     color   SKIN2_FORMCOLOR 0x00C08040      (0x00BBGGRR, stored as an integer)
//     boolean SKIN2_TITLEFIVESECT 1
//     string  AUTHOR Someone Somewhere         (the rest of the line)
// Lines starting with '#' are comments. With --password the entry is encrypted.
#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_File.h"
#include "tools/skintool/SkinPacker.h"
#include "tools/skintool/SkintoolCommands.h"
#include "tools/skintool/SkintoolPassword.h"

#include <cstdio>
#include <exception>

namespace kel::skintool {
namespace {

int Run(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    std::string password;
    if (!ParsePasswordArgs(args, 2, paths, password)) {
        std::fprintf(stderr,
                     "usage: skintool pack DIR OUT [--password P]\n"
                     "  DIR holds NAME.bmp files (bitmap entries named NAME) and optionally\n"
                     "  entries.txt with lines 'integer NAME VALUE', 'color NAME 0x00BBGGRR',\n"
                     "  'boolean NAME 0|1', 'string NAME TEXT' and '# comments'.\n");
        return 1;
    }
    try {
        const std::vector<uint8_t> skinData = BuildSkinData(ReadSkinFolder(paths[0]));
        WriteWholeFile(paths[1], BuildSkinArchive(skinData, password));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skintool pack: %s\n", e.what());
        return 1;
    }
    return 0;
}

const SkintoolCommand registration(
    "pack", "pack DIR OUT [--password P]   make a skin file from NAME.bmp files and entries.txt",
    &Run);

} // namespace
} // namespace kel::skintool
