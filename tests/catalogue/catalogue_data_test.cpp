// The catalogue's fixed data: order, repeats, shared texts and the character rules that the
// output box and code page 936 depend on.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavrix {
namespace {

using Positions = std::vector<std::size_t>;  // 1-based, as the catalogue counts

std::u16string_view DescriptionAt(std::size_t position) {
    return Catalogue()[position - 1].description;
}

// Every text (key or description) that occurs more than once, with the positions where it occurs.
template <typename Field>
std::map<std::u16string, Positions> Repeated(Field field) {
    std::map<std::u16string, Positions> all;
    const auto entries = Catalogue();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        all[std::u16string(field(entries[i]))].push_back(i + 1);
    }
    std::erase_if(all, [](const auto& item) { return item.second.size() < 2; });
    return all;
}

bool IsAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

bool IsIdeograph(char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

TEST(CatalogueKeys, OrderAndRepeatsAreKept) {
    const auto entries = Catalogue();
    ASSERT_EQ(entries.size(), 268u);
    EXPECT_EQ(entries.front().key, u"avd");
    EXPECT_EQ(entries.back().key, u"zip");
    EXPECT_EQ(entries[134].key, u"MPEG");
    EXPECT_EQ(entries[135].key, u"mac");

    const std::map<std::u16string, Positions> repeats = {
        {u"*", {195, 196, 197, 198, 199}}, {u"vxd", {236, 237}}, {u"xlc", {259, 261}}};
    EXPECT_EQ(Repeated([](const CatalogueEntry& e) { return e.key; }), repeats);
}

TEST(CatalogueKeys, LengthsAndCharacters) {
    std::map<std::size_t, int> lengths;
    std::vector<std::u16string> short_keys, long_keys, other_keys;
    for (const CatalogueEntry& entry : Catalogue()) {
        const std::u16string key(entry.key);
        ++lengths[key.size()];
        if (key.size() == 1) short_keys.push_back(key);
        if (key.size() == 5) long_keys.push_back(key);
        if (!std::all_of(key.begin(), key.end(), [](char16_t c) { return c >= u'a' && c <= u'z'; })) {
            other_keys.push_back(key);
        }
        // Printable ASCII without space or dot: what a user types after the dot of a file name.
        EXPECT_TRUE(std::all_of(key.begin(), key.end(),
                                [](char16_t c) { return c > u' ' && c < 0x7F && c != u'.'; }))
            << "key at " << (&entry - Catalogue().data()) + 1;
    }
    EXPECT_EQ(lengths, (std::map<std::size_t, int>{{1, 9}, {2, 9}, {3, 239}, {4, 9}, {5, 2}}));
    EXPECT_EQ(short_keys, (std::vector<std::u16string>{u"c", u"h", u"p", u"*", u"*", u"*", u"*", u"*", u"z"}));
    EXPECT_EQ(long_keys, (std::vector<std::u16string>{u"image", u"movie"}));
    EXPECT_EQ(other_keys, (std::vector<std::u16string>{u"b64", u"job*", u"MPEG", u"mp3", u"*", u"*", u"*", u"*", u"*"}));
}

TEST(CatalogueDescriptions, OnlyTheKnownTextsAreShared) {
    const std::map<std::u16string, Positions> shared = {
        {u"音频文件，使用Windows Media Player播放", {11, 12}},
        {u"应用文件，存在于Dbase,Foxbase,Foxpro系统软件的环境下", {15, 16}},
        {u"Txt文件", {85, 91}},
        {u"报表文件,存在于Dbase,Foxbase,Foxpro系列软件的环境下", {100, 101}},
        {u"菜单文件，存在于Dbase,Foxbase,Foxpro系列软件的环境下", {145, 146}},
        {u"Pascal源程序文件", {166, 168}},
        {u"查询文件，在Dbase,Foxbase,Foxpro系列软件的环境下使用", {178, 179, 210}},
        {u"ReadAudio文件", {191, 192}},
        {u"*", {195, 196, 197, 198, 199}},
        {u"屏幕文件，在Dbase,Foxbase,Foxpro系列软件的环境下使用", {203, 204}},
        {u"Winzip", {221, 230}},
        {u"vir、vss、vst、vsw都是Visio.Drawing.4的文件", {239, 240, 241, 242}},
        {u"Excel.Chart.5", {259, 261}},
    };
    EXPECT_EQ(Repeated([](const CatalogueEntry& e) { return e.description; }), shared);

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
    EXPECT_EQ(ascii_only, (Positions{106, 107, 128, 156, 157, 161, 162, 163, 164, 182, 195, 196,
                                     197, 198, 199, 216, 221, 230, 250, 251, 252, 253, 257, 258,
                                     259, 260, 261, 262, 263, 264, 265, 266}));
    EXPECT_EQ(trailing_space, (Positions{60, 82, 152}));  // "cpe", "dxb", "mpt"
    EXPECT_EQ(std::u16string(DescriptionAt(59)) + u" ", DescriptionAt(60));
}

TEST(CatalogueDescriptions, QuotedTextsAreExact) {
    EXPECT_EQ(DescriptionAt(6), u"同.acm，但保存于本地");
    EXPECT_EQ(DescriptionAt(82), u"AutoCAD创建的一中图形文件格式 ");
    EXPECT_EQ(DescriptionAt(113), u"同.htm文件");
    EXPECT_EQ(DescriptionAt(194), u"Audio/x-pn-realaudio-plugin格式文件\"");
    EXPECT_EQ(DescriptionAt(236), u"声音文件，此文件格式由Creative Labs公司开发，被Windows和DOS平台所支持，支持压缩");
    EXPECT_EQ(DescriptionAt(237), u"虚拟设备驱动程序，在Windows操作系统中非常常见，是重要的系统文件");
    EXPECT_EQ(DescriptionAt(251), u"Work.Backup");
    EXPECT_EQ(DescriptionAt(257), u"EXCEL.Addim");
    EXPECT_EQ(DescriptionAt(267), u"一种压缩文件");
    EXPECT_NE(DescriptionAt(135).find(u"4095×4094×30帧/每秒"), std::u16string_view::npos);
}

}  // namespace
}  // namespace tavrix
