// Entry point of every test program. It refuses to run anywhere but in the build folder's
// test Wine prefix: the tests erase files and registry keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "LogoffDlg.h"
#include "Pacing.h"
#include "afxwin.h"

int main(int argc, char** argv) {
    wchar_t prefix[1024] = L"";
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, ARRAYSIZE(prefix));
    size_t n = wcslen(prefix);
    const wchar_t* want = L"/test-prefix";
    if (n < wcslen(want) || wcscmp(prefix + n - wcslen(want), want) != 0) {
        fwprintf(stderr, L"refusing to run: not in the build folder's test Wine prefix (WINEPREFIX=%ls)\n", prefix);
        return 2;
    }
    Pacing::SetScalePercent(0);
    // No test may log the session off: a test that wants the call puts its own recorder in.
    CLogoffDlg::LogOff() = [](UINT, DWORD) -> BOOL { return FALSE; };
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    int r = RUN_ALL_TESTS();
    CoUninitialize();
    return r;
}
