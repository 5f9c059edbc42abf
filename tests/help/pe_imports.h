#pragma once
// The DLLs that a Windows program file loads at start or on first use, read from the file's bytes
// alone (import and delay-import tables), so that the check runs on Linux as well as on Windows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrix::test {

// The DLL names in the order the tables give them. Throws std::runtime_error on a file that is
// not a well-formed PE image.
std::vector<std::string> ImportedDlls(const std::vector<std::uint8_t>& image);

// A DLL that every supported Windows installs (kernel32, user32, msvcrt, ...), in any letter case.
bool ShipsWithWindows(std::string_view dll);

// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

}  // namespace tavrix::test
