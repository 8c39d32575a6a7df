#pragma once
#include "OwnerDataRows.h"
#include "PageLook.h"
#include "PageWalk.h"

// The files of the browser's cache folder, listed on a worker as the page opens, erased on
// another behind the progress dialog.
class CTempNetFileVw : public CPageView {
public:
    CTempNetFileVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    // Erases the cache behind the progress dialog; returns when the dialog has closed.
    void OnErase();
    // Whether the listing walk still runs.
    bool Listing() const { return m_walk.Running(); }

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void OnRowText(NMHDR* nm, LRESULT*);
    CPageWalk m_walk;
    // Each name goes on top: the list reads in the reverse of the walk's order.
    OwnerDataRows m_rows{true};
};
