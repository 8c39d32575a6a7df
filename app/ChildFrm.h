#pragma once
#include "afxwin.h"

// The frame of the introduction page. It never shows itself: activation does nothing, and an
// MDI child is created hidden.
class CChildFrame : public CMDIChildWnd {
public:
    void ActivateFrame(int nCmdShow = -1) override { (void)nCmdShow; }
};
