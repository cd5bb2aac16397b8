// Asks for the password of an encrypted skin file.
#pragma once

#include <string>

namespace kel::gallery {

// Shows a modal box with a hidden-text field; true with the password when the user chose OK.
bool AskPassword(const std::string& fileName, std::string& password);

} // namespace kel::gallery
