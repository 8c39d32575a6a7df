#pragma once
#include "PageLook.h"

// The text the clipboard holds.
class CClipBoardVw : public CPageView {
public:
    CClipBoardVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // The clipboard's text now: empty when the clipboard holds none, cannot be opened, or its text
    // block cannot be locked. The copy never reads past the end of the block.
    static std::wstring ReadText(HWND owner);

    CEdit m_content;

    DECLARE_MESSAGE_MAP()

private:
    void OnErase();
};
