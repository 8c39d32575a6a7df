#include "MainFrm.h"

int CMainFrame::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CMDIFrameWnd::OnCreate(lpcs) == -1) return -1;
    ShowWindow(SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IDLEUPDATECMDUI) {
        // The title follows the active page, also after a page closed.
        OnUpdateFrameTitle(TRUE);
        return 0;
    }
    return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}
