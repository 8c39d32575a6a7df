#pragma once
#include "PageLook.h"

// The text the clipboard holds.
class CClipBoardVw : public CPageView {
public:
    CClipBoardVw();
    void DoDataExchange(CDataExchange* pDX) override;

    CEdit m_content;
};
