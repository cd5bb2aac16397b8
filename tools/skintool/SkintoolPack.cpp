// skintool pack: makes a skin file from a folder (format: ReadSkinFolder, docs/skin-files.md).
// Every NAME.bmp that entries.txt does not place becomes bitmap NAME; entries.txt adds bitmaps,
// integers, colours, booleans and strings, one a line. With a password the entry is encrypted.
// The data is deflated by zlib at level 9 (tools/skintool/SkinDeflate.h says why).
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
    if (!ParsePasswordArgs(args, 2, paths, password)) return UsageError("pack");
    std::vector<uint8_t> skin;
    try {
        skin = BuildSkinArchive(BuildSkinData(ReadSkinFolder(paths[0])), password);
    } catch (const std::exception& e) {
        PrintFailure("pack", paths[0], e.what());
        return kExitError;
    }
    // Written beside OUT and renamed: a failed write never leaves OUT half written.
    const std::string temp = TemporaryPathBeside(paths[1]);
    std::string reason;
    try {
        WriteWholeFile(temp, skin);
    } catch (const std::exception& e) {
        std::remove(temp.c_str());
        PrintFailure("pack", paths[1], "cannot write the file", e.what());
        return kExitError;
    }
    if (!RenameReplacing(temp, paths[1], reason)) {
        std::remove(temp.c_str());
        PrintFailure("pack", paths[1], "cannot write the file", reason);
        return kExitError;
    }
    return kExitOk;
}

const SkintoolCommand
    registration("pack",
                 "pack DIR OUT [--password P]  make a skin file from a folder of BMP files and\n"
                 "entries.txt",
                 &Run);

} // namespace
} // namespace kel::skintool
