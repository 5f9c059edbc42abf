#include "tests/help/pe_imports.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tavrix::test {
namespace {

constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kDelayImportDirectory = 13;

class Image {
public:
    explicit Image(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {
        if (U16(0) != 0x5A4D) Fail("no MZ header");
        const std::uint32_t pe = U32(0x3C);
        if (U32(pe) != 0x00004550) Fail("no PE signature");
        const std::uint32_t coff = pe + 4;
        sections_ = U16(coff + 2);
        const std::uint32_t optional = coff + 20;
        const std::uint16_t optionalSize = U16(coff + 16);
        const std::uint16_t magic = U16(optional);
        if (magic == 0x10B) {  // PE32
            imageBase_ = U32(optional + 28);
            directoryCount_ = U32(optional + 92);
            directories_ = optional + 96;
        } else if (magic == 0x20B) {  // PE32+
            imageBase_ = U32(optional + 24) | (static_cast<std::uint64_t>(U32(optional + 28)) << 32);
            directoryCount_ = U32(optional + 108);
            directories_ = optional + 112;
        } else {
            Fail("unknown optional header");
        }
        sectionTable_ = optional + optionalSize;
    }

    // The directory's address (RVA), or 0 when the image has none.
    std::uint32_t Directory(std::uint32_t index) const {
        return index < directoryCount_ ? U32(directories_ + index * 8) : 0;
    }

    std::uint32_t Offset(std::uint32_t rva) const {
        for (std::uint32_t i = 0; i < sections_; ++i) {
            const std::uint32_t section = sectionTable_ + i * 40;
            const std::uint32_t address = U32(section + 12);
            const std::uint32_t rawSize = U32(section + 16);
            const std::uint32_t raw = U32(section + 20);
            if (rva >= address && rva - address < rawSize) return raw + (rva - address);
        }
        Fail("address outside every section");
    }

    std::string String(std::uint32_t rva) const {
        const std::uint32_t start = Offset(rva);
        std::string text;
        for (std::uint32_t at = start; Byte(at) != 0; ++at) {
            if (at - start >= 260) Fail("DLL name too long");
            text.push_back(static_cast<char>(Byte(at)));
        }
        return text;
    }

    std::uint64_t ImageBase() const { return imageBase_; }
    std::uint32_t U32(std::uint32_t at) const {
        return U16(at) | (static_cast<std::uint32_t>(U16(at + 2)) << 16);
    }

private:
    std::uint8_t Byte(std::uint32_t at) const {
        if (at >= bytes_.size()) Fail("truncated file");
        return bytes_[at];
    }
    std::uint16_t U16(std::uint32_t at) const {
        return static_cast<std::uint16_t>(Byte(at) | (Byte(at + 1) << 8));
    }
    [[noreturn]] static void Fail(const char* why) { throw std::runtime_error(why); }

    const std::vector<std::uint8_t>& bytes_;
    std::uint32_t sections_ = 0;
    std::uint32_t sectionTable_ = 0;
    std::uint32_t directories_ = 0;
    std::uint32_t directoryCount_ = 0;
    std::uint64_t imageBase_ = 0;
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

std::vector<std::string> ImportedDlls(const std::vector<std::uint8_t>& bytes) {
    const Image image(bytes);
    std::vector<std::string> dlls;
    // Import descriptors of 20 bytes, the name's address at 12; an all-zero one ends the table.
    if (const std::uint32_t table = image.Directory(kImportDirectory)) {
        for (std::uint32_t at = image.Offset(table);; at += 20) {
            const std::uint32_t name = image.U32(at + 12);
            if (name == 0 && image.U32(at + 16) == 0) break;
            dlls.push_back(image.String(name));
        }
    }
    // Delay-load descriptors of 32 bytes, the name at 4: an address relative to the image when
    // bit 0 of the attributes is set, else an absolute one.
    if (const std::uint32_t table = image.Directory(kDelayImportDirectory)) {
        for (std::uint32_t at = image.Offset(table);; at += 32) {
            const std::uint32_t name = image.U32(at + 4);
            if (name == 0) break;
            const bool relative = image.U32(at) & 1;
            dlls.push_back(image.String(
                relative ? name : static_cast<std::uint32_t>(name - image.ImageBase())));
        }
    }
    return dlls;
}

bool ShipsWithWindows(std::string_view dll) {
    static const char* const kSystemDlls[] = {
        "kernel32.dll", "user32.dll",  "gdi32.dll",    "comctl32.dll", "comdlg32.dll",
        "shell32.dll",  "shlwapi.dll", "ole32.dll",    "oleaut32.dll", "oleacc.dll",
        "advapi32.dll", "msvcrt.dll",  "version.dll",  "uxtheme.dll",  "imm32.dll",
        "winmm.dll",    "msimg32.dll", "ws2_32.dll",   "rpcrt4.dll",   "ntdll.dll",
    };
    const std::string name = Lower(dll);
    return std::find(std::begin(kSystemDlls), std::end(kSystemDlls), name) != std::end(kSystemDlls);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

}  // namespace tavrix::test
