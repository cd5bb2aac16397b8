// The arguments shared by the skin file commands of skintool: positional arguments and the
// password, given as "--password P" or "--password=P", or else taken from the environment variable
// SKINTOOL_PASSWORD so that it need not stand on the command line.
#pragma once

#include <string>
#include <vector>

namespace kel::skintool {

// The environment variable that holds the password when no --password option is given.
constexpr const char* kPasswordVariable = "SKINTOOL_PASSWORD";

// Splits `args` into the positional arguments and the password (empty when given nowhere). False
// when "--password" lacks its value, another option starting with "--" is given, or the number of
// positional arguments is not `positionalCount`.
bool ParsePasswordArgs(const std::vector<std::string>& args, size_t positionalCount,
                       std::vector<std::string>& positional, std::string& password);

} // namespace kel::skintool
