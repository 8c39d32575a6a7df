// Entry point of the engine's test programs: they link the engine alone, no window code, and
// refuse to run anywhere but in the build folder's test Wine prefix (they erase files and keys).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    wchar_t prefix[1024] = L"";
    ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
    size_t n = wcslen(prefix);
    const wchar_t* want = L"/test-prefix";
    if (n < wcslen(want) || wcscmp(prefix + n - wcslen(want), want) != 0) {
        fwprintf(stderr, L"refusing to run: not in the build folder's test Wine prefix (WINEPREFIX=%ls)\n", prefix);
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    int r = RUN_ALL_TESTS();
    ::CoUninitialize();
    return r;
}
