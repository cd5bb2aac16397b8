// skintool: checks, unpacks and makes skin files and decodes their pieces. Dispatches the first
// argument to the command registered under that name.
#include "tools/skintool/SkintoolCommands.h"

#include <cstdio>
#include <cstring>
#include <map>

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

} // namespace

SkintoolCommand::SkintoolCommand(const char* name, const char* usage, CommandFn run) {
    Registry()[name] = Entry{usage, run};
}

} // namespace kel::skintool

int main(int argc, char** argv) {
    using namespace kel::skintool;
    if (argc >= 2) {
        const auto it = Registry().find(argv[1]);
        if (it != Registry().end()) return it->second.run({argv + 2, argv + argc});
        std::fprintf(stderr, "skintool: unknown command '%s'\n", argv[1]);
    }
    std::fprintf(stderr, "usage:\n");
    for (const auto& [name, entry] : Registry())
        std::fprintf(stderr, "  skintool %s\n", entry.usage);
    return 1;
}
