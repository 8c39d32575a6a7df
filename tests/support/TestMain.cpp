// Entry point of every window-side test program.
#include <gtest/gtest.h>

#include "LogoffDlg.h"
#include "Pacing.h"
#include "TestFiles.h"
#include "afxwin.h"

int main(int argc, char** argv) {
    if (!testkit::InsideTestPrefix()) return 2;
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
