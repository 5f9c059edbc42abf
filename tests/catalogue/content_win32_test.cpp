// What a handed-over file holds, read from real files in a temporary folder as the window reads
// them: what is not read at all, what is shared with other programs meanwhile, how far is read,
// and that the file stays as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "catalogue/content.h"
#include "win/local_file.h"

namespace tavrix {
namespace {

using namespace std::string_literals;
using Kind = win::LocalFile::Kind;

struct Counted final : FileBytes {
    const win::LocalFile& file;
    std::size_t read = 0;
    explicit Counted(const win::LocalFile& file) : file(file) {}
    std::uint64_t Size() const override { return file.Size(); }
    std::size_t Read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        const std::size_t count = file.Read(offset, into);
        return read += count, count;
    }
};

// Writes `bytes` at `offset`, making the file as long as that needs (sparse where it can be).
void Write(const std::wstring& path, const std::string& bytes, std::uint64_t offset = 0) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at));
    CloseHandle(file);
}

// Its three times, as one value.
std::string TimesOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return std::string(reinterpret_cast<const char*>(&data.ftCreationTime), 3 * sizeof(FILETIME));
}

TEST(ContentOfAFile, ReadOnlyWhereItIsAPlainLocalFileAndLeftAsItWas) {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = temporary + L"tavrix content "s + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring png = folder + L"\\photo", huge = folder + L"\\huge.iso", empty = folder + L"\\empty.txt";
    Write(png, "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x08\0\0\0\x08\x08\x02\0\0\0"s);
    Write(empty, "");
    Write(huge, "\x01" "CD001", 0x8000);
    Write(huge, "the end", (5ull << 30) - 7);  // past 4 GB

    // Not read at all: folders, shares, devices and pipes, what does not exist.
    EXPECT_EQ(win::LocalFile(folder).What(), Kind::Folder);
    for (const wchar_t* path : {L"\\\\server\\share\\a.jpg", L"\\\\?\\UNC\\server\\share\\a.jpg",
                                L"\\\\.\\pipe\\x.jpg", L"\\\\.\\C:", L"C:\\no such folder\\x.jpg"})
        EXPECT_EQ(win::LocalFile(path).What(), Kind::NotRead) << path;

    // Read while another program holds it open for writing, and that program may still write,
    // rename and delete it meanwhile.
    HANDLE other = CreateFileW(png.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const FILETIME old{0xD53E8000, 0x01A8E79F};  // some day in 1995: whatever the reading does, it stays
    ASSERT_TRUE(SetFileTime(other, &old, &old, &old));
    const std::string before = TimesOf(png);
    {
        const win::LocalFile file(png);
        ASSERT_EQ(file.What(), Kind::Readable);
        Counted bytes(file);
        EXPECT_EQ(IdentifyContent(bytes)->Usual(), u"png");
        EXPECT_TRUE(MoveFileExW(png.c_str(), (png + L".moved").c_str(), 0));
        EXPECT_TRUE(MoveFileExW((png + L".moved").c_str(), png.c_str(), 0));
    }
    CloseHandle(other);
    EXPECT_EQ(TimesOf(png), before);

    // Any size costs what a small file does.
    const win::LocalFile file(huge);
    Counted bytes(file);
    EXPECT_EQ(IdentifyContent(bytes)->Usual(), u"iso");
    EXPECT_LE(bytes.read, kMostBytesRead);
    std::uint8_t end[8] = {};
    EXPECT_EQ(file.Read((5ull << 30) - 7, end), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(end)), "the end");

    const win::LocalFile nothing(empty);
    Counted none(nothing);
    EXPECT_EQ(IdentifyContent(none), nullptr);

    for (const std::wstring& path : {png, huge, empty}) DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tavrix
