// main() of the window tests: COM as the programs have it, then GoogleTest. An error that reaches
// the program's error report fails the running test instead of showing a message box.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "tests/support/gui_test.h"
#include "win/error.h"

namespace {
void FailTest(const std::wstring& message) {
    ADD_FAILURE() << "error report: " << tavrix::test::Narrow(message);
}
}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    tavrix::win::SetErrorReport(&FailTest);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
