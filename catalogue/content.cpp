#include "catalogue/content.h"

#include <algorithm>
#include <array>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/file_name.h"

namespace tavrix {
namespace {

using namespace std::string_view_literals;
using Bytes = std::span<const std::uint8_t>;
using Format = ContentFormat;

// ---- the formats (data of their own, beside the rules) -------------------------------------

#include "content_formats.inc"

// Extensions under which a program is what anyone expects: a program so named is no disguise.
constexpr std::u16string_view kProgramExtensions =
    u"exe com scr pif dll sys drv cpl ocx vxd 386 ax acm ime tsp wll xll vbx ovl fon mui efi";

// ---- reading ---------------------------------------------------------------------------------

// The file's head, read once, and the few other places a format asks for, within the allowance.
class Probe {
public:
    explicit Probe(FileBytes& file) : file_(file), size_(file.Size()) {
        head_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size_, kHeadBytes)));
        head_.resize(file_.Read(0, head_));
        left_ = kMostBytesRead - head_.size();
    }
    Bytes Head() const { return head_; }
    std::uint64_t Size() const { return size_; }

    // `count` bytes at `offset`, fewer at the end; from the head where it holds them. Valid until
    // the next call. Nothing once the allowance is spent.
    Bytes At(std::uint64_t offset, std::size_t count) {
        const bool whole = head_.size() < kHeadBytes;  // the head is the whole file
        if (offset <= head_.size() && (whole || offset + count <= head_.size()))
            return Bytes(head_).subspan(static_cast<std::size_t>(offset)).first(
                std::min<std::size_t>(count, head_.size() - static_cast<std::size_t>(offset)));
        if (whole || offset >= size_) return {};
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
        if (count > left_) return {};
        left_ -= count;
        more_.resize(count);
        more_.resize(file_.Read(offset, more_));
        return more_;
    }

private:
    FileBytes& file_;
    std::uint64_t size_;
    std::vector<std::uint8_t> head_, more_;
    std::size_t left_;
};

// Fields, little- or big-endian; 0 where the bytes do not reach.
std::uint32_t Le(Bytes b, std::size_t at, int bytes) {
    if (at + bytes > b.size()) return 0;
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + i];
    return value;
}
std::uint32_t Be(Bytes b, std::size_t at, int bytes) {
    if (at + bytes > b.size()) return 0;
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | b[at + i];
    return value;
}
std::uint64_t Le64(Bytes b, std::size_t at) { return Le(b, at, 4) | std::uint64_t{Le(b, at + 4, 4)} << 32; }

bool Has(Bytes b, std::size_t at, std::string_view magic) {
    return at + magic.size() <= b.size() &&
           std::equal(magic.begin(), magic.end(), b.begin() + at,
                      [](char m, std::uint8_t c) { return static_cast<std::uint8_t>(m) == c; });
}
std::vector<std::uint8_t> Copy(Bytes b) { return {b.begin(), b.end()}; }
bool OneOf(std::uint32_t value, std::initializer_list<std::uint32_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}
// A four-character code of printable ASCII, as chunk and box names are.
bool IsCode(Bytes b, std::size_t at) {
    return at + 4 <= b.size() && std::all_of(b.begin() + at, b.begin() + at + 4,
                                              [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}
// A four-character code as a big-endian field reads it.
constexpr std::uint32_t Code(const char (&code)[5]) {
    return std::uint32_t(std::uint8_t(code[0])) << 24 | std::uint8_t(code[1]) << 16 | std::uint8_t(code[2]) << 8 |
           std::uint8_t(code[3]);
}
template <class Table>
const Format* Named(std::uint32_t code, const Table& table) {
    for (const auto& [name, format] : table)
        if (name == code) return format;
    return nullptr;
}

// A size field of a real file: no text spells one (its top byte would be a letter).
bool Plausible(std::uint32_t size) { return size < 0x20000000; }

// ---- text: what a text is written in -------------------------------------------------------

// A character that texts hold: no control but tab, line ends, form feed and escape (of ANSI
// pictures). DOS's end-of-file mark may end them (TextEncoding leaves it out).
bool InText(char32_t c) {
    return c >= 0x20 ? c != 0x7F : c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == 0x1B;
}

// Each function reads the bytes as text in one encoding; `cut`: they stop where the file goes on,
// so that a character may be cut short at their end.
bool Utf8(Bytes b, bool cut) {
    for (std::size_t i = 0; i < b.size();) {
        const std::uint8_t c = b[i];
        const int more = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        if (more < 0 || (more == 0 && !InText(c))) return false;
        if (i + more >= b.size()) return more == 0 || cut;
        for (int k = 1; k <= more; ++k)
            if ((b[i + k] & 0xC0) != 0x80) return false;
        const std::uint8_t second = more ? b[i + 1] : 0;
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second > 0x8F))
            return false;  // too long a form, a surrogate, or beyond U+10FFFF
        i += 1 + more;
    }
    return true;
}

bool Gb18030(Bytes b, bool cut) {
    for (std::size_t i = 0; i < b.size();) {
        const std::uint8_t c = b[i];
        if (c < 0x80) {
            if (!InText(c)) return false;
            ++i;
            continue;
        }
        if (c == 0x80 || c == 0xFF) return false;
        if (i + 1 >= b.size()) return cut;
        const std::uint8_t d = b[i + 1];
        if (d >= 0x40 && d <= 0xFE && d != 0x7F) {
            i += 2;
        } else if (d >= 0x30 && d <= 0x39) {  // four bytes
            if (i + 3 >= b.size()) return cut;
            if (b[i + 2] < 0x81 || b[i + 2] == 0xFF || b[i + 3] < 0x30 || b[i + 3] > 0x39) return false;
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

// UTF-16; without a byte-order mark only little-endian, and only where half of it is plain ASCII
// (a few zero bytes among others make no text).
bool Utf16(Bytes b, bool big, bool cut, bool marked) {
    std::size_t ascii = 0, units = b.size() / 2;
    if (b.size() % 2 && !cut) return false;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t u = big ? Be(b, 2 * i, 2) : Le(b, 2 * i, 2);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 == units) return cut;
            const std::uint32_t low = big ? Be(b, 2 * i + 2, 2) : Le(b, 2 * i + 2, 2);
            if (low < 0xDC00 || low > 0xDFFF) return false;
            ++i;
            continue;
        }
        if ((u >= 0xDC00 && u <= 0xDFFF) || (u >= 0xE000 && u <= 0xF8FF) || u >= 0xFFFE || !InText(u)) return false;
        ascii += u < 0x80;
    }
    return units > 0 && (marked || 2 * ascii >= units);
}

enum class Encoding { None, Bytes, Utf16Le, Utf16Be };

// How the head reads as text, whole.
Encoding TextEncoding(Probe& p) {
    const bool cut = p.Head().size() < p.Size();
    const Bytes h = p.Head().first(p.Head().size() - (!cut && !p.Head().empty() && p.Head().back() == 0x1A));
    if (Has(h, 0, "\xEF\xBB\xBF")) return Utf8(h.subspan(3), cut) ? Encoding::Bytes : Encoding::None;
    if (Has(h, 0, "\xFF\xFE")) return Utf16(h.subspan(2), false, cut, true) ? Encoding::Utf16Le : Encoding::None;
    if (Has(h, 0, "\xFE\xFF")) return Utf16(h.subspan(2), true, cut, true) ? Encoding::Utf16Be : Encoding::None;
    if (Utf8(h, cut) || Gb18030(h, cut)) return Encoding::Bytes;
    return Utf16(h, false, cut, false) ? Encoding::Utf16Le : Encoding::None;
}

bool NotText(Probe& p) { return TextEncoding(p) == Encoding::None; }

// Formats written as text, by how they begin: markup by its first element.
bool StartsNoCase(std::u16string_view text, std::u16string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char16_t a, char16_t b) {
               return a == (b >= u'A' && b <= u'Z' ? char16_t(b - u'A' + u'a') : b);
           });
}
std::u16string_view SkipBlanks(std::u16string_view t) {
    while (!t.empty() && (t[0] == u' ' || t[0] == u'\t' || t[0] == u'\r' || t[0] == u'\n' || t[0] == 0xFEFF))
        t.remove_prefix(1);
    return t;
}
std::u16string_view After(std::u16string_view t, std::u16string_view end) {
    const std::size_t at = t.find(end);
    return at == std::u16string_view::npos ? std::u16string_view{} : t.substr(at + end.size());
}

const Format* Written(std::u16string_view t) {
    // How they begin, in lower case: letter case does not matter.
    static constexpr std::pair<std::u16string_view, const Format*> kOpenings[] = {
        {u"{\\rtf", &kRtf}, {u"regedit4", &kReg}, {u"windows registry editor version 5.00", &kReg},
        {u"[internetshortcut]", &kUrl}, {u"(this file must be converted with binhex", &kHqx},
    };
    t = SkipBlanks(t);
    for (const auto& [opening, format] : kOpenings)
        if (StartsNoCase(t, opening)) return format;
    if (t.starts_with(u"%!PS-Adobe-"))
        return t.substr(0, t.find_first_of(u"\r\n")).find(u" EPSF-") != std::u16string_view::npos ? &kEps : &kPs;
    if (t.starts_with(u"%!PS")) return &kPs;
    bool xml = false;
    for (;; t = SkipBlanks(t)) {
        if (t.starts_with(u"<?")) {
            xml |= t.starts_with(u"<?xml");
            t = After(t, u"?>");
        } else if (t.starts_with(u"<!--")) {
            t = After(t, u"-->");
        } else if (StartsNoCase(t, u"<!doctype")) {
            if (StartsNoCase(SkipBlanks(t.substr(9)), u"html")) return &kHtml;
            t = After(t, u">");
        } else {
            break;
        }
    }
    if (!t.starts_with(u"<")) return xml ? &kXml : &kText;
    std::u16string_view root = t.substr(1, t.find_first_of(u" \t\r\n/>") - 1);
    root = root.substr(root.find(u':') + 1);  // without its namespace's prefix
    if (root == u"svg") return &kSvg;
    if (StartsNoCase(root, u"html") && root.size() == 4) return &kHtml;
    return xml ? &kXml : &kText;
}

// Last: a text, and what is written in it.
const Format* Text(Probe& p) {
    const Encoding encoding = TextEncoding(p);
    if (encoding == Encoding::None) return nullptr;
    const Bytes h = p.Head().first(std::min<std::size_t>(p.Head().size(), 2048));
    std::u16string start;
    if (encoding == Encoding::Bytes) {
        for (std::uint8_t c : h.subspan(Has(h, 0, "\xEF\xBB\xBF") ? 3 : 0)) start += c < 0x80 ? char16_t(c) : u'\uFFFD';
    } else {
        for (std::size_t i = 2; i + 1 < h.size(); i += 2)
            start += static_cast<char16_t>(encoding == Encoding::Utf16Be ? Be(h, i, 2) : Le(h, i, 2));
        if (!Has(h, 0, "\xFF\xFE") && !Has(h, 0, "\xFE\xFF")) start.insert(start.begin(), static_cast<char16_t>(Le(h, 0, 2)));
    }
    return Written(start);
}

// ---- the rules: one per signature, the fields after it checked -------------------------------

// A GIF: its screen descriptor and colour table, then a first block that is one.
const Format* Gif(Probe& p) {
    const Bytes h = p.Head();
    if (!OneOf(Le(h, 4, 1), {'7', '9'}) || !Has(h, 5, "a")) return nullptr;
    auto table = [&](std::size_t flags) { return Le(h, flags, 1) & 0x80 ? 3u << ((Le(h, flags, 1) & 7) + 1) : 0; };
    const std::size_t first = 13 + table(10);
    switch (Le(h, first, 1)) {
    case 0x21: return OneOf(Le(h, first + 1, 1), {0x01, 0xF9, 0xFE, 0xFF}) ? &kGif : nullptr;
    case 0x2C: {
        const std::uint32_t codeSize = Le(h, first + 10 + table(first + 9), 1);
        return codeSize >= 2 && codeSize <= 12 ? &kGif : nullptr;
    }
    case 0x3B: return first + 1 == p.Size() ? &kGif : nullptr;
    }
    return nullptr;
}

const Format* Jpeg(Probe& p) {
    const Bytes h = p.Head();
    return h.size() > 5 && h[3] >= 0xC0 && h[3] != 0xFF && Be(h, 4, 2) >= 2 ? &kJpeg : nullptr;
}

const Format* Bmp(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t header = Le(h, 14, 4);
    return Le(h, 6, 4) == 0 && OneOf(header, {12, 40, 52, 56, 64, 108, 124}) && Le(h, 10, 4) >= 14 + header
               ? &kBmp : nullptr;
}

const Format* Tiff(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t first = h[0] == 'I' ? Le(h, 4, 4) : Be(h, 4, 4);
    return first >= 8 || Has(h, 0, "II+\0\x08\0\0\0"sv) ? &kTiff : nullptr;
}

// An icon or cursor directory: a count, and a first entry that points past the directory.
const Format* Icons(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t count = Le(h, 4, 2);
    if (count == 0 || h.size() < 22 || h[9] != 0 || Le(h, 14, 4) == 0 || Le(h, 18, 4) < 6 + 16 * count)
        return nullptr;
    if (h[2] == 2) return &kCur;
    return Le(h, 10, 2) <= 1 && OneOf(Le(h, 12, 2), {0, 1, 4, 8, 16, 24, 32}) ? &kIco : nullptr;
}

const Format* Icm(Probe& p) {
    const std::uint32_t size = Be(p.Head(), 0, 4);
    return size >= 128 && size <= p.Size() ? &kIcm : nullptr;
}

const Format* Pcd(Probe& p) { return NotText(p) ? &kPcd : nullptr; }

const Format* Pcx(Probe& p) {
    const Bytes h = p.Head();
    return h.size() >= 128 && OneOf(h[1], {0, 2, 3, 4, 5}) && h[2] == 1 && OneOf(h[3], {1, 2, 4, 8}) &&
                   h[64] == 0 && h[65] >= 1 && h[65] <= 4 && Le(h, 4, 2) <= Le(h, 8, 2)
               ? &kPcx : nullptr;
}

const Format* Psd(Probe& p) {
    const Bytes h = p.Head();
    return OneOf(Be(h, 4, 2), {1, 2}) && Has(h, 6, "\0\0\0\0\0\0"sv) ? &kPsd : nullptr;
}

// RIFF: the form type names the format; the first chunk after it must be a real one.
const Format* Riff(Probe& p) {
    static constexpr std::pair<std::uint32_t, const Format*> kForms[] = {
        {Code("WAVE"), &kWav}, {Code("AVI "), &kAvi}, {Code("ACON"), &kAni}, {Code("RMID"), &kRmi}, {Code("CDXA"), &kVcd},
    };
    const Bytes h = p.Head();
    const std::uint32_t size = Le(h, 4, 4), chunk = Le(h, 16, 4), form = Be(h, 8, 4);
    if (!IsCode(h, 12) || !Plausible(chunk) || chunk > size) return nullptr;
    if (form == Code("WEBP")) return Has(h, 12, "VP8") ? &kWebp : nullptr;
    if ((form | 0x20202000) >> 8 == Code("cdr ") >> 8) return &kCdr;  // "CDR9", "cdr8" and the like
    return Named(form, kForms);
}

// IFF, the big-endian forerunner of RIFF.
const Format* Iff(Probe& p) {
    static constexpr std::pair<std::uint32_t, const Format*> kForms[] = {
        {Code("AIFF"), &kAiff}, {Code("AIFC"), &kAiff}, {Code("8SVX"), &kSvx},
    };
    const Bytes h = p.Head();
    if (!IsCode(h, 8) || !IsCode(h, 12) || !Plausible(Be(h, 16, 4))) return nullptr;
    const Format* form = Named(Be(h, 8, 4), kForms);
    return form ? form : &kIff;
}

const Format* Au(Probe& p) {
    const Bytes h = p.Head();
    return Be(h, 4, 4) >= 24 && Be(h, 4, 4) < 0x10000 && Be(h, 12, 4) >= 1 && Be(h, 12, 4) <= 27 &&
                   Be(h, 20, 4) >= 1 && Be(h, 20, 4) <= 16
               ? &kAu : nullptr;
}

const Format* Voc(Probe& p) {
    const Bytes h = p.Head();
    return Le(h, 20, 2) == 0x1A && Le(h, 24, 2) == ((~Le(h, 22, 2) + 0x1234) & 0xFFFF) ? &kVoc : nullptr;
}

const Format* Midi(Probe& p) {
    const Bytes h = p.Head();
    return Be(h, 8, 2) <= 2 && Be(h, 10, 2) >= 1 ? &kMidi : nullptr;
}

// The length of an MPEG audio frame of layer III that starts at `at`; 0 where none does.
std::uint32_t Mp3Frame(Bytes b, std::size_t at) {
    if (at + 4 > b.size() || b[at] != 0xFF || (b[at + 1] & 0xE6) != 0xE2) return 0;
    const int version = b[at + 1] >> 3 & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int rateIndex = b[at + 2] >> 4, sampleIndex = b[at + 2] >> 2 & 3;
    if (version == 1 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3) return 0;
    static constexpr std::uint16_t kRates[2][15] = {
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}};
    static constexpr std::uint16_t kSamples[3] = {44100, 48000, 32000};
    const bool one = version == 3;
    const std::uint32_t samples = kSamples[sampleIndex] >> (one ? 0 : version == 2 ? 1 : 2);
    return (one ? 144000u : 72000u) * kRates[one][rateIndex] / samples + (b[at + 2] >> 1 & 1);
}

// Two frames in a row: one could be chance.
const Format* Mp3(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t first = Mp3Frame(h, 0);
    return first && Mp3Frame(h, first) ? &kMp3 : nullptr;
}

// An ID3v2 tag, and after it the sound it tags.
const Format* Id3(Probe& p) {
    const Bytes h = p.Head();
    if (h.size() < 10 || !OneOf(h[3], {2, 3, 4}) || h[4] == 0xFF ||
        !std::all_of(h.begin() + 6, h.begin() + 10, [](std::uint8_t c) { return c < 0x80; }))
        return nullptr;
    const std::uint64_t after = 10 + (std::uint64_t{h[6]} << 21 | h[7] << 14 | h[8] << 7 | h[9]) +
                                (h[5] & 0x10 ? 10 : 0);
    const Bytes sound = p.At(after, 4);
    if (Has(sound, 0, "fLaC")) return &kFlac;
    return sound.size() < 4 || (sound[0] == 0xFF && (sound[1] & 0xE6) == 0xE2) ? &kMp3 : nullptr;
}

const Format* Flac(Probe& p) {
    const Bytes h = p.Head();
    return (Le(h, 4, 1) & 0x7F) == 0 && Be(h, 5, 3) == 34 ? &kFlac : nullptr;
}

// Ogg: the first page begins a stream, and its first packet names the codec.
const Format* Ogg(Probe& p) {
    const Bytes h = p.Head();
    if (h.size() < 28 || !(h[5] & 0x02)) return nullptr;
    const std::size_t packet = 27u + h[26];
    if (Has(h, packet, "OpusHead")) return &kOpus;
    if (Has(h, packet, "\x80theora")) return &kOgv;
    return &kOgg;
}

const Format* Mpeg(Probe& p) {
    const Bytes h = p.Head();
    const std::uint8_t next = h.size() > 4 ? h[4] : 0;
    if (h[3] == 0xBA) return (next & 0xF1) == 0x21 || (next & 0xC4) == 0x44 ? &kMpeg : nullptr;
    return Be(h, 4, 3) >> 12 && (Be(h, 4, 3) & 0xFFF) ? &kMpeg : nullptr;
}

// ISO base media files (MP4, QuickTime, HEIF and their kin): the brands of the first box, its
// major one first.
const Format* Brands(Probe& p) {
    static constexpr std::pair<std::uint32_t, const Format*> kMajor[] = {
        {Code("qt  "), &kMov}, {Code("M4A "), &kM4a}, {Code("M4B "), &kM4a}, {Code("M4P "), &kM4a},
        {Code("3gp4"), &k3gp}, {Code("3gp5"), &k3gp}, {Code("3gp6"), &k3gp}, {Code("3g2a"), &k3gp},
    };
    // Of any brand, in this order.
    static constexpr std::pair<std::uint32_t, const Format*> kAny[] = {
        {Code("avif"), &kAvif}, {Code("avis"), &kAvif}, {Code("heic"), &kHeic}, {Code("heix"), &kHeic},
        {Code("heim"), &kHeic}, {Code("heis"), &kHeic}, {Code("hevc"), &kHeic}, {Code("mif1"), &kHeic},
        {Code("isom"), &kMp4}, {Code("iso2"), &kMp4}, {Code("iso4"), &kMp4}, {Code("iso5"), &kMp4},
        {Code("iso6"), &kMp4}, {Code("mp41"), &kMp4}, {Code("mp42"), &kMp4}, {Code("avc1"), &kMp4},
        {Code("dash"), &kMp4}, {Code("M4V "), &kMp4},
    };
    const Bytes h = p.Head();
    const std::uint32_t size = Be(h, 0, 4);
    if (size < 16 || size > 4096 || size > h.size()) return nullptr;
    if (const Format* major = Named(Be(h, 8, 4), kMajor)) return major;
    for (const auto& [brand, format] : kAny)
        for (std::size_t at = 8; at + 4 <= size; at += at == 8 ? 8 : 4)  // past the minor version
            if (Be(h, at, 4) == brand) return format;
    return nullptr;
}

// A QuickTime movie from before the brands: its first atom, and the one after it.
const Format* Atoms(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t size = Be(h, 0, 4);
    if (size < 8 || size > p.Size() || (Has(h, 4, "wide") && size != 8)) return nullptr;
    const Bytes next = p.At(size, 8);
    return size == p.Size() || (next.size() == 8 && IsCode(next, 4)) ? &kMov : nullptr;
}

// EBML, Matroska's container: the header's DocType names the format.
std::uint64_t Vint(Bytes b, std::size_t& at, bool keepMarker) {
    if (at >= b.size() || b[at] == 0) return at = b.size(), 0;
    int length = 1;
    while (!(b[at] & (0x80 >> (length - 1)))) ++length;
    std::uint64_t value = keepMarker ? b[at] : b[at] & (0xFF >> length);
    for (int i = 1; i < length; ++i) value = value << 8 | (at + i < b.size() ? b[at + i] : 0);
    at += length;
    return value;
}
const Format* Matroska(Probe& p) {
    const Bytes h = p.Head();
    std::size_t at = 4;
    const std::size_t end = std::min<std::size_t>(at + Vint(h, at, false), h.size());
    while (at < end) {
        const std::uint64_t id = Vint(h, at, true), length = Vint(h, at, false);
        if (id == 0x4282 && at + length <= end) {
            const std::string_view type(reinterpret_cast<const char*>(h.data()) + at, length);
            return type == "webm" ? &kWebm : type == "matroska" ? &kMkv : nullptr;
        }
        at += length;
    }
    return nullptr;
}

const Format* RealAudio(Probe& p) { return OneOf(Be(p.Head(), 4, 2), {3, 4, 5}) ? &kRa : nullptr; }

const Format* Flv(Probe& p) {
    const Bytes h = p.Head();
    return (Le(h, 4, 1) & 0xFA) == 0 && Be(h, 5, 4) == 9 ? &kFlv : nullptr;
}

const Format* Swf(Probe& p) {
    const Bytes h = p.Head();
    return h.size() >= 8 && h[3] >= 1 && h[3] < 64 && Le(h, 4, 4) >= 8 && Plausible(Le(h, 4, 4)) ? &kSwf : nullptr;
}

const Format* RealMedia(Probe& p) {
    const Bytes h = p.Head();
    return Be(h, 4, 4) >= 16 && Plausible(Be(h, 4, 4)) && Be(h, 8, 2) <= 1 ? &kRm : nullptr;
}

// A PDF names itself on its first line, and its objects follow.
const Format* Pdf(Probe& p) {
    const Bytes h = p.Head();
    if (h.size() < 8 || h[5] < '1' || h[5] > '9' || h[6] != '.') return nullptr;
    const std::string_view text(reinterpret_cast<const char*>(h.data()), std::min<std::size_t>(h.size(), 4096));
    return text.find(" obj") != std::string_view::npos ? &kPdf : nullptr;
}

const Format* EpsWithPreview(Probe& p) {
    const std::uint32_t text = Le(p.Head(), 4, 4);
    return text >= 30 && Plausible(text) ? &kEps : nullptr;
}

const Format* Dwg(Probe& p) {
    const Bytes h = p.Head();
    return h.size() > 6 && h[4] >= '0' && h[4] <= '9' && h[5] >= '0' && h[5] <= '9' && h[6] == 0 ? &kDwg : nullptr;
}

const Format* Emf(Probe& p) { return Le(p.Head(), 0, 4) == 1 && Le(p.Head(), 4, 4) >= 88 ? &kEmf : nullptr; }

const Format* Wmf(Probe& p) { return OneOf(Le(p.Head(), 4, 2), {0x100, 0x300}) ? &kWmf : nullptr; }

// Compound files (the Office formats before 2007, Windows Installer, Outlook): the root entry's
// class, else the names of the streams in the first sectors of the directory.
const Format* Compound(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t shift = Le(h, 30, 2);
    if (Le(h, 28, 2) != 0xFFFE || (shift != 9 && shift != 12)) return nullptr;
    const std::size_t sector = std::size_t{1} << shift, perSector = sector / 4;
    auto at = [&](std::uint32_t s) { return (std::uint64_t{s} + 1) << shift; };
    // The sector after `s` in its chain, from the FAT sectors that the header lists.
    auto next = [&](std::uint32_t s) -> std::uint32_t {
        const std::size_t index = s / perSector;
        const std::uint32_t fat = index < 109 ? Le(h, 76 + 4 * index, 4) : 0xFFFFFFFF;
        return fat >= 0xFFFFFFFA ? 0xFFFFFFFE : Le(p.At(at(fat), sector), 4 * (s % perSector), 4);
    };
    static constexpr std::pair<std::string_view, const Format*> kClasses[] = {
        {"\x06\x09\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"sv, &kDoc},
        {"\x20\x08\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"sv, &kXls},
        {"\x10\x08\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"sv, &kXls},
        {"\x10\x8D\x81\x64\x9B\x4F\xCF\x11\x86\xEA\0\xAA\0\xB9\x29\xE8"sv, &kPpt},
        {"\x84\x10\x0C\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"sv, &kMsi},
        {"\x0B\x0D\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46"sv, &kMsg},
    };
    // A name that ends in "_" is a prefix of the streams' names.
    static constexpr std::pair<std::u16string_view, const Format*> kStreams[] = {
        {u"WordDocument", &kDoc}, {u"Workbook", &kXls}, {u"Book", &kXls},
        {u"PowerPoint Document", &kPpt}, {u"VisioDocument", &kVsd}, {u"__substg1.0_", &kMsg},
    };
    std::uint32_t s = Le(h, 48, 4);
    for (int sectors = 0; sectors < 8 && s < 0xFFFFFFFA; ++sectors, s = next(s)) {
        const std::vector<std::uint8_t> entries = Copy(p.At(at(s), sector));
        for (std::size_t e = 0; e + 128 <= entries.size(); e += 128) {
            const Bytes entry = Bytes(entries).subspan(e, 128);
            if (entry[66] == 5)
                for (const auto& [clsid, format] : kClasses)
                    if (Has(entry, 80, clsid)) return format;
            std::u16string name;
            for (std::size_t i = 0; i + 2 < std::min<std::uint32_t>(Le(entry, 64, 2), 64); i += 2)
                name += static_cast<char16_t>(Le(entry, i, 2));
            for (const auto& [stream, format] : kStreams)
                if (stream.back() == u'_' ? name.starts_with(stream) : name == stream) return format;
        }
    }
    return nullptr;
}

// ZIP: its central directory, at the end, tells what the archive holds.
const Format* Zip(Probe& p) {
    // The end record lies within the last 64 KiB, as its comment may be that long.
    const std::uint64_t size = p.Size(), tail = std::min<std::uint64_t>(size, 0xFFFF + 22);
    const std::vector<std::uint8_t> end = Copy(p.At(size - tail, static_cast<std::size_t>(tail)));
    std::size_t record = end.size() >= 22 ? end.size() - 22 : 0;
    while (record > 0 && !(Has(end, record, "PK\x05\x06") && record + 22 + Le(end, record + 20, 2) <= end.size()))
        --record;
    if (!Has(end, record, "PK\x05\x06")) {
        // No end: a download cut short. A sound first entry still makes it a ZIP.
        const Bytes h = p.Head();
        return Has(h, 0, "PK\x03\x04") && (Le(h, 4, 2) & 0xFF) <= 63 && Le(h, 26, 2) >= 1 && Le(h, 26, 2) <= 1024
                   ? &kZip : nullptr;
    }
    std::uint64_t where = size - tail + record;  // where the directory ends
    std::uint64_t length = Le(end, record + 12, 4), recorded = Le(end, record + 16, 4);
    if ((recorded == 0xFFFFFFFF || length == 0xFFFFFFFF) && record >= 20 && Has(end, record - 20, "PK\x06\x07")) {
        // ZIP64: the locator before the end record points to the larger one.
        where = Le64(end, record - 12);
        const Bytes zip64 = p.At(where, 56);
        if (!Has(zip64, 0, "PK\x06\x06")) return &kZip;
        length = Le64(zip64, 40);
        recorded = Le64(zip64, 48);
    }
    // Data before the archive (a self-extractor's) moves every offset by as much.
    const std::uint64_t start = length <= where && where - length >= recorded ? where - length : recorded;
    const std::uint64_t shift = start - recorded;
    const std::vector<std::uint8_t> directory =
        Copy(p.At(recorded + shift, static_cast<std::size_t>(std::min<std::uint64_t>(length, 256 * 1024))));
    // The members that tell a kind of archive; a name ending in "/" stands for a folder's members.
    enum : unsigned { Types = 1, Word = 2, Excel = 4, Slides = 8, Android = 16, Dex = 32, Manifest = 64, Container = 128 };
    static constexpr std::pair<std::string_view, unsigned> kParts[] = {
        {"[Content_Types].xml", Types}, {"word/", Word}, {"xl/", Excel}, {"ppt/", Slides},
        {"AndroidManifest.xml", Android}, {"classes.dex", Dex}, {"META-INF/MANIFEST.MF", Manifest},
        {"META-INF/container.xml", Container},
    };
    unsigned parts = 0;
    std::uint64_t mimetype = 0;  // where a stored "mimetype" begins, plus one; 0: none
    for (std::size_t at = 0; Has(directory, at, "PK\x01\x02") && at + 46 <= directory.size();) {
        const std::size_t nameLength = Le(directory, at + 28, 2);
        const std::string_view name(reinterpret_cast<const char*>(directory.data()) + at + 46,
                                    std::min(nameLength, directory.size() - at - 46));
        for (const auto& [part, bit] : kParts)
            if (part.ends_with('/') ? name.starts_with(part) : name == part) parts |= bit;
        if (name == "mimetype" && Le(directory, at + 10, 2) == 0) mimetype = Le(directory, at + 42, 4) + shift + 1;
        at += 46 + nameLength + Le(directory, at + 30, 2) + Le(directory, at + 32, 2);
    }
    if (parts & Types) {
        if (parts & Word) return &kDocx;
        if (parts & Excel) return &kXlsx;
        if (parts & Slides) return &kPptx;
    }
    if (mimetype) {  // OpenDocument and EPUB say what they are in it, stored as it is
        const std::vector<std::uint8_t> local = Copy(p.At(mimetype - 1, 30));
        const Bytes value = p.At(mimetype - 1 + 30 + Le(local, 26, 2) + Le(local, 28, 2), 50);
        const std::string_view type(reinterpret_cast<const char*>(value.data()), value.size());
        if (Has(local, 0, "PK\x03\x04")) {
            if (type.starts_with("application/epub+zip")) return &kEpub;
            if (type.starts_with("application/vnd.oasis.opendocument.text")) return &kOdt;
            if (type.starts_with("application/vnd.oasis.opendocument.spreadsheet")) return &kOds;
            if (type.starts_with("application/vnd.oasis.opendocument.presentation")) return &kOdp;
        }
    }
    if (parts & Container) return &kEpub;
    if ((parts & (Android | Dex)) == (Android | Dex)) return &kApk;
    return parts & Manifest ? &kJar : &kZip;
}

const Format* Sit(Probe& p) {
    const Bytes h = p.Head();
    return Has(h, 0, "SIT!") ? (Has(h, 10, "rLau") && Plausible(Be(h, 6, 4)) ? &kSit : nullptr)
                             : (NotText(p) ? &kSit : nullptr);
}

const Format* Cab(Probe& p) { return Le(p.Head(), 24, 2) == 0x0103 ? &kCab : nullptr; }

const Format* Ace(Probe& p) { return Le(p.Head(), 4, 1) == 0 ? &kAce : nullptr; }

const Format* Arj(Probe& p) {
    const Bytes h = p.Head();
    return Le(h, 2, 2) >= 1 && Le(h, 2, 2) <= 2600 && Le(h, 4, 1) >= 0x1E && Le(h, 10, 1) == 2 ? &kArj : nullptr;
}

const Format* Lzh(Probe& p) {
    const Bytes h = p.Head();
    return h.size() > 20 && h[0] >= 21 && OneOf(h[4], {'h', 'z'}) && h[6] == '-' && h[20] <= 3 ? &kLzh : nullptr;
}

const Format* Gzip(Probe& p) { return (Le(p.Head(), 3, 1) & 0xE0) == 0 ? &kGzip : nullptr; }

const Format* Compress(Probe& p) {
    const std::uint32_t flags = Le(p.Head(), 2, 1);
    return (flags & 0x60) == 0 && (flags & 0x1F) >= 9 && (flags & 0x1F) <= 16 ? &kCompress : nullptr;
}

// Its block's mark is letters ("1AY&SY"): what follows must be no text.
const Format* Bzip2(Probe& p) {
    const Bytes h = p.Head();
    return h.size() > 10 && h[3] >= '1' && h[3] <= '9' &&
                   (Has(h, 4, "\x31\x41\x59\x26\x53\x59") || Has(h, 4, "\x17\x72\x45\x38\x50\x90")) &&
                   NotText(p)
               ? &kBzip2 : nullptr;
}

const Format* Xz(Probe& p) { return Le(p.Head(), 6, 1) == 0 && Le(p.Head(), 7, 1) <= 0x0F ? &kXz : nullptr; }

// A tar header: its checksum, the sum of its bytes with the checksum field as blanks.
const Format* Tar(Probe& p) {
    const Bytes h = p.Head();
    if (h.size() < 512 || h[0] == 0) return nullptr;
    std::uint32_t sum = 0, recorded = 0;
    for (std::size_t i = 0; i < 512; ++i) sum += i >= 148 && i < 156 ? ' ' : h[i];
    std::size_t i = 148;
    while (i < 156 && h[i] == ' ') ++i;
    for (; i < 156 && h[i] >= '0' && h[i] <= '7'; ++i) recorded = recorded * 8 + (h[i] - '0');
    return i > 148 && (i == 156 || h[i] == 0 || h[i] == ' ') && sum == recorded ? &kTar : nullptr;
}

const Format* Ttf(Probe& p) {
    const Bytes h = p.Head();
    const std::uint32_t tables = Be(h, 4, 2);
    std::uint32_t range = 16;
    while (range * 2 <= tables * 16) range *= 2;
    if (tables == 0 || tables > 100 || Be(h, 6, 2) != range) return nullptr;
    return h[0] == 'O' ? &kOtf : &kTtf;
}

const Format* Woff(Probe& p) {
    const Bytes h = p.Head();
    if (!Has(h, 4, "\0\x01\0\0"sv) && !Has(h, 4, "OTTO") && !Has(h, 4, "true")) return nullptr;
    return h[3] == '2' ? &kWoff2 : &kWoff;
}

const Format* Ttc(Probe& p) { return OneOf(Be(p.Head(), 4, 4), {0x10000, 0x20000}) ? &kTtc : nullptr; }

const Format* Elf(Probe& p) {
    const Bytes h = p.Head();
    return h.size() > 6 && OneOf(h[4], {1, 2}) && OneOf(h[5], {1, 2}) && h[6] == 1 ? &kElf : nullptr;
}

const Format* JavaClass(Probe& p) {
    const std::uint32_t major = Be(p.Head(), 6, 2);
    return major >= 45 && major < 100 ? &kClass : nullptr;
}

// A program: a DOS header whose fields make sense, and the header of the program it carries.
const Format* Program(Probe& p) {
    const Bytes h = p.Head();
    if (h.size() < 64 || Le(h, 2, 2) >= 512 || Le(h, 4, 2) == 0 || Le(h, 8, 2) < 2) return nullptr;
    const std::uint32_t header = Le(h, 0x3C, 4);
    const Bytes pe = header >= 0x40 ? p.At(header, 24 + 72) : Bytes{};
    if (Has(pe, 0, "PE\0\0"sv)) {
        const std::uint32_t sections = Le(pe, 6, 2), traits = Le(pe, 22, 2);
        if (sections == 0 || sections > 96 || !(traits & 0x0002) || !OneOf(Le(pe, 24, 2), {0x10B, 0x20B}))
            return nullptr;
        // Native: it runs in the system's kernel, a driver whether or not it calls itself a library.
        if (Le(pe, 24 + 68, 2) == 1) return &kDriver;
        return traits & 0x2000 ? &kDll : &kExe;
    }
    if (Has(pe, 0, "NE")) return Le(pe, 0x0C, 2) & 0x8000 ? &kNeLibrary : &kNeExe;
    if (Has(pe, 0, "LE\0\0"sv) && Le(pe, 10, 2) == 4) return &kVxd;
    return Le(h, 4, 2) * 512 >= Le(h, 8, 2) * 16 ? &kDosExe : nullptr;
}

struct Rule {
    std::uint16_t offset;
    std::string_view magic;                // the bytes that stand there
    const Format* (*check)(Probe&);       // the fields after them; null: the magic is enough
    const Format* format = nullptr;        // what the magic alone tells
};

// In the order they are tried; a rule with no magic looks at the whole head.
constexpr Rule kRules[] = {
#include "content_signatures.inc"
};

bool Listed(std::u16string_view list, std::u16string_view word) {
    for (std::size_t at = 0; at <= list.size();) {
        const std::size_t end = std::min(list.find(u' ', at), list.size());
        if (list.substr(at, end - at) == word) return true;
        at = end + 1;
    }
    return false;
}

std::u16string AsciiLower(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    return lower;
}

}  // namespace

const ContentFormat* IdentifyContent(FileBytes& file) {
    Probe probe(file);
    if (probe.Head().empty()) return nullptr;
    for (const Rule& rule : kRules)
        if (Has(probe.Head(), rule.offset, rule.magic))
            if (const Format* format = rule.check ? rule.check(probe) : rule.format) return format;
    return Text(probe);
}

HandedOver WhatTheFileIs(std::u16string_view extension, const ContentFormat* content) {
    HandedOver result{std::u16string(extension.empty() && content ? content->Usual() : extension), {}};
    if (!content) return result;
    const std::u16string_view key = CatalogueSpelling(extension);
    if (content->program && !Listed(kProgramExtensions, AsciiLower(extension))) {
        result.shown = u"警告：这是";  // a program in disguise: opening it runs it
        result.shown += content->name;
        result.shown += u"，通常的后缀名是.";
        result.shown += content->Usual();
        result.shown += u"，打开就会运行，并非名字所示的文件";
    } else if (!key.empty() && Listed(content->extensions, key)) {
        return result;  // name and content agree: the catalogue says it all
    } else {
        result.shown = u"按内容看，这是";
        result.shown += content->name;
        result.shown += u"，通常的后缀名是.";
        result.shown += content->Usual();
    }
    result.shown += u"\r\n";
    result.shown += content->description.empty() ? FindDescription(content->Usual()) : content->description;
    return result;
}

}  // namespace tavrix
