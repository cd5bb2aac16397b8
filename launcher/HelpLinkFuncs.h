// The product's web pages, chosen by the application title; empty for a title that is no product.
#pragma once

#include <string>

namespace kel {

std::string GetHelpPage(const std::string& productName);
std::string GetHomePage(const std::string& productName);
std::string GetMoreToolsPage(const std::string& productName);

} // namespace kel
