// skintool: checks, unpacks and makes skin files and decodes their pieces. Dispatches the first
// argument to the command registered under that name; prints the usage for --help, -h and help.
#include "tools/skintool/SkintoolCommands.h"

#include "skin/themes/KEL2SkinReader_Platform.h"
#include "skin/themes/KEL2SkinReader_SkinData.h"
#include "skin/themes/KELThemeKeys.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef KEL_SKINTOOL_VERSION
#define KEL_SKINTOOL_VERSION "1.1"
#endif

namespace kel::skintool {
namespace {

struct Entry {
    const char* usage;
    CommandFn run;
};

std::map<std::string, Entry>& Registry() {
    static std::map<std::string, Entry> commands;
    return commands;
}

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: skintool COMMAND [ARGUMENTS]\n\n"
                     "Checks, unpacks and makes skin files for the launcher's skin library.\n\n"
                     "commands:\n");
    // A usage is "SYNOPSIS  DESCRIPTION"; the description goes on the lines below, indented.
    const auto line = [to](const std::string& usage) {
        const size_t gap = usage.find("  ");
        std::fprintf(to, "  skintool %s\n", usage.substr(0, gap).c_str());
        if (gap == std::string::npos) return;
        std::string description = usage.substr(usage.find_first_not_of(' ', gap));
        for (size_t at = 0; (at = description.find('\n', at)) != std::string::npos; at += 7)
            description.insert(at + 1, std::string(6, ' '));
        std::fprintf(to, "      %s\n", description.c_str());
    };
    for (const auto& [name, entry] : Registry()) line(entry.usage);
    line("help | --help | -h  print this text");
    line("--version  print the version");
    std::fprintf(to,
                 "\n"
                 "The password of an encrypted skin file is given with --password P or\n"
                 "--password=P, or else taken from the environment variable SKINTOOL_PASSWORD.\n\n"
                 "exit codes:\n"
                 "  0  success\n"
                 "  1  usage error, a file missing, unreadable or no skin file, damaged skin data\n"
                 "     tables or bitmaps, an output that cannot be written\n"
                 "  2  the skin file refused the load: no password or a wrong one, damaged data\n"
                 "     (size or CRC-32 not as recorded, or a DEFLATE stream that stops early)\n\n"
                 "Errors go to standard error as 'skintool COMMAND: FILE: REASON'.\n");
}

} // namespace

SkintoolCommand::SkintoolCommand(const char* name, const char* usage, CommandFn run) {
    Registry()[name] = Entry{usage, run};
}

void PrintFailure(const char* command, const std::string& file, const std::string& reason,
                  const std::string& detail) {
    std::string line = std::string("skintool ") + command + ": " + file + ": " + reason;
    if (!detail.empty() && detail != reason) line += " (" + detail + ")";
    std::fprintf(stderr, "%s\n", line.c_str());
}

void PrintLoadFailure(const char* command, const std::string& file, const TSkinLoadFailure& failure,
                      const std::string& detail) {
    // The reader's one refusal message adds nothing to the reason.
    PrintFailure(command, file, SkinLoadErrorText(failure),
                 detail == kSkinReadError ? std::string() : detail);
}

bool IsThemeColorKey(const std::string& name) {
    for (int i = 0; i < kColorKeyCount; ++i) {
        const char* key = ThemeKeyName(kColorKeyBase + i);
        if (std::strlen(key) != name.size()) continue;
        size_t c = 0;
        while (c < name.size() &&
               (name[c] >= 'a' && name[c] <= 'z' ? static_cast<char>(name[c] - 32) : name[c]) ==
                   key[c])
            ++c;
        if (c == name.size()) return true;
    }
    return false;
}

std::string TemporaryPathBeside(const std::string& path) {
    const std::filesystem::path target(path);
    return (target.parent_path() /
            ("." + target.filename().string() + "." + skinplatform::NewGuidText() + ".tmp"))
        .string();
}

bool RenameReplacing(const std::string& from, const std::string& to, std::string& reason) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = "system error " + std::to_string(GetLastError());
    return false;
#else
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error) return true;
    reason = error.message();
    return false;
#endif
}

int UsageError(const char* command) {
    const auto it = Registry().find(command);
    if (it != Registry().end()) {
        const std::string usage = it->second.usage;
        std::fprintf(stderr, "usage: skintool %s\n", usage.substr(0, usage.find("  ")).c_str());
    }
    std::fprintf(stderr, "Run 'skintool --help' for every command.\n");
    return kExitError;
}

} // namespace kel::skintool

int main(int argc, char** argv) {
    using namespace kel::skintool;
    if (argc >= 2) {
        const std::string first = argv[1];
        if (first == "--help" || first == "-h" || first == "help") {
            PrintUsage(stdout);
            return std::fflush(stdout) == 0 ? kExitOk : kExitError;
        }
        if (first == "--version") {
            std::printf("skintool %s\n", KEL_SKINTOOL_VERSION);
            return std::fflush(stdout) == 0 ? kExitOk : kExitError;
        }
        const auto it = Registry().find(first);
        if (it != Registry().end()) {
            const int code = it->second.run({argv + 2, argv + argc});
            if (std::fflush(stdout) != 0) {
                std::fprintf(stderr, "skintool %s: cannot write standard output\n", argv[1]);
                return kExitError;
            }
            return code;
        }
        std::fprintf(stderr, "skintool: unknown command '%s'\n\n", argv[1]);
    }
    PrintUsage(stderr);
    return kExitError;
}
