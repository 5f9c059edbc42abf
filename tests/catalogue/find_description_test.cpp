// The lookup behind every change of the input box: whole-input, code-unit equality over all
// entries, the last match wins (with the fixed texts of catalogue_data_test, every key's text),
// and nothing is allocated.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <initializer_list>
#include <new>
#include <string>

// Counts every allocation of the test program, so that the lookup can be shown to make none.
// (GCC takes these operators for the library's own and would warn that free() meets new's memory.)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
std::size_t allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace tavrix {
namespace {

// Builds input from raw code units, for texts that a u"" literal cannot hold (lone surrogates).
std::u16string Units(std::initializer_list<char16_t> units) { return std::u16string(units); }

std::u16string Found(std::u16string_view input) { return std::u16string(FindDescription(input)); }

TEST(FindDescription, EveryKeyYieldsTheViewOfItsLastEntry) {
    const auto entries = Catalogue();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::size_t last = i;
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            if (entries[j].key == entries[i].key) last = j;
        }
        const std::u16string input(entries[i].key);  // a copy: the result must not point into it
        const std::u16string_view found = FindDescription(input);
        EXPECT_EQ(found.data(), entries[last].description.data()) << "position " << i + 1;
        EXPECT_EQ(found.size(), entries[last].description.size()) << "position " << i + 1;
    }
}

TEST(FindDescription, WholeInputMustEqualAKey) {
    for (const char16_t* input :
         {u"", u"JPG", u"Jpg", u"jpG", u"mpeg", u"Mpeg", u"job", u"jo", u"job**", u"**", u"zi",
          u"zipp", u".jpg", u"..jpg", u" jpg", u"jpg ", u" jpg ", u"\tjpg", u"jpg\n",
          u"jp\r\ng", u"jpg\r\n", u"[输入框]", u"同.htm文件", u"Winzip", u"*.zip", u"zipzip",
          u"images", u"movies", u"aiffff", u"MPEG*z"}) {
        EXPECT_EQ(Found(input), u"") << "input of " << std::u16string(input).size() << " units";
    }
}

TEST(FindDescription, InputsLongerThanAnyKeyNeverMatch) {
    EXPECT_EQ(Found(std::u16string(1'000'000, u'z')), u"");
    std::u16string all_keys;
    for (const CatalogueEntry& entry : Catalogue()) all_keys += entry.key;
    EXPECT_EQ(Found(all_keys), u"");
}

TEST(FindDescription, OddCodeUnitsNeverMatchOrFail) {
    using namespace std::string_view_literals;
    const std::u16string inputs[] = {
        Units({0xD800}),                      // lone high surrogate
        Units({0xDC00}),                      // lone low surrogate
        Units({0xDC00, 0xD800}),              // surrogates the wrong way round
        Units({0xD83D, 0xDE00}),              // a valid pair outside the BMP
        Units({u'j', u'p', u'g', 0xD800}),    // key followed by a lone surrogate
        Units({0xD800, u'j', u'p', u'g'}),
        Units({0x0000}),
        std::u16string(u"jpg\0"sv),           // key followed by U+0000
        std::u16string(u"j\0pg"sv),           // U+0000 inside
        std::u16string(u"\0jpg"sv),
        Units({0xFFFF}),
        Units({0xFEFF, u'j', u'p', u'g'}),    // byte-order mark in front
        Units({0xFF4A, 0xFF50, 0xFF47}),      // fullwidth "ｊｐｇ"
        Units({0x016A, 0x0170, 0x0167}),      // "jpg" + 0x100 each: equal only if narrowed to bytes
        Units({u'j', u'p', u'g', 0x0301}),    // combining accent after the key
        Units({u'z', 0x0000, u'i', u'p'}),
    };
    for (const std::u16string& input : inputs) {
        EXPECT_EQ(Found(input), u"") << "input of " << input.size() << " units";
    }
}

TEST(FindDescription, AllocatesNothing) {
    const std::u16string long_input(100'000, u'a');
    const std::u16string odd = Units({0xD800, u'z', u'i', u'p'});
    const std::size_t before = allocations;
    const std::u16string_view results[] = {
        FindDescription(u"zip"), FindDescription(u"vxd"), FindDescription(u"qqq"),
        FindDescription(u""), FindDescription(long_input), FindDescription(odd)};
    const std::size_t during = allocations - before;
    EXPECT_EQ(during, 0u);
    EXPECT_FALSE(results[0].empty());
    EXPECT_TRUE(results[2].empty());
}

}  // namespace
}  // namespace tavrix
