#include "catalogue/catalogue.h"

#include <iterator>

namespace tavrix {

namespace {

// Constant data only: the entries are built at compile time, so nothing runs before main and
// nothing is allocated.
#include "catalogue_data.inc"

static_assert(std::size(kEntries) == 268, "the catalogue has exactly 268 entries");

}  // namespace

std::span<const CatalogueEntry> Catalogue() {
    return kEntries;
}

std::u16string_view FindDescription(std::u16string_view input) {
    // Every entry is compared, in order, and a later match replaces an earlier one: for a key
    // that occurs twice ("vxd") the second description is the one shown.
    std::u16string_view result;
    for (const CatalogueEntry& entry : kEntries) {
        if (entry.key == input) {
            result = entry.description;
        }
    }
    return result;
}

}  // namespace tavrix
