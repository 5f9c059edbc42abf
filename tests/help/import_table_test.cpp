// Each shipped program file loads only DLLs that every Windows has: no libstdc++, libgcc or
// winpthread DLL, nothing of a compiler's runtime beside msvcrt. Runs natively over the i686
// programs and under Wine over the test build's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/help/pe_imports.h"

namespace tavrix::test {
namespace {

// A minimal PE32 image with one section that holds an import table naming `first` and `second`.
std::vector<std::uint8_t> ImageImporting(const char* first, const char* second) {
    std::vector<std::uint8_t> image(0x400, 0);
    auto put16 = [&](std::size_t at, std::uint16_t value) {
        image[at] = static_cast<std::uint8_t>(value);
        image[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        put16(at, static_cast<std::uint16_t>(value));
        put16(at + 2, static_cast<std::uint16_t>(value >> 16));
    };
    put16(0, 0x5A4D);
    put32(0x3C, 0x40);
    put32(0x40, 0x00004550);
    put16(0x44, 0x014C);            // i386
    put16(0x46, 1);                 // one section
    put16(0x54, 0xE0);              // optional header size
    put16(0x58, 0x10B);             // PE32
    put32(0x58 + 28, 0x400000);     // image base
    put32(0x58 + 92, 16);           // data directories
    put32(0x58 + 96 + 8, 0x1000);   // the import table
    put32(0x58 + 96 + 12, 60);
    const std::size_t section = 0x58 + 0xE0;
    std::memcpy(&image[section], ".idata", 6);
    put32(section + 8, 0x200);
    put32(section + 12, 0x1000);
    put32(section + 16, 0x200);
    put32(section + 20, 0x200);
    put32(0x200 + 12, 0x1080);      // descriptor 1: name, thunks
    put32(0x200 + 16, 0x1100);
    put32(0x214 + 12, 0x1090);      // descriptor 2
    put32(0x214 + 16, 0x1108);
    std::strcpy(reinterpret_cast<char*>(&image[0x280]), first);
    std::strcpy(reinterpret_cast<char*>(&image[0x290]), second);
    return image;
}

TEST(ImportTableReader, FindsEveryDllAndTellsTheSystemOnesApart) {
    const auto dlls = ImportedDlls(ImageImporting("KERNEL32.dll", "libstdc++-6.dll"));
    ASSERT_EQ(dlls, (std::vector<std::string>{"KERNEL32.dll", "libstdc++-6.dll"}));
    EXPECT_TRUE(ShipsWithWindows(dlls[0]));
    EXPECT_FALSE(ShipsWithWindows(dlls[1]));
    for (const char* dll : {"libgcc_s_dw2-1.dll", "libwinpthread-1.dll", "msvcp140.dll",
                            "vcruntime140.dll", "api-ms-win-crt-runtime-l1-1-0.dll", "Command.ocx"})
        EXPECT_FALSE(ShipsWithWindows(dll)) << dll;
}

TEST(ImportTableReader, RejectsWhatIsNotAProgramFile) {
    auto image = ImageImporting("KERNEL32.dll", "USER32.dll");
    EXPECT_THROW(ImportedDlls(std::vector<std::uint8_t>(image.begin(), image.begin() + 0x150)),
                 std::runtime_error);
    image[0] = 'X';
    EXPECT_THROW(ImportedDlls(image), std::runtime_error);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct ProgramFile {
    std::string path;
    bool shipped;  // from the i686 build: absent when that build is not at hand
};

std::vector<ProgramFile> ProgramFiles() {
    std::vector<ProgramFile> files;
    const std::string shipped = TAVRIX_SHIPPED_DIR;
    for (const char* name : {"Tavrix.exe", "TavrixHelp.exe"})
        files.push_back({shipped.empty() ? std::string() : shipped + "/" + name, true});
#ifdef TAVRIX_EXE  // the Windows test build checks its own programs too
    files.push_back({TAVRIX_EXE, false});
    files.push_back({TAVRIX_HELP_EXE, false});
#endif
    return files;
}

void PrintTo(const ProgramFile& file, std::ostream* out) { *out << file.path; }

class ProgramImports : public testing::TestWithParam<ProgramFile> {};

TEST_P(ProgramImports, OnlyDllsThatShipWithWindows) {
    const ProgramFile& file = GetParam();
    const auto bytes = file.path.empty() ? std::vector<std::uint8_t>() : ReadFileBytes(file.path);
    if (bytes.empty() && file.shipped)
        GTEST_SKIP() << "no i686 program file at '" << file.path << "' (TAVRIX_SHIPPED_DIR)";
    ASSERT_FALSE(bytes.empty()) << "cannot read " << file.path;

    const auto dlls = ImportedDlls(bytes);
    for (const std::string& dll : dlls)
        EXPECT_TRUE(ShipsWithWindows(dll)) << file.path << " imports " << dll;
    const bool kernel = std::any_of(dlls.begin(), dlls.end(), [](const std::string& dll) {
        return Lower(dll) == "kernel32.dll";
    });
    EXPECT_TRUE(kernel) << file.path << ": no kernel32.dll among the imports; the table was misread";
}

INSTANTIATE_TEST_SUITE_P(ProgramFiles, ProgramImports, testing::ValuesIn(ProgramFiles()),
                         [](const testing::TestParamInfo<ProgramFile>& info) {
                             // "shipped_Tavrix", "built_TavrixHelp", ...
                             const std::string& path = info.param.path;
                             std::string name = path.substr(path.find_last_of("/\\") + 1);
                             name = name.substr(0, name.find('.'));
                             if (name.empty()) name = std::to_string(info.index);
                             return (info.param.shipped ? "shipped_" : "built_") + name;
                         });

}  // namespace
}  // namespace tavrix::test
