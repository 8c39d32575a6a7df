// Erase Settings: whether files are overwritten before they are deleted, and in how many passes.
// OK keeps the choices in the profile; Cancel keeps nothing.
#pragma once
#include "afxwin.h"

class CEraseSettingsDlg : public CDialog {
public:
    explicit CEraseSettingsDlg(CWnd* pParent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    void OnOverwriteClicked();
};
