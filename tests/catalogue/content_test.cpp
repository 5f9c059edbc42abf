// What a file's content tells: headers typed from each format's own documentation, one row per
// rule and the near misses beside them; how much is read of a file of any size; and what a
// handed-over file then shows.
#include "catalogue/content.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace tavrix {
namespace {

using namespace std::string_literals;

// A file in memory; beyond its bytes, up to its size, zeros as a sparse file gives them, unless it
// shrank since its size was read. Counts what is read of it.
struct Memory final : FileBytes {
    std::vector<std::pair<std::uint64_t, std::string>> pieces;
    std::uint64_t size;
    bool shrank = false;
    std::size_t read = 0;

    explicit Memory(std::string bytes, std::uint64_t size = 0) : pieces{{0, bytes}}, size(std::max<std::uint64_t>(size, bytes.size())) {}
    std::uint64_t Size() const override { return size; }
    std::size_t Read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        const std::uint64_t end = shrank ? pieces[0].second.size() : size;
        const std::size_t count = offset >= end ? 0 : std::min<std::uint64_t>(into.size(), end - offset);
        std::fill_n(into.begin(), count, 0);
        for (const auto& [at, bytes] : pieces)
            for (std::size_t i = 0; i < bytes.size(); ++i)
                if (at + i >= offset && at + i < offset + count) into[at + i - offset] = bytes[i];
        read += count;
        return count;
    }
};

std::string Le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}
std::string Pad(std::string bytes, std::size_t size, char with = 0) { return bytes.resize(size, with), bytes; }

// A ZIP's directory entry for a stored member, and a ZIP of such members as zip and the office
// suites write one.
std::string Entry(const std::string& name, std::size_t size = 0, std::uint64_t local = 0) {
    return "PK\1\2"s + Le(20, 2) + Le(20, 2) + Le(0, 12) + Le(size, 4) + Le(size, 4) + Le(name.size(), 2) +
           Le(0, 12) + Le(local, 4) + name;
}
std::string Zip(std::vector<std::pair<std::string, std::string>> members) {
    std::string archive, directory;
    for (const auto& [name, data] : members) {
        directory += Entry(name, data.size(), archive.size());
        archive += "PK\3\4"s + Le(20, 2) + Le(0, 12) + Le(data.size(), 4) + Le(data.size(), 4) +
                   Le(name.size(), 2) + Le(0, 2) + name + data;
    }
    return archive + directory + "PK\5\6"s + Le(0, 4) + Le(members.size(), 2) + Le(members.size(), 2) +
           Le(directory.size(), 4) + Le(archive.size(), 4) + Le(0, 2);
}

// A compound file: the root entry with its class, and one stream, in the directory's first
// sector or (later) in its second, which the FAT chains on.
std::string Compound(std::string clsid, std::u16string stream, bool later = false) {
    auto entry = [](std::u16string name, char type, std::string clsid) {
        std::string e;
        for (char16_t c : name) e += Le(c, 2);
        return Pad(Pad(Pad(e, 64) + Le(name.size() * 2 + 2, 2) + type, 80) + clsid, 128);
    };
    const std::string header = Pad(Pad(Pad("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s, 24) + Le(0x3E, 2) + Le(3, 2) +
                                           Le(0xFFFE, 2) + Le(9, 2), 48) + Le(0, 4), 76) + Le(1, 4);
    const std::string root = entry(u"Root Entry", 5, clsid), other = entry(stream, 2, "");
    const std::string fat = Le(later ? 2 : 0xFFFFFFFE, 4) + Le(0xFFFFFFFD, 4) + Le(0xFFFFFFFE, 4);
    return Pad(header, 512, '\xFF') + Pad(later ? root : root + other, 512) + Pad(fat, 512, '\xFF') +
           (later ? Pad(other, 512) : "");
}

// A program: its DOS header, and the header it points to.
std::string Program(std::string header) {
    return Pad(Pad("MZ"s + Le(0x90, 2) + Le(3, 2) + Le(0, 2) + Le(4, 2), 0x3C) + Le(0x80, 4), 0x80) + header;
}
std::string Pe(int traits, int subsystem) {
    return Pad(Pad("PE\0\0"s + Le(0x14C, 2) + Le(3, 2) + Le(0, 12) + Le(0xE0, 2) + Le(traits, 2) + Le(0x10B, 2), 24 + 68) +
                   Le(subsystem, 2), 24 + 0xE0);
}

std::string Tar() {
    std::string header = Pad(Pad(Pad("a.txt", 100) + "0000644", 148) + "        ", 257) + "ustar\0" "00"s;
    header = Pad(header, 512);
    unsigned sum = 0;
    for (unsigned char c : header) sum += c;
    char field[8];
    std::snprintf(field, sizeof field, "%06o", sum);
    return header.replace(148, 7, field, 7);  // six digits and a NUL; the eighth byte stays a blank
}

std::string Utf16(std::string_view text) {
    std::string units;
    for (char c : text) units += c + "\0"s;
    return units;
}

std::string Riff(std::string form, std::string chunk) { return "RIFF"s + Le(1000, 4) + form + chunk + Le(100, 4); }
std::string Box(std::string brands) { return Le(0, 3) + char(8 + brands.size()) + "ftyp" + brands; }
std::string Jpeg() { return "\xFF\xD8\xFF\xE0\0\x10JFIF\0"s; }
const std::string kPngHead = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x08"s;
const std::string kWord = "\x06\x09\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"s;

struct Row {
    const char* what;
    std::string bytes;
    std::u16string_view usual;  // of the format found; empty: nothing tells
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"PNG", kPngHead, u"png"},
        {"PNG cut after its signature", "\x89PNG\r\n\x1A\n"s, u""},
        {"GIF", "GIF89a\x08\0\x08\0\x80\0\0"s + std::string(6, '\0') + ",\0\0\0\0\x08\0\x08\0\0\x02"s, u"gif"},
        {"GIF, extension first", "GIF87a\x01\0\x01\0\0\0\0!\xF9\x04"s, u"gif"},
        {"text beginning GIF89a", "GIF89a a text!\r\n", u"txt"},
        {"JPEG", Jpeg(), u"jpg"},
        {"BMP", "BM"s + Le(70, 4) + Le(0, 4) + Le(54, 4) + Le(40, 4), u"bmp"},
        {"text beginning BM", "BMW cars", u"txt"},
        {"TIFF", "II*\0\x08\0\0\0"s, u"tiff"},
        {"icon", "\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0"s + Le(100, 4) + Le(22, 4), u"ico"},
        {"cursor", "\0\0\2\0\1\0\x20\x20\0\0\x05\0\x05\0"s + Le(100, 4) + Le(22, 4), u"cur"},
        {"icon pointing into its directory", "\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0"s + Le(100, 4) + Le(4, 4), u""},
        {"PCX", Pad(Pad("\x0A\x05\x01\x08\0\0\0\0\x07\0\x07\0"s, 65) + "\x01", 128), u"pcx"},
        {"Photoshop", "8BPS\0\x01\0\0\0\0\0\0\0\x03"s, u"psd"},
        {"WebP", Riff("WEBP", "VP8 "), u"webp"},
        {"WAV", Riff("WAVE", "fmt "), u"wav"},
        {"AVI", Riff("AVI ", "LIST"), u"avi"},
        {"animated cursor", Riff("ACON", "anih"), u"ani"},
        {"RIFF MIDI", Riff("RMID", "data"), u"rmi"},
        {"VCD video", Riff("CDXA", "fmt "), u"dat"},
        {"text beginning RIFF", "RIFF1234WAVEfmt  16 bytes", u"txt"},
        {"AIFF", "FORM"s + Le(0, 3) + "\x40" "AIFFCOMM\0\0\0\x12"s, u"aif"},
        {"AU", ".snd\0\0\0\x18\xFF\xFF\xFF\xFF\0\0\0\x03\0\0\x1F\x40\0\0\0\x01"s, u"au"},
        {"Creative Voice", "Creative Voice File\x1A\x1A\0\x14\x01\x1F\x11"s, u"voc"},
        {"MIDI", "MThd\0\0\0\x06\0\x01\0\x02"s, u"mid"},
        {"MP3, two frames", Pad("\xFF\xFB\x90\x64"s, 417) + "\xFF\xFB\x90\x64"s, u"mp3"},
        {"one lone frame header", "\xFF\xFB\x90\x64"s, u""},
        {"MP3 after its ID3 tag", "ID3\x03\0\0\0\0\0\x02\0\0\xFF\xFB\x90\x64"s, u"mp3"},
        {"FLAC after an ID3 tag", "ID3\x04\0\0\0\0\0\0fLaC"s, u"flac"},
        {"text beginning ID3", "ID3 tags name the songs", u"txt"},
        {"FLAC", "fLaC\0\0\0\x22"s, u"flac"},
        {"Ogg Vorbis", "OggS\0\x02"s + Le(0, 20) + "\x01\x1E\x01vorbis"s, u"ogg"},
        {"Opus", "OggS\0\x02"s + Le(0, 20) + "\x01\x13OpusHead"s, u"opus"},
        {"Windows Media", "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\0\xAA\0\x62\xCE\x6C"s, u"asf"},
        {"RealMedia", ".RMF\0\0\0\x12\0\0"s, u"rm"},
        {"MPEG program stream", "\0\0\x01\xBA\x44\0\x04\0\x04\x01"s, u"mpg"},
        {"MP4", Box("isom\0\0\x02\0isomiso2mp41"s), u"mp4"},
        {"M4A", Box("M4A \0\0\0\0M4A mp42isom"s), u"m4a"},
        {"QuickTime", Box("qt  \0\0\x02\0qt  "s), u"mov"},
        {"HEIC", Box("heic\0\0\0\0mif1heic"s), u"heic"},
        {"AVIF", Box("avif\0\0\0\0avifmif1miaf"s), u"avif"},
        {"3GP", Box("3gp4\0\0\x02\0isom3gp4"s), u"3gp"},
        {"QuickTime before brands", Le(0, 3) + "\x08wide\0\0\0\x10mdat"s + Le(0, 8), u"mov"},
        {"Matroska", "\x1A\x45\xDF\xA3\x9F\x42\x86\x81\x01\x42\x82\x88matroska"s, u"mkv"},
        {"WebM", "\x1A\x45\xDF\xA3\x93\x42\x82\x84webm\x42\x87\x81\x04"s, u"webm"},
        {"FLV", "FLV\x01\x05\0\0\0\x09"s, u"flv"},
        {"Flash", "CWS\x0A"s + Le(5000, 4), u"swf"},
        {"FLIC", "\0\x10\0\0\x12\xAF\x01\0"s, u"flc"},
        {"PDF", "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n"s, u"pdf"},
        {"text beginning %PDF", "%PDF-1.7 is the newest", u"txt"},
        {"EPS", "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 8 8\r\n", u"eps"},
        {"PostScript", "%!PS-Adobe-3.0\n%%Pages: 1\n", u"ps"},
        {"AutoCAD", "AC1015\0\0\0\0\0\x06"s, u"dwg"},
        {"enhanced metafile", Pad(Le(1, 4) + Le(108, 4), 40) + " EMF", u"emf"},
        {"placeable metafile", "\xD7\xCD\xC6\x9A\0\0"s, u"wmf"},
        {"Word 97", Compound(kWord, u"WordDocument"), u"doc"},
        {"Excel, by its stream", Compound(std::string(16, '\0'), u"Workbook"), u"xls"},
        {"PowerPoint, its stream in the second sector", Compound(std::string(16, '\0'), u"PowerPoint Document", true), u"ppt"},
        {"Windows Installer", Compound("\x84\x10\x0C\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"s, u"\x4840\x3B3F"), u"msi"},
        {"Outlook message", Compound(std::string(16, '\0'), u"__substg1.0_0037001F"), u"msg"},
        {"compound file of no known kind", Compound(std::string(16, '\0'), u"Thumbs"), u""},
        {"Access", "\0\x01\0\0Standard Jet DB\0"s, u"mdb"},
        {"ZIP", Zip({{"a.txt", "x"}}), u"zip"},
        {"docx", Zip({{"[Content_Types].xml", ""}, {"_rels/.rels", ""}, {"word/document.xml", ""}}), u"docx"},
        {"docx of another suite, members in another order", Zip({{"_rels/.rels", ""}, {"word/styles.xml", ""}, {"docProps/app.xml", ""}, {"[Content_Types].xml", ""}}), u"docx"},
        {"xlsx", Zip({{"[Content_Types].xml", ""}, {"xl/workbook.xml", ""}}), u"xlsx"},
        {"pptx", Zip({{"[Content_Types].xml", ""}, {"ppt/presentation.xml", ""}}), u"pptx"},
        {"odt", Zip({{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", ""}}), u"odt"},
        {"ods, its mimetype last", Zip({{"content.xml", ""}, {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}), u"ods"},
        {"EPUB", Zip({{"mimetype", "application/epub+zip"}, {"META-INF/container.xml", ""}}), u"epub"},
        {"APK", Zip({{"AndroidManifest.xml", ""}, {"classes.dex", ""}, {"META-INF/MANIFEST.MF", ""}}), u"apk"},
        {"JAR", Zip({{"META-INF/MANIFEST.MF", ""}, {"a/B.class", ""}}), u"jar"},
        {"ZIP cut short before its directory", Zip({{"a.txt", "x"}}).substr(0, 40), u"zip"},
        {"text beginning PK", "PK: the two letters of ZIP", u"txt"},
        {"RAR", "Rar!\x1A\x07\x01\0"s, u"rar"},
        {"7-Zip", "7z\xBC\xAF\x27\x1C\0\x04"s, u"7z"},
        {"cabinet", "MSCF\0\0\0\0"s + Le(100, 4) + Le(0, 12) + "\x03\x01"s, u"cab"},
        {"ARJ", "\x60\xEA\x22\0\x1E\x0B\x01\x02\x10\0\x02"s, u"arj"},
        {"LHA", Pad("\x24\x5A-lh5-"s, 20) + "\x01", u"lzh"},
        {"ACE", "\x12\x34\x31\0\0\0\0**ACE**"s, u"ace"},
        {"gzip", "\x1F\x8B\x08\0"s, u"gz"},
        {"compress", "\x1F\x9D\x90"s, u"z"},
        {"bzip2", "BZh91AY&SY\x8E\x0F\x01\0"s, u"bz2"},
        {"text beginning like bzip2", "BZh91AY&SY is how bzip2 begins", u"txt"},
        {"xz", "\xFD" "7zXZ\0\0\x04"s, u"xz"},
        {"tar", Tar(), u"tar"},
        {"ISO", Pad("", 0x8000) + "\x01" "CD001\x01", u"iso"},
        {"SQLite", "SQLite format 3\0"s, u"sqlite"},
        {"WOFF2", "wOF2\0\x01\0\0"s, u"woff2"},
        {"TrueType", "\0\x01\0\0\0\x0C\0\x80\0\x03\0\x20"s, u"ttf"},
        {"OpenType", "OTTO\0\x0B\0\x80\0\x03\0\x30"s, u"otf"},
        {"WebAssembly", "\0asm\x01\0\0\0"s, u"wasm"},
        {"ELF", "\x7F" "ELF\x02\x01\x01\0"s, u"elf"},
        {"Java class", "\xCA\xFE\xBA\xBE\0\0\0\x34"s, u"class"},
        {"Windows program", Program(Pe(0x0102, 2)), u"exe"},
        {"Windows library", Program(Pe(0x2102, 2)), u"dll"},
        {"Windows driver", Program(Pe(0x0102, 1)), u"sys"},
        {"16-bit program", Program("NE\x05\x0A"s + Le(0, 8) + Le(0x0302, 2)), u"exe"},
        {"virtual device driver", Program("LE\0\0"s + Le(0, 4) + Le(2, 2) + Le(4, 2)), u"vxd"},
        {"DOS program", Pad("MZ"s + Le(0x90, 2) + Le(3, 2) + Le(0, 2) + Le(2, 2), 64), u"exe"},
        {"text beginning MZ", "MZ\r\nmarks a program", u"txt"},
        {"shortcut", "\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"s, u"lnk"},
        {"HTML help", "ITSF\x03\0\0\0\x60\0\0\0"s, u"chm"},
        {"RTF", "{\\rtf1\\ansi hello}", u"rtf"},
        {"registry, UTF-16", "\xFF\xFE"s + Utf16("Windows Registry Editor Version 5.00\r\n"), u"reg"},
        {"Internet shortcut", "[InternetShortcut]\r\nURL=http://example.org/\r\n", u"url"},
        {"BinHex", "(This file must be converted with BinHex 4.0)\r\n:", u"hqx"},
        {"page", "\xEF\xBB\xBF<!-- saved -->\n<!DOCTYPE html>\n<html lang=\"zh\">"s, u"htm"},
        {"SVG", "<?xml version=\"1.0\"?>\n<!DOCTYPE svg>\n<svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\"/>", u"svg"},
        {"XML", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config/>", u"xml"},
        {"text, UTF-8", "天气很好\r\n", u"txt"},
        {"text, GBK", "\xCC\xEC\xC6\xF8\xBA\xDC\xBA\xC3\r\n\x1A"s, u"txt"},
        {"text, GB18030 four bytes", "\x81\x30\x81\x30 ok"s, u"txt"},
        {"text, UTF-16 without its mark", "h\0e\0l\0l\0o\0 \0w\0o\0r\0l\0d\0"s, u"txt"},
        {"bytes of no kind", "\x01\x02\x03\x04\x05\x06"s, u""},
        {"empty file", "", u""},
    };
    return rows;
}

TEST(Content, EachFormatByItsHeaderAndNoTextForAFormat) {
    for (const Row& row : Rows()) {
        Memory file(row.bytes);
        const ContentFormat* found = IdentifyContent(file);
        EXPECT_EQ(found ? found->Usual() : u"", row.usual) << row.what;
        if (!found) continue;
        // Every format has its text, the catalogue's or its own, short as the catalogue's are.
        const std::u16string shown = WhatTheFileIs(u"", found).shown;
        const std::size_t text = shown.find(u"\r\n") + 2;
        EXPECT_GT(shown.size(), text) << row.what;
        EXPECT_LE(found->description.size(), 70u) << row.what;
    }
}

// A file of any size costs what a small one does: at most a bounded amount is read, at offsets
// past 4 GB too; a file that shrinks while it is read is read to where it ends.
TEST(Content, ReadsABoundedAmountOfAFileOfAnySize) {
    constexpr std::uint64_t kHuge = 5ull << 30;
    const std::string directory = Entry("classes.dex") + Entry("AndroidManifest.xml");
    const std::uint64_t at = kHuge - 4096, record = at + directory.size();
    Memory zip64(Zip({{"a", ""}}).substr(0, 35), kHuge);
    zip64.pieces.emplace_back(at, directory + "PK\6\6"s + Le(44, 8) + Le(0, 20) + Le(2, 8) +
                                      Le(directory.size(), 8) + Le(at, 8) + "PK\6\7"s + Le(0, 4) +
                                      Le(record, 8) + Le(1, 4) + "PK\5\6"s + Le(0, 8) + Le(0xFFFFFFFFFFFFFFFF, 8) + Le(0, 2));
    EXPECT_EQ(IdentifyContent(zip64)->Usual(), u"apk");
    EXPECT_LE(zip64.read, kMostBytesRead);

    Memory hugeDirectory(Zip({{"a", ""}}).substr(0, 35), kHuge);  // its directory said to be 900 MB long
    hugeDirectory.pieces.emplace_back(kHuge - 22, "PK\5\6"s + Le(0, 8) + Le(900'000'000, 4) + Le(10, 4) + Le(0, 2));
    EXPECT_EQ(IdentifyContent(hugeDirectory)->Usual(), u"zip");
    EXPECT_LE(hugeDirectory.read, kMostBytesRead);

    Memory shrunk(kPngHead, 1 << 20);
    shrunk.shrank = true;
    EXPECT_EQ(IdentifyContent(shrunk)->Usual(), u"png");
    EXPECT_EQ(shrunk.read, kPngHead.size());
}

const ContentFormat* FormatOf(const std::string& bytes) {
    Memory file(bytes);
    return IdentifyContent(file);
}

// A handed-over file: the input box takes the name's extension (else the content's), and the
// output box says what the content is where the name does not, first of all a program's disguise.
TEST(Content, WhatTheNameAndTheContentTogetherShow) {
    const ContentFormat* program = FormatOf(Program(Pe(0x0102, 2)));
    const ContentFormat* library = FormatOf(Program(Pe(0x2102, 2)));
    const ContentFormat* text = FormatOf("plain");
    struct Case {
        std::u16string_view extension;
        const ContentFormat* content;
        std::u16string_view input, firstLine, description;  // empty: the lookup's own answer
    } cases[] = {
        {u"JPG", FormatOf(Jpeg()), u"JPG", u"", u""},
        {u"jpeg", FormatOf(Jpeg()), u"jpeg", u"", u""},
        {u"ini", text, u"ini", u"", u""},
        {u"png", FormatOf(kPngHead), u"png", u"按内容看，这是PNG图片，通常的后缀名是.png", u"可移植网络图形(PNG)图片"},
        {u"", FormatOf(kPngHead), u"png", u"按内容看，这是PNG图片，通常的后缀名是.png", u"可移植网络图形(PNG)图片"},
        {u"dat", FormatOf(Box("isom\0\0\x02\0isom"s)), u"dat", u"按内容看，这是MP4视频，通常的后缀名是.mp4", u"MPEG-4视频文件"},
        {u"gif", text, u"gif", u"按内容看，这是文本文件，通常的后缀名是.txt", u"文本文件"},
        {u"mpeg", FormatOf("\0\0\x01\xBA\x44\0\x04\0\x04\x01"s), u"mpeg", u"", u""},
        {u"dat", FormatOf("Creative Voice File\x1A\x1A\0\x14\x01\x1F\x11"s), u"dat",
         u"按内容看，这是Creative Voice声音文件，通常的后缀名是.voc", u"Creative公司的Creative Voice声音文件"},
        {u"jpg", program, u"jpg", u"警告：这是Windows程序，通常的后缀名是.exe，打开就会运行，并非名字所示的文件", u"可执行文件"},
        {u"", library, u"dll", u"警告：这是Windows程序库，通常的后缀名是.dll，打开就会运行，并非名字所示的文件", u"动态链接库"},
        {u"SCR", program, u"SCR", u"", u""},
        {u"exe", library, u"exe", u"按内容看，这是Windows程序库，通常的后缀名是.dll", u"动态链接库"},
        {u"txt", nullptr, u"txt", u"", u""},
        {u"", nullptr, u"", u"", u""},
    };
    for (const Case& c : cases) {
        const HandedOver handed = WhatTheFileIs(c.extension, c.content);
        const std::u16string_view shown = handed.shown;
        EXPECT_EQ(handed.input, c.input);
        EXPECT_EQ(shown.substr(0, shown.find(u"\r\n")), c.firstLine) << handed.input.size();
        EXPECT_TRUE(c.firstLine.empty() || shown.substr(shown.find(u"\r\n") + 2).starts_with(c.description));
    }
}

}  // namespace
}  // namespace tavrix
