// skintool extract: extracts the skin data entry of a skin file exactly as the product's reader
// does; the exit code is the extraction result (0 extracted, 1 unreadable, 2 rejected). The data
// goes to a temporary file beside OUT, renamed to OUT only on success: an existing OUT is never
// touched when the skin file is refused.
#include "skin/themes/KEL2SkinReader_Archive.h"
#include "skin/themes/KEL2SkinReader_SkinData.h"
#include "tools/skintool/SkintoolCommands.h"
#include "tools/skintool/SkintoolPassword.h"

#include <cstdio>
#include <filesystem>

namespace kel::skintool {
namespace {

int Run(const std::vector<std::string>& args) {
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    std::string password;
    if (!ParsePasswordArgs(args, 2, paths, password)) return UsageError("extract");
    const std::string& skin = paths[0];
    const std::string& out = paths[1];
    std::error_code error;
    if (fs::equivalent(skin, out, error)) {
        PrintFailure("extract", out, "OUT must not be the skin file itself");
        return kExitError;
    }
    if (fs::is_directory(out, error)) {
        PrintFailure("extract", out, "OUT is a folder");
        return kExitError;
    }
    // Beside OUT, so that the rename stays on one file system.
    const std::string temp = TemporaryPathBeside(out);
    TSkinLoadFailure failure;
    const TExtractResult result =
        ExtractArchiveEntry(skin, kSkinDataEntryName, temp, password, &failure);
    if (result != erExtracted) {
        fs::remove(temp, error); // the reader leaves none; in case
        PrintLoadFailure("extract", failure.Error == sleOutputFile ? out : skin, failure);
        return result;
    }
    std::string reason;
    if (!RenameReplacing(temp, out, reason)) {
        fs::remove(temp, error);
        PrintFailure("extract", out, "cannot write the file", reason);
        return kExitError;
    }
    return kExitOk;
}

const SkintoolCommand
    registration("extract", "extract FILE OUT [--password P]  write the skin data entry to OUT",
                 &Run);

} // namespace
} // namespace kel::skintool
