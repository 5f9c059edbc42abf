// What a dropped file's name or the program's command line puts into the input box: the extension
// as read from the name alone, and the catalogue's spelling of it where the catalogue has it.
#include "catalogue/catalogue.h"
#include "catalogue/file_name.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavrix {
namespace {

enum class Given { kDroppedName, kCommandLine };

struct Case {
    Given given;
    std::u16string text;
    std::optional<std::u16string> argument;  // a command line's first argument; nullopt: none
    std::u16string extension;                // empty: nothing to look up
    std::u16string key;                      // the catalogue's spelling; empty: not in it
};

Case Dropped(std::u16string name, std::u16string extension, std::u16string key = {}) {
    return {Given::kDroppedName, std::move(name), std::nullopt, std::move(extension),
            std::move(key)};
}

Case Line(std::u16string line, std::optional<std::u16string> argument, std::u16string extension,
          std::u16string key = {}) {
    return {Given::kCommandLine, std::move(line), std::move(argument), std::move(extension),
            std::move(key)};
}

std::u16string Repeat(std::u16string_view part, std::size_t times) {
    std::u16string text;
    for (std::size_t i = 0; i < times; ++i) text += part;
    return text;
}

std::u16string Upper(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    }
    return upper;
}

std::vector<Case> Cases() {
    const std::u16string deep = u"\\\\?\\C:\\" + Repeat(u"Folder.Deep\\", 30) + u"Report.docx";
    const std::u16string longest(kLongestExtension, u'e');
    const std::u16string too_long(kLongestExtension + 1, u'e');
    const std::u16string huge(30'000, u'a');
    const std::u16string huge_path = u"C:\\" + Repeat(u"d\\", 14'000) + u"Photo.JPG";
    std::vector<Case> cases = {
        Dropped(u"archive.tar.gz", u"gz"),
        Dropped(u"PHOTO.JPG", u"JPG", u"jpg"),
        Dropped(u"C:\\Videos\\clip.mpeg", u"mpeg", u"MPEG"),
        Dropped(u"D:/work/task.Job*", u""),  // no file name holds "*"
        Dropped(u"C:\\dir.d\\README", u""),
        Dropped(u"file.txt:stream", u"txt", u"txt"),
        Dropped(u"C:\\x\\file:stream.txt", u""),
        Dropped(u"C:", u""),
        Dropped(u"C:image.gif", u"gif", u"gif"),
        Dropped(u"x.", u""),
        Dropped(u"a.b.c. .", u"c", u"c"),  // trailing dots and blanks: Windows opens a.b.c
        Dropped(u"\\\\?\\C:\\a.b.c.", u""),  // but not in a path taken literally
        Dropped(u"", u""),
        Dropped(u".gitignore", u"gitignore"),
        Dropped(u"C:\\Users\\me\\Pictures\\", u""),
        Dropped(u"\\\\server\\share", u""),
        Dropped(u"\\\\server\\share\\a.doc", u"doc", u"doc"),
        Dropped(u"\\\\?\\UNC\\server\\share\\b.ZIP", u"ZIP", u"zip"),
        Dropped(deep, u"docx"),
        Dropped(huge_path, u"JPG", u"jpg"),
        Dropped(u"CON", u""),
        Dropped(u"C:\\x\\CON", u""),
        Dropped(u"CON.txt", u"txt", u"txt"),
        Dropped(u"a." + longest, longest),
        Dropped(u"a." + too_long, u""),
        Dropped(u"a.abcdefg", u"abcdefg"),  // longer than the input box takes: whole all the same
        Dropped(u"photo\u200F.jpg", u"jpg", u"jpg"),
        Dropped(u"\u200Fphoto.jpg\u200F", u"jpg\u200F"),
        Dropped(u"evil\u202Egpj.exe", u"exe", u"exe"),
        Dropped(u"\U0001F600.jpg", u"jpg", u"jpg"),
        Dropped(u"a.\U0001F600", u"\U0001F600"),
        Dropped(u"\U0001F600.\U0001F601\U0001F602", u"\U0001F601\U0001F602"),
        Dropped(u"cafe\u0301.txt", u"txt", u"txt"),
        Dropped(u"a.jpg\u0301", u"jpg\u0301"),
        Dropped(u"a.\uFF4A\uFF50\uFF47", u"\uFF4A\uFF50\uFF47"),  // fullwidth: no ASCII letters
        Dropped(u"a.\u212Abd", u"\u212Abd"),  // the Kelvin sign is no ASCII "k"

        Line(u"Tavrix.exe jpg", u"jpg", u"jpg", u"jpg"),
        Line(u"Tavrix.exe", std::nullopt, u""),
        Line(u"", std::nullopt, u""),
        Line(u"Tavrix.exe \"\"", u"", u""),
        Line(u"Tavrix.exe MPEG", u"MPEG", u"MPEG", u"MPEG"),
        Line(u"Tavrix.exe Mpeg", u"Mpeg", u"Mpeg", u"MPEG"),
        Line(u"Tavrix.exe CON", u"CON", u"CON"),
        Line(u"Tavrix.exe .jpg", u".jpg", u"jpg", u"jpg"),
        Line(u"Tavrix.exe ..jpg", u"..jpg", u"jpg", u"jpg"),
        Line(u"Tavrix.exe C:", u"C:", u""),
        Line(u"Tavrix.exe mpeg doc", u"mpeg", u"mpeg", u"MPEG"),
        Line(u"Tavrix.exe \"\" doc", u"", u""),
        Line(u"Tavrix.exe Job*", u"Job*", u"Job*", u"job*"),
        Line(u"C:\\my tools\\Tavrix.exe D:\\x.jpg", u"D:\\x.jpg", u"jpg", u"jpg"),  // unquoted, as Run keys start it
        Line(u"c:\\MY TOOLS\\tavrix x.gif", u"x.gif", u"gif", u"gif"),
        Line(u"C:\\my tools\\Tavrix.exe", std::nullopt, u""),
        Line(u"Tavrix.exe \"D:\\file.jpg \"", u"D:\\file.jpg ", u"jpg", u"jpg"),
        Line(u"Tavrix.exe \"C:\\x.zip\\\"", u"C:\\x.zip\"", u""),  // a folder, its quote escaped
        Line(u"\"C:\\Program Files\\Tavrix\\Tavrix.exe\" \"D:\\My Pictures\\PHOTO.JPG\" x.doc",
             u"D:\\My Pictures\\PHOTO.JPG", u"JPG", u"jpg"),
        Line(u"\"C:\\Program Files\\Tavrix.exe\"", std::nullopt, u""),
        Line(u"Tavrix.exe \"C:\\dir.d\\\\\" x.jpg", u"C:\\dir.d\\", u""),
        Line(u"Tavrix.exe \"a\\\\\\\"b.gif\"", u"a\\\"b.gif", u"gif", u"gif"),
        Line(u"Tavrix.exe \"say \"\"hi\"\".doc\"", u"say \"hi\".doc", u"doc", u"doc"),
        Line(u"Tavrix.exe a\"b c\".doc d", u"ab c.doc", u"doc", u"doc"),
        Line(u"Tavrix.exe \"D:\\unended name.png", u"D:\\unended name.png", u"png"),
        Line(u"Tavrix.exe " + deep, deep, u"docx"),
        Line(u"Tavrix.exe " + huge, huge, u""),
        Line(u"Tavrix.exe \"" + huge + u".gif\"", huge + u".gif", u"gif", u"gif"),
        Line(u"Tavrix.exe \u200Fjpg", u"\u200Fjpg", u"\u200Fjpg"),
        Line(u"Tavrix.exe \"\U0001F600 \U0001F601.jpg\"", u"\U0001F600 \U0001F601.jpg", u"jpg",
             u"jpg"),
    };
    // Every key, in capitals, finds its own spelling again (as a word, where no file name holds it).
    for (const CatalogueEntry& entry : Catalogue()) {
        const std::u16string upper = Upper(entry.key), key(entry.key);
        cases.push_back(upper.find(u'*') == upper.npos ? Dropped(u"x." + upper, upper, key)
                                                       : Line(u"Tavrix.exe " + upper, upper, upper, key));
    }
    return cases;
}

TEST(FileName, FromNameOrCommandLineToTheInputBox) {
    const std::vector<Case> cases = Cases();
    for (std::size_t row = 0; row < cases.size(); ++row) {
        const Case& c = cases[row];
        std::u16string_view extension;
        std::optional<std::u16string> argument;
        if (c.given == Given::kDroppedName) {
            extension = ExtensionOfFileName(c.text);
        } else {
            argument = FirstArgument(c.text, u"C:\\my tools\\Tavrix.exe");
            EXPECT_EQ(argument, c.argument) << "row " << row;
            if (argument) extension = ExtensionOfArgument(*argument);
        }
        EXPECT_EQ(extension, c.extension) << "row " << row;
        EXPECT_EQ(CatalogueSpelling(extension), c.key) << "row " << row;
    }
}

}  // namespace
}  // namespace tavrix
