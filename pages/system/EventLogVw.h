#pragma once
#include <memory>

#include "EraseResult.h"
#include "EventLogReader.h"
#include "FileWalk.h"
#include "PageLook.h"

// The records of the "Application" event log, listed on a worker in batches as the page opens.
// "Erase" clears that log and lists it again.
class CEventLogVw : public CPageView {
public:
    CEventLogVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    void OnErase();
    // Clears the log without a window or a message.
    static EraseResult EraseWithoutWindow();
    bool Listing() const { return m_listing.Running(); }
    struct BatchRoom;

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void StartListing();
    void StopListing();
    LRESULT OnRows(WPARAM listing, LPARAM lParam);
    void TakeRows(WPARAM listing, LPARAM lParam);
    void OnRowText(NMHDR* pNMHDR, LRESULT* pResult);
    filewalk::WalkThread m_listing;
    std::vector<eventlog::EventRow> m_rows;  // what the list shows
    WPARAM m_listings = 0;                        // listings started, the last one's number
    std::shared_ptr<BatchRoom> m_room;
    bool m_erasing = false;
};
