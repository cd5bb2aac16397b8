// skintool extract: extracts the skin data entry of a skin file exactly as the product's reader
// does; the exit code is the extraction result (0 extracted, 1 unreadable, 2 rejected).
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_SkinData.h"
#include "tools/skintool/SkintoolCommands.h"
#include "tools/skintool/SkintoolPassword.h"

#include <cstdio>
#include <filesystem>

namespace kel::skintool {
namespace {

int Run(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    std::string password;
    if (!ParsePasswordArgs(args, 2, paths, password)) {
        std::fprintf(stderr, "usage: skintool extract FILE OUT [--password P]\n");
        return 1;
    }
    // Creating the output truncates it: it must not be the skin file being read.
    std::error_code error;
    if (std::filesystem::equivalent(paths[0], paths[1], error)) {
        std::fprintf(stderr, "skintool extract: OUT must not be the skin file itself\n");
        return 1;
    }
    return ExtractArchiveEntry(paths[0], kSkinDataEntryName, paths[1], password);
}

const SkintoolCommand
    registration("extract",
                 "extract FILE OUT [--password P]   write the skin data entry to OUT; exit 0/1/2",
                 &Run);

} // namespace
} // namespace kel::skintool
