#pragma once
#include "EraseResult.h"
#include "PageLook.h"

// The text the clipboard holds.
class CClipBoardVw : public CPageView {
public:
    CClipBoardVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // The clipboard's text now: empty when the clipboard holds none, cannot be opened, or its text
    // block cannot be locked. The copy never reads past the end of the block.
    static std::wstring ReadText(HWND owner);
    // Empties the clipboard. With an owner window, text is then announced for delayed rendering
    // and never rendered, so other programs see a text format but get no text from it; without
    // one the clipboard is left empty. Nothing is touched when the clipboard cannot be opened.
    static EraseResult EraseClipboard(HWND owner);
    // The erase for callers without a window (summary pages): no owner, no message box.
    static EraseResult EraseWithoutWindow();

    CEdit m_content;

    DECLARE_MESSAGE_MAP()

private:
    void OnErase();
};
