#pragma once
#include "FileWalk.h"
#include "OwnerDataRows.h"
#include "PageLook.h"

// The files of the browser's cache folder, listed on a worker as the page opens, erased on
// another behind the progress dialog.
class CTempNetFileVw : public CPageView {
public:
    CTempNetFileVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;

    // Erases the cache and returns when the progress dialog has closed. Also works on a view
    // that has no window (the Internet summary page keeps one).
    void StartCacheErase();
    // The same erase without window, dialog, pauses or library step.
    static EraseResult EraseWithoutWindow();
    void OnErase();
    // Whether the listing walk still runs.
    bool Listing() const { return m_listing.Running(); }

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    LRESULT OnWalkNames(WPARAM, LPARAM lParam);
    LRESULT OnWalkEnded(WPARAM, LPARAM);
    void OnRowText(NMHDR* nm, LRESULT*);
    filewalk::WalkJob Job();
    filewalk::WalkThread m_listing;
    // Each name goes on top: the list reads in the reverse of the walk's order.
    OwnerDataRows m_rows{true};
};
