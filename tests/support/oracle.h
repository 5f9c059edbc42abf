#pragma once
// The hand-typed oracle of tests/support (designs.txt, catalogue.txt; the format at the top of
// each), compiled into the test programs, so that a test run under Wine needs no source tree.
// Controls are named as the designs name them; each window's tests map names to ids.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrix::test::oracle {

enum class Kind { Button, Edit, Label, Panel, Picture };

struct Control {
    std::string name;
    Kind kind;
    int left, top, width, height;  // twips, within its container
    bool shown;                    // at start
    std::optional<std::wstring> caption;  // its text at start, where fixed
    std::string container;                // empty: the window
};

struct Font {
    std::wstring face;
    int tenthsOfAPoint;
    int charset;
};

struct Named {
    std::string name;
    std::wstring text;
};

struct Design {
    std::vector<Control> controls;  // in stacking order, the first on top
    std::vector<Named> tips, heard, answers;
    std::vector<std::string> tabOrder;
    std::map<std::string, Font, std::less<>> fonts;  // "*": the window's default
    std::map<std::string, std::wstring, std::less<>> values;

    int Number(std::string_view name) const;
    const std::wstring& Text(std::string_view name) const;
    const Control& ControlNamed(std::string_view name) const;
    const Font& FontOf(std::string_view control) const;
    // Its text in one of the lists; empty where it has none.
    static std::wstring Of(const std::vector<Named>& list, std::string_view name);
};

// "splash", "main", "help", or a test's own form ("buttons").
const Design& DesignOf(std::string_view window);

struct Entry {
    std::size_t position;  // 1..268, as the catalogue counts
    std::u16string key;
    std::optional<std::u16string> description;  // none: the wording is the catalogue's own
};
const std::vector<Entry>& Catalogue();

// What the lookup must show for `key`: the fixed text of the last entry with that key, or an empty
// view when no entry has the key or the last one's wording is free.
std::u16string_view FixedDescriptionOf(std::u16string_view key);

}  // namespace tavrix::test::oracle
