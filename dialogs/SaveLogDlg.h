#pragma once
#include "afxwin.h"

// Lets the user choose the log file's name, which is kept in the profile for both programs, and
// creates that file, empty. Every erase appends to it.
class CSaveLogDlg : public CDialog {
public:
    explicit CSaveLogDlg(CWnd* pParent = nullptr);
    void DoDataExchange(CDataExchange* pDX) override;

    BOOL OnInitDialog() override;
    void OnBrowse();
    void OnOk();
    void OnCancelButton();

    std::wstring m_strFileName;

    DECLARE_MESSAGE_MAP()
};
