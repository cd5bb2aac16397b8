#include "launcher/ProductTable.h"

namespace kel {

namespace {
// In the order of comparison. Row 6 shares row 5's icon; rows 7 to 9 have no help pages of their
// own.
const TProduct kProducts[] = {
    {"Larkspur Media Kit", "a1", "larkspurmediakit.com", "larkspurmediakit"},
    {"Velmora Optic Works", "a2", "velmoraoptic.com", "velmoraopticworks"},
    {"Quenby Platter Forge", "a3", "quenbyforge.com", "quenbyplatterforge"},
    {"Tamsin Media Foundry", "a4", "tamsinfoundry.com", "tamsinmediafoundry"},
    {"Orrick Platter Press", "a5", "orrickpress.com", "orrickplatterpress"},
    {"Hollin Optic Bench", "a5", "hollinbench.com", "hollinopticbench"},
    {"Brisco Media Loft", "a1", "briscoloft.com", ""},
    {"Penwick Platter Box", "a1", "penwickbox.com", ""},
    {"Dunmore Optic Guide", "a1", "dunmoreguide.com", ""},
};
} // namespace

const TProduct* FindProduct(const std::string& title) {
    for (const TProduct& p : kProducts)
        if (title == p.Name) return &p;
    return nullptr;
}

std::string SiteBase(const TProduct& product) {
    return std::string("http://www.") + product.Host + "/";
}

} // namespace kel
