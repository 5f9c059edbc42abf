// The catalogue's fixed data, compared with the hand-typed rows of tests/support/catalogue.txt
// (every key in its place, repeats and all, the fixed texts, the shared texts), and the rules that
// the output box and code page 936 depend on, which hold for the catalogue's own wording as well.
#include "catalogue/catalogue.h"
#include "tests/support/oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavrix {
namespace {

using test::oracle::Entry;

using Positions = std::vector<std::size_t>;  // 1-based, as the catalogue counts

std::u16string_view DescriptionAt(std::size_t position) {
    return Catalogue()[position - 1].description;
}

// Every description that occurs more than once, with the positions where it occurs.
std::map<std::u16string, Positions> RepeatedDescriptions() {
    std::map<std::u16string, Positions> all;
    const auto entries = Catalogue();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        all[std::u16string(entries[i].description)].push_back(i + 1);
    }
    std::erase_if(all, [](const auto& item) { return item.second.size() < 2; });
    return all;
}

bool IsAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

bool IsIdeograph(char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

TEST(CatalogueKeys, EveryKeyStandsAtItsPosition) {
    const auto entries = Catalogue();
    ASSERT_EQ(entries.size(), 268u);
    const auto& fixed = test::oracle::Catalogue();
    ASSERT_EQ(fixed.size(), 268u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ASSERT_EQ(fixed[i].position, i + 1) << "the fixed rows skip or repeat a position";
        EXPECT_EQ(entries[i].key, fixed[i].key) << "position " << i + 1;
    }
}

TEST(CatalogueDescriptions, FixedTextsAreExact) {
    for (const Entry& fixed : test::oracle::Catalogue()) {
        if (fixed.description) {
            EXPECT_EQ(DescriptionAt(fixed.position), *fixed.description)
                << "at " << fixed.position;
        }
    }
}

// The shared texts are all fixed ones; the catalogue's own wording must not repeat any text.
TEST(CatalogueDescriptions, OnlyTheFixedSharedTextsAreShared) {
    std::map<std::u16string, Positions> shared;
    for (const Entry& fixed : test::oracle::Catalogue()) {
        if (fixed.description) shared[*fixed.description].push_back(fixed.position);
    }
    std::erase_if(shared, [](const auto& item) { return item.second.size() < 2; });
    ASSERT_EQ(shared.size(), 13u);
    EXPECT_EQ(RepeatedDescriptions(), shared);

    std::set<std::u16string_view> distinct;
    for (const CatalogueEntry& entry : Catalogue()) distinct.insert(entry.description);
    EXPECT_EQ(distinct.size(), 249u);
}

TEST(CatalogueDescriptions, Lengths) {
    Positions longest, shortest;
    for (std::size_t position = 1; position <= Catalogue().size(); ++position) {
        const std::size_t length = DescriptionAt(position).size();
        EXPECT_GE(length, 1u) << "at " << position;
        EXPECT_LE(length, 130u) << "at " << position;
        if (length >= 130) longest.push_back(position);
        if (length <= 1) shortest.push_back(position);
    }
    EXPECT_EQ(longest, Positions{110});  // "hqx"
    EXPECT_EQ(shortest, (Positions{195, 196, 197, 198, 199}));
}

TEST(CatalogueDescriptions, CharactersAndSpaces) {
    Positions ascii_only, trailing_space;
    for (std::size_t position = 1; position <= Catalogue().size(); ++position) {
        const std::u16string_view text = DescriptionAt(position);
        for (char16_t c : text) {
            const bool allowed = (c >= 0x20 && c <= 0x7E) || IsIdeograph(c) || c == u'，' ||
                                 c == u'。' || c == u'、' || c == u'“' || c == u'”' || c == u'×';
            EXPECT_TRUE(allowed) << "U+" << std::hex << int(c) << std::dec << " at " << position;
        }
        if (IsAscii(text)) {
            ascii_only.push_back(position);
        } else {
            EXPECT_TRUE(std::any_of(text.begin(), text.end(), IsIdeograph)) << "at " << position;
        }
        EXPECT_NE(text.front(), u' ') << "at " << position;
        if (text.back() == u' ') {
            trailing_space.push_back(position);
            EXPECT_NE(text[text.size() - 2], u' ') << "at " << position;
        }
    }
    // Only fixed texts are plain ASCII: the catalogue's own wording is always Chinese.
    Positions fixed_ascii;
    for (const Entry& fixed : test::oracle::Catalogue()) {
        if (fixed.description && IsAscii(*fixed.description)) fixed_ascii.push_back(fixed.position);
    }
    EXPECT_EQ(ascii_only, fixed_ascii);
    EXPECT_EQ(trailing_space, (Positions{60, 82, 152}));  // "cpe", "dxb", "mpt"
}

}  // namespace
}  // namespace tavrix
