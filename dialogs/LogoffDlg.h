#pragma once
#include "afxwin.h"

// Asks whether to log off now, after registry traces were erased that Windows lets go of only at
// the next log-on.
class CLogoffDlg : public CDialog {
public:
    // The call that logs the user off; replaceable so that no test ever logs off.
    using LogOffCall = BOOL(WINAPI*)(UINT flags, DWORD reason);
    static LogOffCall& LogOff();

    explicit CLogoffDlg(CWnd* pParent = nullptr);
    void OnYes();
    void OnNo() { OnCancel(); }

    DECLARE_MESSAGE_MAP()
};
