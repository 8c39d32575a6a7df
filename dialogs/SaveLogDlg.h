#pragma once
#include "afxwin.h"

// The log file's name: one string for the whole process. Nothing writes to the file.
std::wstring& LogPath();
extern const wchar_t kDefaultLogPath[];

// Lets the user choose the log file's name and creates that file, empty.
class CSaveLogDlg : public CDialog {
public:
    explicit CSaveLogDlg(CWnd* pParent = nullptr);
    void DoDataExchange(CDataExchange* pDX) override;

    void OnBrowse();
    void OnOk();
    void OnCancelButton();

    std::wstring m_strFileName;

    DECLARE_MESSAGE_MAP()
};
