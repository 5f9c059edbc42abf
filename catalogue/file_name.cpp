#include "catalogue/file_name.h"

#include "catalogue/catalogue.h"

#include <algorithm>

namespace tavrix {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool NoFileNameHolds(char16_t c) { return c < 0x20 || std::u16string_view(u"\"<>|?*").find(c) != std::u16string_view::npos; }

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

std::u16string_view ExtensionOfFileName(std::u16string_view name) {
    const bool literal = name.starts_with(u"\\\\?\\");  // taken as it stands, trailing dots and all
    // "C:file.txt" is file.txt in drive C's current folder, not a stream of a file named "C".
    if (name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == u':') name.remove_prefix(2);
    const auto last_separator = std::find_if(name.rbegin(), name.rend(), IsSeparator);
    name.remove_prefix(std::size_t(name.rend() - last_separator));
    name = name.substr(0, name.find(u':'));
    while (!literal && !name.empty() && (name.back() == u' ' || name.back() == u'.')) name.remove_suffix(1);

    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return {};
    const std::u16string_view extension = name.substr(dot + 1);
    const bool named = extension.size() <= kLongestExtension &&
                       std::none_of(extension.begin(), extension.end(), NoFileNameHolds);
    return named ? extension : std::u16string_view{};
}

std::optional<std::u16string> FirstArgument(std::u16string_view line, std::u16string_view program) {
    std::size_t at = 0;
    auto begins_with = [&](std::u16string_view path) {
        return !path.empty() && EqualIgnoringAsciiCase(line.substr(0, path.size()), path) &&
               (line.size() == path.size() || IsBlank(line[path.size()]));
    };
    const std::u16string_view bare = program.substr(0, program.size() - 4);
    if (begins_with(program)) {
        at = program.size();
    } else if (program.size() > 4 && EqualIgnoringAsciiCase(program.substr(bare.size()), u".exe") && begins_with(bare)) {
        at = bare.size();
    } else {
        // The program's name: quotes only keep its blanks together, and backslashes are its own.
        for (bool quoted = false; at < line.size() && (quoted || !IsBlank(line[at])); ++at) {
            if (line[at] == u'"') quoted = !quoted;
        }
    }
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size()) return std::nullopt;

    std::u16string argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
        if (line[at] == u'\\') {
            std::size_t backslashes = 0;
            for (; at < line.size() && line[at] == u'\\'; ++at) ++backslashes;
            if (at == line.size() || line[at] != u'"') {
                argument.append(backslashes, u'\\');  // not before a quote: each is itself
                continue;
            }
            // Before a quote, each pair is one backslash; an odd one out makes the quote literal.
            argument.append(backslashes / 2, u'\\');
            if (backslashes % 2 == 1) {
                argument += u'"';
                ++at;
            }
        } else if (line[at] == u'"') {
            const bool doubled = quoted && at + 1 < line.size() && line[at + 1] == u'"';
            if (doubled) {
                argument += u'"';  // "" within quotes is one quote, and the quotes go on
                ++at;
            } else {
                quoted = !quoted;
            }
            ++at;
        } else {
            argument += line[at++];
        }
    }
    return argument;
}

bool NamesAFile(std::u16string_view argument) {
    return argument.find_first_of(u"\\/:.") != std::u16string_view::npos;
}

std::u16string_view ExtensionOfArgument(std::u16string_view argument) {
    if (NamesAFile(argument)) return ExtensionOfFileName(argument);
    return argument.size() <= kLongestExtension && argument.find(u'"') == std::u16string_view::npos
               ? argument : std::u16string_view{};
}

std::u16string_view CatalogueSpelling(std::u16string_view extension) {
    if (extension.empty()) return {};
    for (const CatalogueEntry& entry : Catalogue()) {
        if (EqualIgnoringAsciiCase(entry.key, extension)) return entry.key;
    }
    return {};
}

}  // namespace tavrix
