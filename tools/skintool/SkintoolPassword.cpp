#include "tools/skintool/SkintoolPassword.h"

namespace kel::skintool {

bool ParsePasswordArgs(const std::vector<std::string>& args, size_t positionalCount,
                       std::vector<std::string>& positional, std::string& password) {
    positional.clear();
    password.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password") {
            if (++i == args.size()) return false;
            password = args[i];
        } else {
            positional.push_back(args[i]);
        }
    }
    return positional.size() == positionalCount;
}

} // namespace kel::skintool
