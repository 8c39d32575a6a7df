#pragma once
#include "ColorStatic.h"

// The About box: a picture with the version and the maker's details on white.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    CColorStatic m_statics[5];  // 1279 to 1283

    DECLARE_MESSAGE_MAP()
};
