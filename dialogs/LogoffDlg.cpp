#include "LogoffDlg.h"

#include "resource.h"

const MsgMap CLogoffDlg::messageMap{&CDialog::messageMap, {
    msg::Command(IDC_LOGOFF_YES, &CLogoffDlg::OnYes),
    msg::Command(IDC_LOGOFF_NO, &CLogoffDlg::OnNo),
}};

CLogoffDlg::LogOffCall& CLogoffDlg::LogOff() {
    static LogOffCall call = &::ExitWindowsEx;
    return call;
}

CLogoffDlg::CLogoffDlg(CWnd* pParent) : CDialog(IDD_LOGOFF, pParent) {}

void CLogoffDlg::OnYes() {
    EndDialog(IDOK);
    // Windows may refuse (another program holding the session, a policy): the user is told, not
    // left waiting for a log-off that never comes.
    if (!LogOff()(EWX_LOGOFF, 0))
        ::MessageBoxW(nullptr, L"Windows did not log you off. Please log off later.", L"Corvane-Sweepmere",
                      MB_ICONINFORMATION | MB_SYSTEMMODAL);
}
