#include "win/local_file.h"

#include <string_view>

namespace tavrix::win {
namespace {

// Where a file's data may not be here: offline, or left in the cloud until it is opened or read
// (attributes of Windows 10, which these headers do not name).
constexpr DWORD kRecallOnOpen = 0x00040000;
constexpr DWORD kRecallOnDataAccess = 0x00400000;
constexpr DWORD kElsewhere = FILE_ATTRIBUTE_OFFLINE | kRecallOnOpen | kRecallOnDataAccess;

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(full.empty() ? 0 : GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return full;
}

// Whether the path lies on a disk of this machine: not on a share or a mapped network drive, not
// in the device namespace. Decided from the path and the drive's type alone, before anything of
// the file is asked for.
bool OnThisMachine(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\")) path.remove_prefix(4);
    else if (path.starts_with(L"\\\\")) return false;
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
    const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_RAMDISK;
}

}  // namespace

LocalFile::LocalFile(const std::wstring& path) {
    DWORD errorMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &errorMode);
    struct Restore {
        DWORD mode;
        ~Restore() { SetThreadErrorMode(mode, nullptr); }
    } restore{errorMode};

    const std::wstring full = FullPath(path);
    if (full.empty() || !OnThisMachine(full)) return;
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;  // among them a pipe's, under Wine
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        kind_ = Kind::Folder;
        return;
    }
    if (attributes & kElsewhere) return;
    // Opened for its attributes as well, where that is allowed, only to keep its last access
    // time as it was: Windows leaves it alone when told so, other systems get it back at the end.
    // Nothing else of the file is written.
    constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    constexpr DWORD kFlags = FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_NO_RECALL;
    handle_ = CreateFileW(full.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, kShared, nullptr, OPEN_EXISTING,
                          kFlags, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) {
        const FILETIME kLeaveAlone{0xFFFFFFFF, 0xFFFFFFFF};
        accessedKept_ = GetFileTime(handle_, nullptr, &accessed_, nullptr) != FALSE;
        SetFileTime(handle_, nullptr, &kLeaveAlone, nullptr);
    } else {
        handle_ = CreateFileW(full.c_str(), GENERIC_READ, kShared, nullptr, OPEN_EXISTING, kFlags, nullptr);
    }
    LARGE_INTEGER size{};
    if (handle_ == INVALID_HANDLE_VALUE || GetFileType(handle_) != FILE_TYPE_DISK || !GetFileSizeEx(handle_, &size))
        return;
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    kind_ = Kind::Readable;
}

LocalFile::~LocalFile() {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    if (accessedKept_) SetFileTime(handle_, nullptr, &accessed_, nullptr);
    CloseHandle(handle_);
}

std::size_t LocalFile::Read(std::uint64_t offset, std::span<std::uint8_t> into) const noexcept {
    std::size_t done = 0;
    while (kind_ == Kind::Readable && done < into.size()) {
        OVERLAPPED at{};  // the offset of a read on a handle opened for synchronous reads
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD read = 0;
        if (!ReadFile(handle_, into.data() + done, static_cast<DWORD>(into.size() - done), &read, &at) || read == 0)
            break;
        done += read;
    }
    return done;
}

}  // namespace tavrix::win
