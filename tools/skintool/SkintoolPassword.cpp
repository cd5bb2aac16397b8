#include "tools/skintool/SkintoolPassword.h"

#include <cstdlib>

namespace kel::skintool {

bool ParsePasswordArgs(const std::vector<std::string>& args, size_t positionalCount,
                       std::vector<std::string>& positional, std::string& password) {
    positional.clear();
    password.clear();
    bool given = false;
    const std::string inline_ = "--password=";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password") {
            if (++i == args.size()) return false;
            password = args[i];
            given = true;
        } else if (args[i].compare(0, inline_.size(), inline_) == 0) {
            password = args[i].substr(inline_.size());
            given = true;
        } else if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            return false; // an option this command does not know
        } else {
            positional.push_back(args[i]);
        }
    }
    if (!given) {
        const char* fromEnvironment = std::getenv(kPasswordVariable);
        if (fromEnvironment != nullptr) password = fromEnvironment;
    }
    return positional.size() == positionalCount;
}

} // namespace kel::skintool
