#include "launcher/HelpLinkFuncs.h"

#include "launcher/ProductTable.h"

namespace kel {

namespace {
// Products with a site path segment have help pages below it; the others only the bare site.
std::string PageUnderSite(const std::string& productName, const char* page) {
    const TProduct* product = FindProduct(productName);
    if (!product) return std::string();
    std::string address = SiteBase(*product);
    if (*product->SiteSegment) address += std::string(product->SiteSegment) + page;
    return address;
}
} // namespace

std::string GetHelpPage(const std::string& productName) {
    return PageUnderSite(productName, "/help/Help_Content.html");
}

std::string GetHomePage(const std::string& productName) {
    const TProduct* product = FindProduct(productName);
    return product ? SiteBase(*product) : std::string();
}

std::string GetMoreToolsPage(const std::string& productName) {
    return PageUnderSite(productName, "/help/MoreFreeTools.html");
}

} // namespace kel
