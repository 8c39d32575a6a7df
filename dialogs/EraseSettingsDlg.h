// Erase Settings: whether files are overwritten before they are deleted, and in how many passes.
// OK keeps the choices in the profile; Cancel keeps nothing. What the policy sets shows checked or
// chosen and greyed, "set by your administrator", and OK leaves the profile's own choice of it alone.
#pragma once
#include "Policy.h"
#include "afxwin.h"

class CEraseSettingsDlg : public CDialog {
public:
    explicit CEraseSettingsDlg(CWnd* pParent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    void OnOverwriteClicked();
    engine::Policy m_policy;
};
