#pragma once
#include "afxwin.h"

// The multiple-document main window.
class CMainFrame : public CMDIFrameWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA lpcs) override;
};
