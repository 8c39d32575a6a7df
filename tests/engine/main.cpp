// Entry point of the engine's test programs: they link the engine alone, no window code, and
// refuse to run anywhere but in the build folder's test Wine prefix (they erase files and keys).
#include <gtest/gtest.h>
#include <windows.h>

#include "TestFiles.h"

int wmain(int argc, wchar_t** argv) {
    if (!testkit::InsideTestPrefix()) return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    int r = RUN_ALL_TESTS();
    ::CoUninitialize();
    return r;
}
