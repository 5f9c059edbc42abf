#pragma once
// A file of this machine opened to be read, and only read. Whatever is not a plain file on a disk
// of this machine is never opened nor read, so that nobody waits on it: a share or a mapped
// network drive, a file of a cloud drive that only its name stands for (reading it would download
// it), a device or a pipe. Its attributes and the handle's type are looked at before any byte.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tavrix::win {

class LocalFile {
public:
    enum class Kind { Folder, NotRead, Readable };

    // Looks at what the path names, and opens it where it is a plain local file: read-only,
    // sharing everything with every other program, with no error box from an empty drive.
    explicit LocalFile(const std::wstring& path);
    ~LocalFile();
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    Kind What() const noexcept { return kind_; }
    std::uint64_t Size() const noexcept { return size_; }
    // Fills `into` from `offset` on; how many bytes came: fewer at the end, none on failure or
    // for a file that is not read.
    std::size_t Read(std::uint64_t offset, std::span<std::uint8_t> into) const noexcept;

private:
    Kind kind_ = Kind::NotRead;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::uint64_t size_ = 0;
    FILETIME accessed_{};  // as it was before the file was read, where it is to be kept
    bool accessedKept_ = false;
};

}  // namespace tavrix::win
