// Every description must survive code page 936, the code page of the user interface: checked
// with the Windows converter itself, with best-fit mapping off and invalid bytes refused.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace tavrix {
namespace {

constexpr UINT kSimplifiedChinese = 936;

// The text in code page 936 (at most two bytes a character), or nothing if any character needed
// the default character.
std::optional<std::string> ToCodePage936(std::u16string_view text) {
    const std::wstring wide(text.begin(), text.end());
    std::string bytes(2 * wide.size(), '\0');
    BOOL used_default = FALSE;
    const int written = WideCharToMultiByte(kSimplifiedChinese, WC_NO_BEST_FIT_CHARS, wide.data(),
                                            static_cast<int>(wide.size()), bytes.data(),
                                            static_cast<int>(bytes.size()), nullptr, &used_default);
    if (written <= 0 || used_default) return std::nullopt;
    return bytes.substr(0, static_cast<std::size_t>(written));
}

// The text back, or nothing if any byte is invalid (never more characters than bytes).
std::optional<std::u16string> FromCodePage936(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    const int written = MultiByteToWideChar(kSimplifiedChinese, MB_ERR_INVALID_CHARS, bytes.data(),
                                            static_cast<int>(bytes.size()), wide.data(),
                                            static_cast<int>(wide.size()));
    if (written <= 0) return std::nullopt;
    return std::u16string(wide.begin(), wide.begin() + written);
}

TEST(CodePage936Windows, ConverterRejectsTextOutsideTheCodePage) {
    ASSERT_TRUE(ToCodePage936(u"中文×“”").has_value());
    EXPECT_FALSE(ToCodePage936(u"\u0E01").has_value());  // Thai letter
}

TEST(CodePage936Windows, EveryDescriptionConvertsBothWays) {
    for (const CatalogueEntry& entry : Catalogue()) {
        const auto position = (&entry - Catalogue().data()) + 1;
        const std::optional<std::string> bytes = ToCodePage936(entry.description);
        ASSERT_TRUE(bytes.has_value()) << "position " << position;
        EXPECT_EQ(FromCodePage936(*bytes), std::u16string(entry.description)) << "position " << position;
    }
}

}  // namespace
}  // namespace tavrix
