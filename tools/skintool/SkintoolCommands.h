// The commands of skintool. Each command lives in its own file and registers itself with
// `static const SkintoolCommand registration("name", "usage", &Run);`.
#pragma once

#include "skin/themes/KEL2SkinReader_Failure.h"

#include <string>
#include <vector>

namespace kel::skintool {

// Exit codes of every command, as the usage lists them.
constexpr int kExitOk = 0;
constexpr int kExitError = 1;    // usage error, unreadable or unusable input, failed output
constexpr int kExitRejected = 2; // the skin file refused the load: password, size, CRC-32

// Runs a command on its arguments (without the program and command names); returns the exit code.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct SkintoolCommand {
    SkintoolCommand(const char* name, const char* usage, CommandFn run);
};

// Prints "skintool COMMAND: FILE: REASON" to standard error; `detail` (an exception's text), when
// not empty and not already the reason, follows in parentheses.
void PrintFailure(const char* command, const std::string& file, const std::string& reason,
                  const std::string& detail = std::string());
void PrintLoadFailure(const char* command, const std::string& file, const TSkinLoadFailure& failure,
                      const std::string& detail = std::string());

// True when the name is a colour key of the theme key table (letter case ignored, as the file
// theme looks keys up).
bool IsThemeColorKey(const std::string& name);

// A path beside `path` in the same folder for a temporary file that is then renamed to it.
std::string TemporaryPathBeside(const std::string& path);
// Renames `from` to `to`, replacing a file there; false with the system's reason when it cannot.
bool RenameReplacing(const std::string& from, const std::string& to, std::string& reason);

// Prints "usage: skintool USAGE" of the command to standard error and returns kExitError.
int UsageError(const char* command);

} // namespace kel::skintool
