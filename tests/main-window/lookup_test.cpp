// The lookup as a user meets it: keys typed into the input box (through the edit control, as a
// keyboard sends them), pasting, the six-character limit, and the program's own writes.

#include <new>
#include <string>

#include "tests/main-window/main_window_fixture.h"

// Memory that runs out: while g_failFrom is set, every allocation of at least that many bytes
// fails, as the program's own allocations would when the system has no more to give.
namespace {
std::size_t g_failFrom = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (g_failFrom && size >= g_failFrom) throw std::bad_alloc();
    if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { HeapFree(GetProcessHeap(), 0, block); }
void operator delete(void* block, std::size_t) noexcept { HeapFree(GetProcessHeap(), 0, block); }

namespace tavrix::test {
namespace {

using MainWindowLookup = MainWindowTest;

TEST_F(MainWindowLookup, TypingZipShowsDescriptionEmptyDescriptionThenEmptyAgain) {
    ClearInput();
    EXPECT_EQ(Text(W::Text1), L"");
    EXPECT_EQ(Text(W::Text2), L"");
    Type(L"z");
    EXPECT_EQ(Text(W::Text2), DescriptionOf(u"z"));
    Type(L"i");
    EXPECT_EQ(Text(W::Text2), L"");
    Type(L"p");
    EXPECT_EQ(Text(W::Text2), DescriptionOf(u"zip"));
    PressKey(VK_BACK);
    EXPECT_EQ(Text(W::Text1), L"zi");
    EXPECT_EQ(Text(W::Text2), L"");
}

// The window keeps the input as typed, odd characters too, hands it to the lookup so, and shows
// its text whole (that of "cpe" ends in a space): the rule itself is find_description_test's.
TEST_F(MainWindowLookup, TheInputIsLookedUpAsTypedAndTheTextShownWhole) {
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"JPG", L""}, {L"MPEG", DescriptionOf(u"MPEG")}, {L"cpe", DescriptionOf(u"cpe")},
        {L"\xD800", L""}, {L"jp\xDC00", L""}, {L"\xFFFF", L""}, {L"\x3000zip", L""}};
    for (const auto& [input, output] : cases) {
        ClearInput();
        Type(input);
        EXPECT_EQ(Text(W::Text1), input);
        EXPECT_EQ(Text(W::Text2), output);
    }
}

TEST_F(MainWindowLookup, ThePromptMatchesNothingAndLeavesRoomForOneCharacter) {
    EXPECT_EQ(Text(W::Text2), L"");
    Activate(Hwnd(), Control(W::Text1));
    PressKey(VK_END, false, true);
    Type(L"zip");
    EXPECT_EQ(Text(W::Text1), kPrompt + std::wstring(L"z"));
    EXPECT_EQ(Text(W::Text2), L"");
}

// At most six UTF-16 units, typed or pasted; a character of two units that does not fit stays
// out whole.
TEST_F(MainWindowLookup, AtMostSixUnitsTypedOrPastedAndNoCharacterSplit) {
    const std::wstring face = L"\xD83D\xDE00";  // U+1F600, two units
    const struct {
        bool pasted;
        std::wstring text, input;
    } cases[] = {{false, L"abcdefgh", L"abcdef"}, {true, L"zipzipzip", L"zipzip"}, {true, L"zip", L"zip"},
                 {true, L"a" + face + face + face, L"a" + face + face}};
    for (const auto& [pasted, text, input] : cases) {
        ClearInput();
        if (pasted) {
            SetClipboardText(text);
            PressKey('V', false, true);
        } else {
            Type(text);
        }
        EXPECT_EQ(Text(W::Text1), input);
        EXPECT_EQ(Text(W::Text2), input == L"zip" ? DescriptionOf(u"zip") : L"");
    }
    ClearInput();
    Type(L"abcde");
    Type(face);  // typed as its two units, one unit of room left
    EXPECT_EQ(Text(W::Text1), L"abcde");
    PressKey(VK_BACK);
    Type(face);
    EXPECT_EQ(Text(W::Text1), L"abcd" + face);
}

// Another component (an input method, an accessibility add-in) may subclass the input box after
// the window has made it: the box keeps its rules and its lookup behind the other procedure.
WNDPROC g_theirsBefore = nullptr;
int g_theirsHeard = 0;
LRESULT CALLBACK Theirs(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) ++g_theirsHeard;
    return CallWindowProcW(g_theirsBefore, hwnd, message, wParam, lParam);
}

TEST_F(MainWindowLookup, TheInputBoxWorksBehindAnotherComponentsProcedure) {
    ClearInput();
    g_theirsBefore = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Control(W::Text1), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Theirs)));
    ASSERT_NE(g_theirsBefore, nullptr);
    EXPECT_EQ(SendMessageW(Control(W::Text1), EM_GETLIMITTEXT, 0, 0), kInputLimit);
    Type(L"zip");
    EXPECT_EQ(g_theirsHeard, 3);
    EXPECT_EQ(Text(W::Text1), L"zip");
    EXPECT_EQ(Text(W::Text2), DescriptionOf(u"zip"));
}

TEST_F(MainWindowLookup, EnterPutsALineBreakIntoTheInput) {
    ClearInput();
    Type(L"jpg");
    ASSERT_FALSE(Text(W::Text2).empty());
    PressKey(VK_RETURN);
    EXPECT_EQ(Text(W::Text1), L"jpg\r\n");
    EXPECT_EQ(Text(W::Text2), L"");
    EXPECT_EQ(GetFocus(), Control(W::Text1));
}

TEST_F(MainWindowLookup, AProgramWriteThatChangesTheInputRunsTheLookup) {
    window->SetText(W::Text1, L"zip");
    EXPECT_EQ(Text(W::Text2), DescriptionOf(u"zip"));
    // Writing the text the box already holds is no change: what the output box shows stays.
    window->SetText(W::Text2, L"提示");
    window->SetText(W::Text1, L"zip");
    EXPECT_EQ(Text(W::Text2), L"提示");
    window->SetText(W::Text1, L"z");
    EXPECT_EQ(Text(W::Text2), DescriptionOf(u"z"));
}

TEST_F(MainWindowLookup, AFailedWriteGoesToTheErrorReportAndTheStepsBeforeItStay) {
    ErrorReports reports;
    ClearInput();
    Type(L"zi");
    ASSERT_TRUE(reports.Seen().empty());
    DestroyWindow(Control(W::Text2));  // the output box is gone: writing it must fail
    Type(L"p");
    EXPECT_EQ(Text(W::Text1), L"zip");
    ASSERT_EQ(reports.Seen().size(), 1u);
}

// The input box's own handling of a paste (what fits within its limit) copies the clipboard's
// text: when that fails, the error reaches the report like any other, and the box keeps its text.
TEST_F(MainWindowLookup, APasteWhenMemoryRunsOutGoesToTheErrorReport) {
    ErrorReports reports;
    ClearInput();
    Type(L"zip");
    SetClipboardText(std::wstring(100000, L'x'));
    g_failFrom = 100000;
    PressKey('V', false, true);
    g_failFrom = 0;
    EXPECT_EQ(Text(W::Text1), L"zip");
    ASSERT_EQ(reports.Seen().size(), 1u);
    PressKey('A', false, true);  // the clipboard was let go: the next paste works
    PressKey('V', false, true);
    EXPECT_EQ(Text(W::Text1), L"xxxxxx");
}

}  // namespace
}  // namespace tavrix::test
