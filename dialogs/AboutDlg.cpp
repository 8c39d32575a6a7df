#include "AboutDlg.h"

#include "resource.h"

const MsgMap CAboutDlg::messageMap{&CDialog::messageMap, {
    msg::Command(IDC_ABOUT_OK, &CAboutDlg::OnOK),
}};

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < 5; ++i) DDX_Control(pDX, IDC_ABOUT_VERSION + i, m_statics[i]);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (CColorStatic& s : m_statics) s.SetBkColor(RGB(255, 255, 255));
    return TRUE;
}
