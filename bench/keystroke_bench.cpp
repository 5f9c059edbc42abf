// The cost of one keystroke in the main window: from the key's WM_CHAR reaching the input box
// until the output box holds its final text (the edit, the change notification, the walk over
// the whole catalogue and every write of the output box). Painting comes later and is not counted.
//
// Beside it, the cost of a file of this machine dropped on the window and read for what it holds:
// from WM_DROPFILES reaching the window until the output box holds what the window says of the
// file (each drop changes it).
//
// keystroke_bench [keystrokes]  prints one line of JSON: count, median, p99, max and mean in
// microseconds, and how many keys changed the output box; the median of those that changed it. Each keystroke is checked afterwards
// (outside the timing) against the lookup. Beside it, as yardsticks, the same keys typed word by
// word in turn into the least window that does the main window's job (bench/same_job.h), and into
// a bare edit control of the input box's size and styles with nobody listening: what the
// system's control costs by itself.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "bench/same_job.h"
#include "catalogue/catalogue.h"
#include "catalogue/content.h"
#include "catalogue/file_name.h"
#include "main-window/main_window.h"
#include "tests/support/drop_files.h"
#include "win/message_loop.h"
#include "win/window_text.h"

namespace {

using namespace std::string_view_literals;
using tavrix::界面;
using tavrix::test::DropOf;

// Typed and erased again, round after round: hits early and late in the catalogue, a repeated
// key, the one upper-case key, misses, and an input longer than any key.
constexpr std::wstring_view kWords[] = {L"zip", L"jpg",  L"MPEG", L"vxd",
                                        L"avd", L"job*", L"qqq", L"abcdef"};

std::u16string_view Utf16(const std::wstring& text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows texts are UTF-16");
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        tavrix::win::HandleQueuedMessage(message);
}

class Keystrokes {
public:
    // Without an output box, only the timing is kept.
    Keystrokes(HWND input, HWND output) : input_(input), output_(output) {
        QueryPerformanceFrequency(&frequency_);
    }

    void Focus() {
        SetFocus(input_);
        Pump();
    }

    // One character as the message loop hands it to the focused input box; false if the output
    // box then disagrees with the lookup.
    bool Type(wchar_t character) {
        MSG message{};
        message.hwnd = input_;
        message.message = WM_CHAR;
        message.wParam = character;
        message.lParam = 1;
        message.time = GetTickCount();
        const std::wstring before = output_ ? tavrix::win::WindowText(output_) : std::wstring();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        tavrix::win::HandleQueuedMessage(message);
        QueryPerformanceCounter(&end);
        micros_.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                          static_cast<double>(frequency_.QuadPart));
        if (!output_) return true;
        const std::wstring input = tavrix::win::WindowText(input_);
        const std::wstring output = tavrix::win::WindowText(output_);
        if (output != before) {
            ++changes_;
            changing_.push_back(micros_.back());
        } else {
            steady_.push_back(micros_.back());
        }
        return Utf16(output) == tavrix::FindDescription(Utf16(input));
    }

    // "name":{...} with count, median, 99th percentile, max and mean in microseconds.
    std::string Report(const char* name) {
        std::sort(micros_.begin(), micros_.end());
        const size_t n = micros_.size();
        double sum = 0;
        for (double m : micros_) sum += m;
        auto at = [&](double q) {
            return micros_[std::min(n - 1, static_cast<size_t>(q * static_cast<double>(n)))];
        };
        char text[256];
        std::snprintf(text, sizeof(text),
                      "\"%s\":{\"keystrokes\":%zu,\"median_us\":%.1f,\"p99_us\":%.1f,"
                      "\"max_us\":%.1f,\"mean_us\":%.1f,\"changes_output\":%ld,"
                      "\"steady_median_us\":%.1f,\"changing_median_us\":%.1f}",
                      name, n, at(0.5), at(0.99), micros_[n - 1], sum / static_cast<double>(n),
                      changes_, Median(output_ ? steady_ : micros_), Median(changing_));
        return text;
    }

private:
    static double Median(std::vector<double>& times) {
        if (times.empty()) return 0;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    HWND input_, output_;
    LARGE_INTEGER frequency_{};
    std::vector<double> micros_;
    long changes_ = 0;            // keystrokes after which the output box held another text
    std::vector<double> steady_;  // the times of the others
    std::vector<double> changing_;
};

// Types one word into the box, which has the focus as a user's would, and erases it again; false
// if the output box then disagrees with the lookup.
bool TypeWord(Keystrokes& keystrokes, std::wstring_view word) {
    keystrokes.Focus();
    for (wchar_t c : word)
        if (!keystrokes.Type(c)) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (!keystrokes.Type(VK_BACK)) return false;
    Pump();  // paints between words, as a user's pauses would let it
    return true;
}

// The words, round after round, into every box in turn, a word into one and then the same word
// into the next: whatever the machine does meanwhile weighs on all alike.
bool TypeRounds(std::initializer_list<Keystrokes*> boxes, long wanted) {
    long typed = 0;
    while (typed < wanted) {
        for (std::wstring_view word : kWords) {
            for (Keystrokes* box : boxes)
                if (!TypeWord(*box, word)) return false;
            typed += static_cast<long>(2 * word.size());
        }
    }
    return true;
}

// A bare edit control with the input box's size, styles and limit, on a plain window.
HWND BareInputBox(HWND like) {
    RECT outer;
    GetWindowRect(like, &outer);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, outer.left,
                                  outer.top - 40, outer.right - outer.left + 20,
                                  outer.bottom - outer.top + 60, nullptr, nullptr, nullptr, nullptr);
    HWND box = CreateWindowExW(GetWindowLongW(like, GWL_EXSTYLE), L"EDIT", L"",
                               GetWindowLongW(like, GWL_STYLE), 10, 20, outer.right - outer.left,
                               outer.bottom - outer.top, window, nullptr, nullptr, nullptr);
    SendMessageW(box, WM_SETFONT, SendMessageW(like, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(box, EM_LIMITTEXT, 6, 0);
    SetFocus(box);
    Pump();
    return box;
}

// Files of this machine, each read for what it holds: a picture named rightly, a picture named as
// another, a text without an extension, a text named as a document, a file whose content tells
// nothing; one after another, each shows something else than the last.
struct Sample {
    const wchar_t* name;
    std::string_view bytes;
};
constexpr Sample kSamples[] = {
    {L"photo.png", "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x08\0\0\0\x08\x08\x02\0\0\0"sv},
    {L"PHOTO.JPG", "\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0"sv},
    {L"notes", "a plain text\r\n"sv},
    {L"clip.mpeg", "GIF89a\x01\0\x01\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;"sv},
    {L"report.doc", "a plain text named as a document\r\n"sv},
    {L"setup.vxd", "\x01\x02\x03\x04"sv},
};

// A sample's bytes, as the catalogue reads what a file holds.
struct InMemory final : tavrix::FileBytes {
    std::string_view bytes;
    std::uint64_t Size() const override { return bytes.size(); }
    std::size_t Read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        const std::size_t count =
            offset < bytes.size() ? std::min<std::size_t>(into.size(), bytes.size() - static_cast<std::size_t>(offset)) : 0;
        std::copy_n(bytes.begin() + offset, count, into.begin());
        return count;
    }
};

// What the output box must say of a sample: what its content tells, else the lookup's answer.
std::wstring ShownFor(const Sample& sample) {
    InMemory file;
    file.bytes = sample.bytes;
    const std::wstring name = sample.name;
    const tavrix::HandedOver handed = tavrix::WhatTheFileIs(tavrix::ExtensionOfFileName(Utf16(name)),
                                                            tavrix::IdentifyContent(file));
    std::u16string key(tavrix::CatalogueSpelling(handed.input));
    const std::u16string_view shown = handed.shown.empty() ? tavrix::FindDescription(key.empty() ? handed.input : key)
                                                           : std::u16string_view(handed.shown);
    return {shown.begin(), shown.end()};
}

// The samples dropped one after another; false if the output box then says anything else.
bool Drop(HWND window, HWND output, const std::wstring& folder, long count, std::vector<double>& micros) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    for (long i = 0; i < count; ++i) {
        const Sample& sample = kSamples[static_cast<size_t>(i) % std::size(kSamples)];
        MSG message{};
        message.hwnd = window;
        message.message = WM_DROPFILES;
        message.wParam = reinterpret_cast<WPARAM>(DropOf(folder + sample.name));
        message.time = GetTickCount();
        QueryPerformanceCounter(&start);
        tavrix::win::HandleQueuedMessage(message);
        QueryPerformanceCounter(&end);
        micros.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                         static_cast<double>(frequency.QuadPart));
        if (tavrix::win::WindowText(output) != ShownFor(sample)) return false;
        if (i % 16 == 0) Pump();
    }
    return true;
}

// The samples written into a folder of their own; its path, with a separator at its end.
std::wstring WriteSamples() {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = std::wstring(temporary) + L"tavrix-drop-bench\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const Sample& sample : kSamples) {
        HANDLE file = CreateFileW((folder + sample.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, sample.bytes.data(), static_cast<DWORD>(sample.bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const long wanted = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 20000;
    界面 window;
    window.Show();
    Pump();
    HWND input = window.Control(界面::Text1);
    SetFocus(input);
    // The prompt goes first, as a user would delete it.
    SendMessageW(input, EM_SETSEL, 0, -1);
    SendMessageW(input, WM_CHAR, VK_BACK, 1);
    Pump();

    HWND least = same_job::OpenMainWindow();
    HWND leastInput = same_job::MainInput(least);
    SetFocus(leastInput);
    SendMessageW(leastInput, EM_SETSEL, 0, -1);
    SendMessageW(leastInput, WM_CHAR, VK_BACK, 1);
    Pump();

    Keystrokes lookup(input, window.Control(界面::Text2));
    Keystrokes sameJob(leastInput, same_job::MainOutput(least));
    Keystrokes bare(BareInputBox(input), nullptr);
    if (!TypeRounds({&lookup, &sameJob, &bare}, wanted)) {
        std::fprintf(stderr, "an output box disagrees with the lookup\n");
        return 1;
    }
    // The first drop loads the shell, which tells the dropped names: it is not counted.
    const std::wstring folder = WriteSamples();
    std::vector<double> drops;
    if (!Drop(window.Handle(), window.Control(界面::Text2), folder, 1, drops) ||
        !Drop(window.Handle(), window.Control(界面::Text2), folder, wanted / 20, drops = {})) {
        std::fprintf(stderr, "a drop left the output box saying something else than the file's content tells\n");
        return 1;
    }
    std::sort(drops.begin(), drops.end());
    std::printf("{%s,%s,%s,\"drop\":{\"drops\":%zu,\"median_us\":%.1f,\"p99_us\":%.1f}}\n",
                lookup.Report("main_window").c_str(), sameJob.Report("same_job").c_str(),
                bare.Report("bare_edit").c_str(), drops.size(), drops[drops.size() / 2],
                drops[std::min(drops.size() - 1, drops.size() * 99 / 100)]);
    return 0;
}
