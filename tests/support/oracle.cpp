#include "tests/support/oracle.h"

#include <algorithm>
#include <stdexcept>

#include "product/maker.h"

namespace tavrix::test::oracle {
namespace {

// The two files as they stood when the test program was built.
#include "oracle_data.inc"

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// The records of a file: its lines without comments, split at the tabs.
std::vector<std::vector<std::string_view>> Records(std::string_view file) {
    std::vector<std::vector<std::string_view>> records;
    for (std::string_view line : Split(file, '\n'))
        if (!line.empty() && line[0] != '#') records.push_back(Split(line, '\t'));
    return records;
}

// A text field with its escapes and placeholders resolved, in code points.
std::u32string Resolved(std::string_view field) {
    std::u32string points;
    for (std::size_t i = 0; i < field.size();) {
        const auto lead = static_cast<unsigned char>(field[i]);
        const int more = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t point = more == 0 ? lead : lead & (0x3F >> more);
        for (int k = 1; k <= more; ++k) point = point << 6 | (static_cast<unsigned char>(field[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<std::size_t>(more) + 1;
    }
    std::u32string text;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i] == U'\\') {
            const char32_t escape = points[++i];
            const std::string hex(points.begin() + i + 1, points.begin() + std::min(i + 5, points.size()));
            text += escape == U'u' ? static_cast<char32_t>(std::stoul(hex, nullptr, 16))
                    : escape == U'r' ? U'\r' : escape == U'n' ? U'\n' : escape == U't' ? U'\t' : escape;
            if (escape == U'u') i += 4;
        } else if (points[i] == U'{') {
            const std::size_t end = points.find(U'}', i);
            const std::string name(points.begin() + i + 1, points.begin() + end);
            const std::map<std::string, std::wstring_view> maker = {
                {"email", TAVRIX_MAKER_EMAIL}, {"chat_group", TAVRIX_MAKER_CHAT_GROUP},
                {"web_host", TAVRIX_MAKER_WEB_HOST}, {"home_page", TAVRIX_MAKER_HOME_PAGE}};
            if (name.ends_with(" spaces")) {
                text.append(static_cast<std::size_t>(std::stoi(name)), U' ');
            } else {
                for (wchar_t c : maker.at(name)) text += static_cast<char32_t>(c);  // ASCII
            }
            i = end;
        } else {
            text += points[i];
        }
    }
    return text;
}

// The same in UTF-16 units, or as the platform's wide characters.
template <class String>
String TextOf(std::string_view field) {
    String text;
    for (char32_t point : Resolved(field)) {
        if (sizeof(typename String::value_type) == 2 && point > 0xFFFF) {
            text += static_cast<typename String::value_type>(0xD800 + ((point - 0x10000) >> 10));
            point = 0xDC00 + ((point - 0x10000) & 0x3FF);
        }
        text += static_cast<typename String::value_type>(point);
    }
    return text;
}

int Number(std::string_view field) { return std::stoi(std::string(field)); }

Kind KindOf(std::string_view name) {
    const std::map<std::string_view, Kind> kinds = {{"Button", Kind::Button}, {"Edit", Kind::Edit},
                                                    {"Label", Kind::Label},   {"Panel", Kind::Panel},
                                                    {"Picture", Kind::Picture}};
    return kinds.at(name);
}

std::map<std::string, Design, std::less<>> ReadDesigns() {
    std::map<std::string, Design, std::less<>> designs;
    for (const auto& fields : Records(kDesignsFile)) {
        Design& design = designs[std::string(fields.at(0))];
        const std::string_view record = fields.at(1);
        const std::string name(fields.at(2));
        if (record == "value") {
            design.values[name] = TextOf<std::wstring>(fields.at(3));
        } else if (record == "control") {
            const std::string_view caption = fields.at(9);
            design.controls.push_back(
                {name, KindOf(fields.at(3)), Number(fields.at(4)), Number(fields.at(5)), Number(fields.at(6)),
                 Number(fields.at(7)), fields.at(8) == "yes",
                 caption == "~" ? std::nullopt : std::optional(TextOf<std::wstring>(caption)),
                 fields.size() > 10 ? std::string(fields[10]) : std::string()});
        } else if (record == "font") {
            design.fonts[name] = {TextOf<std::wstring>(fields.at(3)), Number(fields.at(4)), Number(fields.at(5))};
        } else if (record == "tab") {
            design.tabOrder.assign(fields.begin() + 2, fields.end());
        } else {
            auto& list = record == "tip" ? design.tips : record == "heard" ? design.heard : design.answers;
            list.push_back({name, TextOf<std::wstring>(fields.at(3))});
        }
    }
    return designs;
}

}  // namespace

const Design& DesignOf(std::string_view window) {
    static const auto designs = ReadDesigns();
    const auto design = designs.find(window);
    if (design == designs.end()) throw std::out_of_range("no such window in the designs: " + std::string(window));
    return design->second;
}

int Design::Number(std::string_view name) const { return std::stoi(Text(name)); }

const std::wstring& Design::Text(std::string_view name) const {
    const auto value = values.find(name);
    if (value == values.end()) throw std::out_of_range("no such value in the design: " + std::string(name));
    return value->second;
}

const Control& Design::ControlNamed(std::string_view name) const {
    const auto control = std::ranges::find(controls, name, &Control::name);
    if (control == controls.end()) throw std::out_of_range("no such control in the design: " + std::string(name));
    return *control;
}

const Font& Design::FontOf(std::string_view control) const {
    const auto own = fonts.find(control);
    return own != fonts.end() ? own->second : fonts.at("*");
}

std::wstring Design::Of(const std::vector<Named>& list, std::string_view name) {
    const auto named = std::ranges::find(list, name, &Named::name);
    return named == list.end() ? std::wstring() : named->text;
}

const std::vector<Entry>& Catalogue() {
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> read;
        for (const auto& fields : Records(kCatalogueFile)) {
            const std::string_view description = fields.at(2);
            read.push_back({static_cast<std::size_t>(Number(fields.at(0))), TextOf<std::u16string>(fields.at(1)),
                            description == "~" ? std::nullopt : std::optional(TextOf<std::u16string>(description))});
        }
        return read;
    }();
    return entries;
}

std::u16string_view FixedDescriptionOf(std::u16string_view key) {
    std::u16string_view result;
    for (const Entry& entry : Catalogue())
        if (entry.key == key) result = entry.description ? std::u16string_view(*entry.description) : u"";
    return result;
}

}  // namespace tavrix::test::oracle
