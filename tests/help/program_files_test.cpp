// What each program file tells Windows about itself, read back as Explorer and the loader read it:
// version information, the nine-image icon, the application manifest and the DLLs it loads. Both
// the test build's programs and, when the i686 build is at hand, the shipped ones.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "help/resource.h"
#include "main-window/resource.h"
#include "tests/support/gui_test.h"

namespace tavrix {
namespace {

using test::Narrow;

struct Program {
    const char* label;
    std::wstring path;
    bool shipped;  // from the i686 build: absent when that build is not at hand
    WORD version[4];
    const wchar_t* versionText;
    const wchar_t* description;
    const wchar_t* fileName;
    int icon;                  // the icon group that the program's window class uses
    const char* iconSource;    // the artwork that group was made from
};

std::vector<Program> Programs() {
    const Program tavrix{"Tavrix", test::Widen(TAVRIX_EXE), false, {2, 14, 0, 4}, L"2.14.0004",
                         L"一款查询后缀名的软件", L"Tavrix.exe", IDI_TAVRIX,
                         TAVRIX_SOURCE_DIR "/main-window/art/tavrix.ico"};
    const Program help{"TavrixHelp", test::Widen(TAVRIX_HELP_EXE), false, {1, 0, 0, 0}, L"1.00",
                       L"帮助程序", L"TavrixHelp.exe", IDI_TAVRIX_HELP,
                       TAVRIX_SOURCE_DIR "/help/art/help.ico"};
    std::vector<Program> programs = {tavrix, help, tavrix, help};
    const std::wstring shipped = test::Widen(TAVRIX_SHIPPED_DIR);
    for (std::size_t i = 2; i < programs.size(); ++i) {
        programs[i].shipped = true;
        programs[i].path = shipped.empty() ? std::wstring() : shipped + L"/" + programs[i].fileName;
    }
    return programs;
}

void PrintTo(const Program& program, std::ostream* out) { *out << Narrow(program.path); }

// The program file's resources, without running it.
class Resources {
public:
    explicit Resources(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~Resources() {
        if (module_) FreeLibrary(module_);
    }
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    HMODULE Module() const { return module_; }

    std::string Bytes(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        return bytes ? std::string(bytes, SizeofResource(module_, found)) : std::string();
    }

    // The DLLs the program loads at start or on first use: its import and delay-import tables.
    std::vector<std::string> ImportedDlls() const {
        // Mapped as an image (the handle's low bits mark it a resource module): addresses are offsets.
        const ULONG_PTR address = reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3};
        const auto* base = reinterpret_cast<const BYTE*>(address);
        const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const auto* headers64 = reinterpret_cast<const IMAGE_NT_HEADERS64*>(headers);
        // The shipped programs are 32-bit, the test build's may be 64-bit.
        const bool pe32 = headers->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC;
        const IMAGE_DATA_DIRECTORY* directories = pe32 ? headers->OptionalHeader.DataDirectory
                                                       : headers64->OptionalHeader.DataDirectory;
        const ULONGLONG imageBase =
            pe32 ? headers->OptionalHeader.ImageBase : headers64->OptionalHeader.ImageBase;
        std::vector<std::string> dlls;
        using Import = IMAGE_IMPORT_DESCRIPTOR;
        if (const DWORD table = directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress) {
            for (auto* entry = reinterpret_cast<const Import*>(base + table); entry->Name; ++entry)
                dlls.emplace_back(reinterpret_cast<const char*>(base + entry->Name));
        }
        using DelayImport = IMAGE_DELAYLOAD_DESCRIPTOR;
        if (const DWORD table = directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress) {
            for (auto* entry = reinterpret_cast<const DelayImport*>(base + table); entry->DllNameRVA;
                 ++entry) {
                // Relative to the image when the attributes say so, else an absolute address.
                const ULONGLONG name = entry->Attributes.RvaBased ? entry->DllNameRVA
                                                                  : entry->DllNameRVA - imageBase;
                dlls.emplace_back(reinterpret_cast<const char*>(base + name));
            }
        }
        return dlls;
    }

    // The names of the icon groups in the order Explorer looks at them: the first is the file's.
    std::vector<ULONG_PTR> IconGroups() const {
        std::vector<ULONG_PTR> groups;
        EnumResourceNamesW(module_, RT_GROUP_ICON, &Resources::CollectName,
                           reinterpret_cast<LONG_PTR>(&groups));
        return groups;
    }

private:
    static BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR groups) {
        reinterpret_cast<std::vector<ULONG_PTR>*>(groups)->push_back(reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
    }
    HMODULE module_;
};

class ProgramFile : public testing::TestWithParam<Program> {
protected:
    void SetUp() override {
        const Program& program = GetParam();
        const bool present = !program.path.empty() &&
                             GetFileAttributesW(program.path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!present && program.shipped)
            GTEST_SKIP() << "no i686 program file (TAVRIX_SHIPPED_DIR)";
        ASSERT_TRUE(present) << "missing " << Narrow(program.path);
    }
};

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || !value) return L"<none>";
    // Exactly the text: no stray characters before the terminator Explorer stops at.
    std::wstring text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

TEST_P(ProgramFile, VersionInformationReadsBackAsExplorerShowsIt) {
    const Program& program = GetParam();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version information";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(program.version[1], program.version[0]);
    const DWORD low = MAKELONG(program.version[3], program.version[2]);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug or pre-release flag";

    // One language: Chinese (Simplified, PRC), Unicode.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);

    EXPECT_EQ(VersionString(info, L"FileDescription"), program.description);
    EXPECT_EQ(VersionString(info, L"FileVersion"), program.versionText);
    EXPECT_EQ(VersionString(info, L"ProductVersion"), program.versionText);
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), program.fileName);
    EXPECT_EQ(VersionString(info, L"LegalCopyright"), L"\u00A9 2004-2006 Orvane工作室");
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "the group icon entry as stored");

struct IconImage {
    int size, bits;
    std::string bytes;
    bool operator<(const IconImage& other) const {
        return std::pair(size, bits) < std::pair(other.size, other.bits);
    }
};

// The images of the program file's own icon, read from its icon group and icon resources.
std::vector<IconImage> ProgramIcon(const Resources& resources, int group) {
    const std::string directory = resources.Bytes(MAKEINTRESOURCEW(group), RT_GROUP_ICON);
    std::vector<IconImage> images;
    if (directory.size() < 6) return images;
    WORD header[3];
    std::memcpy(header, directory.data(), sizeof(header));
    EXPECT_EQ(header[1], 1) << "an icon, not a cursor";
    for (WORD i = 0; i < header[2] && 6 + (i + 1) * sizeof(GroupIconEntry) <= directory.size(); ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, directory.data() + 6 + i * sizeof(GroupIconEntry), sizeof(entry));
        IconImage image{entry.width ? entry.width : 256, entry.bitCount,
                        resources.Bytes(MAKEINTRESOURCEW(entry.id), RT_ICON)};
        // The images themselves are the artwork's (checked by tests/art), byte for byte.
        EXPECT_EQ(image.bytes.size(), entry.bytes) << "image " << i;
        EXPECT_EQ(entry.height, entry.width) << "image " << i;
        images.push_back(std::move(image));
    }
    std::sort(images.begin(), images.end());
    return images;
}

// The images of an .ico file, the artwork the program was built from.
std::vector<IconImage> IconFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<IconImage> images;
    if (bytes.size() < 6) return images;
    WORD header[3];
    std::memcpy(header, bytes.data(), sizeof(header));
    for (WORD i = 0; i < header[2]; ++i) {
        const char* entry = bytes.data() + 6 + i * 16;
        DWORD size = 0, offset = 0;
        WORD bits = 0;
        std::memcpy(&bits, entry + 6, 2);
        std::memcpy(&size, entry + 8, 4);
        std::memcpy(&offset, entry + 12, 4);
        const int width = static_cast<BYTE>(entry[0]) ? static_cast<BYTE>(entry[0]) : 256;
        images.push_back({width, bits, bytes.substr(offset, size)});
    }
    std::sort(images.begin(), images.end());
    return images;
}

const std::vector<std::pair<int, int>> kIconImages = {
    {16, 8}, {16, 32}, {24, 32}, {32, 8}, {32, 32}, {48, 8}, {48, 32}, {64, 32}, {72, 32}};

TEST_P(ProgramFile, CarriesItsNineImageIconFirstAndAsItsWindowHasIt) {
    const Program& program = GetParam();
    Resources resources(program.path);
    ASSERT_NE(resources.Module(), nullptr);
    const auto groups = resources.IconGroups();
    ASSERT_FALSE(groups.empty()) << "no icon";
    EXPECT_EQ(groups.front(), static_cast<ULONG_PTR>(program.icon))
        << "Explorer shows the first icon group: it must be the window's";

    const auto images = ProgramIcon(resources, program.icon);
    std::vector<std::pair<int, int>> sizes;
    for (const IconImage& image : images) sizes.emplace_back(image.size, image.bits);
    EXPECT_EQ(sizes, kIconImages);

    const auto artwork = IconFile(program.iconSource);
    ASSERT_EQ(artwork.size(), images.size());
    for (size_t i = 0; i < images.size(); ++i)
        EXPECT_TRUE(images[i].bytes == artwork[i].bytes)
            << images[i].size << " x " << images[i].size << " at " << images[i].bits << " bits";
}

TEST_P(ProgramFile, ManifestAsksForCommonControlsSixSupportedWindowsAndDpiAwareness) {
    const Program& program = GetParam();
    std::string manifest;
    {
        Resources resources(program.path);
        ASSERT_NE(resources.Module(), nullptr);
        manifest = resources.Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
    }
    ASSERT_FALSE(manifest.empty()) << "no application manifest";
    const auto has = [&](const char* text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(has("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") ||
                (has("\"Microsoft.Windows.Common-Controls\"") && has("version=\"6.0.0.0\"")));
    EXPECT_TRUE(has("publicKeyToken=\"6595b64144ccf1df\""));
    EXPECT_TRUE(has(">true</dpiAware>"));
    EXPECT_TRUE(has("<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>")) << "Windows 7";
    EXPECT_TRUE(has("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>")) << "Windows 10";
    EXPECT_TRUE(has("level=\"asInvoker\""));

    // The loader accepts it: a manifest it cannot read stops the program before it starts.
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = program.path.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
}

// Every supported Windows installs these: no libstdc++, libgcc or winpthread DLL, nothing of a
// compiler's runtime beside msvcrt.
const char* const kSystemDlls[] = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",    "comctl32.dll", "comdlg32.dll",
    "shell32.dll",  "shlwapi.dll", "ole32.dll",    "oleaut32.dll", "oleacc.dll",
    "advapi32.dll", "msvcrt.dll",  "version.dll",  "uxtheme.dll",  "imm32.dll",
    "winmm.dll",    "msimg32.dll", "ws2_32.dll",   "rpcrt4.dll",   "ntdll.dll",
};

TEST_P(ProgramFile, LoadsOnlyDllsThatShipWithWindows) {
    Resources resources(GetParam().path);
    ASSERT_NE(resources.Module(), nullptr);
    const auto dlls = resources.ImportedDlls();
    const auto system = [](const std::string& dll) {
        return std::any_of(std::begin(kSystemDlls), std::end(kSystemDlls),
                           [&](const char* name) { return _stricmp(name, dll.c_str()) == 0; });
    };
    for (const std::string& dll : dlls) EXPECT_TRUE(system(dll)) << "imports " << dll;
    EXPECT_TRUE(std::any_of(dlls.begin(), dlls.end(), [](const std::string& dll) {
        return _stricmp(dll.c_str(), "kernel32.dll") == 0;
    })) << "no kernel32.dll among the imports: the table was misread";
}

INSTANTIATE_TEST_SUITE_P(Both, ProgramFile, testing::ValuesIn(Programs()),
                         [](const testing::TestParamInfo<Program>& info) {
                             return std::string(info.param.shipped ? "shipped_" : "built_") +
                                    info.param.label;
                         });

}  // namespace
}  // namespace tavrix
