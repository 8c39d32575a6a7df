#include "AskTextDlg.h"

#include "resource.h"

CAskTextDlg::CAskTextDlg(std::wstring caption, std::wstring prompt, Check check, CWnd* pParent)
    : CDialog(IDD_ASKTEXT, pParent), m_caption(std::move(caption)), m_prompt(std::move(prompt)), m_check(std::move(check)) {}

BOOL CAskTextDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_caption);
    SetDlgItemText(IDC_ASKTEXT_PROMPT, m_prompt);
    ::SendDlgItemMessageW(m_hWnd, IDC_ASKTEXT_TEXT, EM_SETLIMITTEXT, 1024, 0);
    return TRUE;
}

void CAskTextDlg::OnOK() {
    std::wstring text = GetDlgItemText(IDC_ASKTEXT_TEXT);
    std::wstring why = m_check ? m_check(text) : std::wstring();
    if (!why.empty()) {
        ::MessageBoxW(m_hWnd, why.c_str(), L"Corvane-Sweepmere", MB_OK | MB_ICONWARNING);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_ASKTEXT_TEXT));
        return;
    }
    m_text = text;
    EndDialog(IDOK);
}
