#pragma once
// From a file that the user hands to the program (dropped on the window, or named on the command
// line by "Open with" and "Send To") to the text of the input box. Only the name is read: nothing
// here opens a file or asks the system about one. Standard C++ only, like the catalogue.
//
// The way from a command line to the input box:
//   FirstArgument -> ExtensionOfArgument -> CatalogueSpelling, or lower-cased by the window
// and from a dropped file's name:
//   ExtensionOfFileName -> CatalogueSpelling, or lower-cased by the window.
// An empty result at any step means there is nothing to look up.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrix {

// No component of a Windows file name is longer; a longer "extension" is no file's.
inline constexpr std::size_t kLongestExtension = 255;

// The text after the last dot of the name's last component (components end at '\' or '/'), that
// component read as Windows opens it: without an NTFS stream suffix (from its first ':'), without
// a leading drive ("C:"), and but for a "\\?\" path without trailing blanks and dots. Empty where
// there is nothing to look up: no dot, a dot at the end, a folder, a bare share, a device name
// such as CON, or an extension that holds a character no file name holds ("<>|?* and controls)
// or more than kLongestExtension code units. A long extension is given whole: fitting it to the input box is
// the box's business. A view into `name`.
std::u16string_view ExtensionOfFileName(std::u16string_view name);

// The first argument after the program name of a Windows command line, split as the C runtime
// splits it; nothing where the line holds no argument. An argument of "" is empty. The program's
// own path (`program`, as the system gives it), or that path without ".exe", is the program name
// wherever the line begins with it, blanks and all: unquoted, as schedulers and installers start
// programs, the runtime would split it.
std::optional<std::u16string> FirstArgument(std::u16string_view command_line, std::u16string_view program = {});

// Whether a command-line argument names a file: it holds a path separator, a colon or a dot.
bool NamesAFile(std::u16string_view argument);

// The extension that a command-line argument names: a file name's as ExtensionOfFileName reads
// it, so ".jpg" gives "jpg"; a bare word is itself ("jpg", "CON"), but for one that holds a quote
// (as the runtime leaves one of "C:\x.zip\"). Empty where there is nothing to look up. A view
// into `argument`.
std::u16string_view ExtensionOfArgument(std::u16string_view argument);

// The catalogue's key that equals `extension` when ASCII letter case is ignored ("JPG" -> "jpg",
// "mpeg" -> "MPEG"); empty where no key does.
std::u16string_view CatalogueSpelling(std::u16string_view extension);

}  // namespace tavrix
