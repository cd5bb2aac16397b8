// The "--password P" option shared by the skin file commands of skintool.
#pragma once

#include <string>
#include <vector>

namespace kel::skintool {

// Splits `args` into the positional arguments and the password (empty when not given). False when
// "--password" lacks its value or the number of positional arguments is not `positionalCount`.
bool ParsePasswordArgs(const std::vector<std::string>& args, size_t positionalCount,
                       std::vector<std::string>& positional, std::string& password);

} // namespace kel::skintool
