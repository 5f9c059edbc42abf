#pragma once
// The extension catalogue: 268 fixed entries, in their own order, repeats included.
// Standard C++ only, so that it builds and is tested natively and for Windows alike.

#include <span>
#include <string_view>

namespace tavrix {

// Keys and descriptions are UTF-16 code units, compared code unit for code unit.
struct CatalogueEntry {
    std::u16string_view key;
    std::u16string_view description;
};

// Positions 1..268 in catalogue order (index 0 is position 1).
std::span<const CatalogueEntry> Catalogue();

// The description of the last entry whose key equals the whole input, or an empty view.
// Walks every entry, never stops early, allocates nothing.
std::u16string_view FindDescription(std::u16string_view input);

}  // namespace tavrix
