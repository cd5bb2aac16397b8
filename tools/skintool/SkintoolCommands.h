// The commands of skintool. Each command lives in its own file and registers itself with
// `static const SkintoolCommand registration("name", "usage", &Run);`.
#pragma once

#include <string>
#include <vector>

namespace kel::skintool {

// Runs a command on its arguments (without the program and command names); returns the exit code.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct SkintoolCommand {
    SkintoolCommand(const char* name, const char* usage, CommandFn run);
};

} // namespace kel::skintool
