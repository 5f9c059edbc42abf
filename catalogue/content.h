#pragma once
// What a file handed to the program really is, told from what it holds rather than from its name:
// a few of its bytes read where each format says what it is, checked field by field so that a
// text that merely begins like a picture is still a text. And what the window then shows for it.
// Standard C++ only, like the catalogue: the file is read through FileBytes, which the window
// gives over a file of this machine opened for reading.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrix {

// A kind of file that its content tells.
struct ContentFormat {
    std::u16string_view extensions;   // the usual one first, then the others it goes by, blank-separated
    std::u16string_view name;         // what it is, in a few words
    std::u16string_view description = {};  // its own short text; empty: the catalogue's under its usual extension
    bool program = false;             // runs when opened: a Windows or DOS program
    std::u16string_view Usual() const { return extensions.substr(0, extensions.find(u' ')); }
};

// The bytes of one file, read where asked.
class FileBytes {
public:
    virtual std::uint64_t Size() const = 0;
    // Fills `into` from `offset` on; how many bytes came: fewer at the end, or where the file
    // shrank meanwhile, none on failure.
    virtual std::size_t Read(std::uint64_t offset, std::span<std::uint8_t> into) = 0;

protected:
    ~FileBytes() = default;
};

// What is read of any file: its head, and for the formats that need it a little more (a ZIP's
// central directory at its end, a compound file's directory, a program's header), never more than
// kMostBytesRead in all, whatever the file's size.
inline constexpr std::size_t kHeadBytes = 64 * 1024;
inline constexpr std::size_t kMostBytesRead = 1024 * 1024;

// The format of the file's content; null where nothing tells (an empty file among them).
const ContentFormat* IdentifyContent(FileBytes& file);

// What a handed-over file gives the window: the text for the input box (the name's extension, or
// where it has none the content's usual one; empty: nothing to look up), and what the output box
// shows for it instead of the lookup's answer (empty: the lookup's own answer). `extension` is the
// name's (ExtensionOfFileName); `content` what IdentifyContent found, or null.
struct HandedOver {
    std::u16string input;
    std::u16string shown;
};
HandedOver WhatTheFileIs(std::u16string_view extension, const ContentFormat* content);

}  // namespace tavrix
