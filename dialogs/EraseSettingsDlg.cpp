#include "EraseSettingsDlg.h"

#include "Settings.h"
#include "resource.h"

const MsgMap CEraseSettingsDlg::messageMap{&CDialog::messageMap, {
    msg::Command(IDC_ERASESET_OVERWRITE, &CEraseSettingsDlg::OnOverwriteClicked),
}};

CEraseSettingsDlg::CEraseSettingsDlg(CWnd* pParent) : CDialog(IDD_ERASE_SETTINGS, pParent) {}

BOOL CEraseSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_policy = engine::ReadPolicy();
    const engine::Options options = settings::EraseOptions();
    CheckDlgButton(IDC_ERASESET_OVERWRITE, options.overwrite ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_ERASESET_KEEP_RECENT, settings::KeepRecentTemp() ? BST_CHECKED : BST_UNCHECKED);
    HWND passes = ::GetDlgItem(m_hWnd, IDC_ERASESET_PASSES);
    for (const wchar_t* n : {L"1", L"2", L"3"}) ::SendMessageW(passes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n));
    ::SendMessageW(passes, CB_SETCURSEL, options.passes - 1, 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ERASESET_OVERWRITE), !m_policy.overwrite);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_ERASESET_POLICY), m_policy.overwrite || m_policy.passes ? SW_SHOW : SW_HIDE);
    OnOverwriteClicked();
    return TRUE;
}

// Passes mean something only while overwriting is on.
void CEraseSettingsDlg::OnOverwriteClicked() {
    const BOOL on = IsDlgButtonChecked(IDC_ERASESET_OVERWRITE) == BST_CHECKED && !m_policy.passes;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ERASESET_PASSES), on);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ERASESET_PASSES_LABEL), on);
}

void CEraseSettingsDlg::OnOK() {
    if (!m_policy.overwrite) settings::SetOverwrite(IsDlgButtonChecked(IDC_ERASESET_OVERWRITE) == BST_CHECKED);
    settings::SetKeepRecentTemp(IsDlgButtonChecked(IDC_ERASESET_KEEP_RECENT) == BST_CHECKED);
    const LRESULT chosen = ::SendDlgItemMessageW(m_hWnd, IDC_ERASESET_PASSES, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR && !m_policy.passes) settings::SetPasses(static_cast<unsigned>(chosen) + 1);
    EndDialog(IDOK);
}
