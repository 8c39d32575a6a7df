#pragma once
#include "EraseResult.h"
#include "PageLook.h"

// The entries of the cookie folder, listed as the page opens; the folder and its sub-folders
// are erased on a worker behind the progress dialog.
class CCookies : public CPageView {
public:
    CCookies();
    void DoDataExchange(CDataExchange* pDX) override;

    // Erases the cookie folder and returns when the progress dialog has closed. Also works on a
    // view that has no window (the Internet summary page keeps one).
    void StartCookieErase();
    // The same erase without window, dialog, pauses or library step.
    static EraseResult EraseWithoutWindow();
    void OnErase();

    CTreeCtrl m_tree;

    DECLARE_MESSAGE_MAP()

private:
    void FillTree();
    LRESULT OnWalkEnded(WPARAM, LPARAM);
};
