// main() of the window tests: COM as the programs have it, then GoogleTest.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
