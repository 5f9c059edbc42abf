// Every description must survive code page 936, the code page of the user interface: checked
// with glibc's GBK converter, both ways, with no substitution.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tavrix {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

// Converts all of `input` or fails; no transliteration, no skipping.
std::optional<std::string> Convert(const char* to, const char* from, std::string input) {
    const iconv_t converter = iconv_open(to, from);
    if (converter == kNoConverter) return std::nullopt;
    std::string output(input.size() * 4 + 4, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t in_left = input.size();
    std::size_t out_left = output.size();
    const std::size_t result = iconv(converter, &in, &in_left, &out, &out_left);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
    output.resize(output.size() - out_left);
    return output;
}

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(CodePage936, ConverterRejectsTextOutsideGbk) {
    ASSERT_TRUE(Convert("GBK", "UTF-16LE", Utf16Le(u"中文×“”")).has_value());
    EXPECT_FALSE(Convert("GBK", "UTF-16LE", Utf16Le(u"\u0E01")).has_value());  // Thai letter
}

TEST(CodePage936, EveryDescriptionConvertsBothWays) {
    for (const CatalogueEntry& entry : Catalogue()) {
        const std::string utf16 = Utf16Le(entry.description);
        const std::optional<std::string> gbk = Convert("GBK", "UTF-16LE", utf16);
        ASSERT_TRUE(gbk.has_value()) << "position " << (&entry - Catalogue().data()) + 1;
        EXPECT_EQ(Convert("UTF-16LE", "GBK", *gbk), utf16)
            << "position " << (&entry - Catalogue().data()) + 1;
    }
}

}  // namespace
}  // namespace tavrix
