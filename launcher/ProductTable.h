// The nine products the launcher ships as: name, icon group, web host and site path segment.
#pragma once

#include <string>

namespace kel {

struct TProduct {
    const char* Name;        // compared exactly with the application title
    const char* IconGroup;   // icon group resource of the executable
    const char* Host;        // the product's web host
    const char* SiteSegment; // path segment of its help pages; empty when it has none
};

// The first row whose name equals the whole title (letter case counts, no trimming), or nullptr.
const TProduct* FindProduct(const std::string& title);

// "http://www." + host + "/".
std::string SiteBase(const TProduct& product);

} // namespace kel
