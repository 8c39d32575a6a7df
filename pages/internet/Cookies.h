#pragma once
#include "PageLook.h"
#include "PageWalk.h"

// The entries of the cookie folder, listed as the page opens; the folder and its sub-folders
// are erased on a worker behind the progress dialog.
class CCookies : public CPageView {
public:
    CCookies();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    // Erases the cookie folder behind the progress dialog; returns when the dialog has closed.
    void OnErase();

    CTreeCtrl m_tree;

    DECLARE_MESSAGE_MAP()

private:
    void FillTree();
    CPageWalk m_walk;
};
