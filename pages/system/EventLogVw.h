#pragma once
#include <memory>
#include <vector>

#include "EventLog.h"
#include "PageLook.h"
#include "Inbox.h"
#include "Worker.h"

// The records of the "Application" event log, listed on a worker in batches as the page opens.
// "Erase" clears that log and lists it again.
class CEventLogVw : public CPageView {
public:
    CEventLogVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    void OnErase();
    bool Listing() const { return m_listing.Running(); }
    struct BatchRoom;

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void StartListing();
    void StopListing();
    void ShowCount();
    void OnRowText(NMHDR* pNMHDR, LRESULT* pResult);
    engine::Worker m_listing;
    std::shared_ptr<ui::Inbox> m_inbox;
    std::vector<engine::events::EventRow> m_rows;  // what the list shows
    std::shared_ptr<BatchRoom> m_room;
    bool m_erasing = false;
    bool m_countDue = false;
};
