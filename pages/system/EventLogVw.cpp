#include "EventLogVw.h"

#include <memory>
#include <vector>

#include "EventLogReader.h"
#include "resource.h"

namespace {
const char kNotCleared[] = "The event log could not be cleared.";
constexpr UINT WM_EVENT_ROWS = WM_APP + 0x130;  // lParam: a RowBatch* the view deletes
constexpr size_t kBatch = 256;
// Batches posted and not yet shown: the worker waits beyond this, so a long log neither floods
// the window's queue nor holds all its rows in memory at once.
constexpr int kMostQueued = 8;

using RowBatch = std::vector<eventlog::EventRow>;

// What the worker uses; none of it belongs to the page, which may let go of a worker that is slow
// to stop.
struct ListTask {
    HWND view;
    WPARAM listing;  // which of the page's listings this is
    std::shared_ptr<filewalk::WalkThread::Request> stop;
    std::shared_ptr<std::atomic<int>> queued;
};

// Hands a batch to the view; false when the page stopped the listing.
bool Hand(const ListTask& t, std::unique_ptr<RowBatch>& batch) {
    while (*t.queued >= kMostQueued)
        if (t.stop->Wait(5)) return false;
    if (t.stop->Wait(0)) return false;
    if (batch->empty()) return true;
    ++*t.queued;
    if (::PostMessageA(t.view, WM_EVENT_ROWS, t.listing, reinterpret_cast<LPARAM>(batch.get())))
        batch.release();
    else
        --*t.queued;
    batch = std::make_unique<RowBatch>();
    return true;
}

UINT ListLogThread(LPVOID param) {
    std::unique_ptr<ListTask> task(static_cast<ListTask*>(param));
    std::unique_ptr<eventlog::EventLogSource> log = eventlog::MakeSource();
    eventlog::RowMaker rows;
    auto batch = std::make_unique<RowBatch>();
    eventlog::ReadEnd end = eventlog::ReadLog(*log, [&](const eventlog::EventRecord& r) {
        batch->push_back(rows.Row(r));
        return batch->size() < kBatch || Hand(*task, batch);
    });
    if (end != eventlog::ReadEnd::Stopped) Hand(*task, batch);
    return 0;
}

const char* const kHeaders[] = {"Event Type", "Source",  "Computer Name", "Domain Name", "User Name",
                                "SID Type",   "Event ID", "Submit Time",  "Write Time"};
}  // namespace

const MsgMap CEventLogVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_EVENTLOG_ERASE, &CEventLogVw::OnErase),
    msg::Message(WM_EVENT_ROWS, &CEventLogVw::OnRows),
}};

CEventLogVw::CEventLogVw() : CPageView(IDD_EVENTLOG, look::ListLook(IDC_EVENTLOG_TITLE, IDC_EVENTLOG_TEXT), "Event Log") {}

void CEventLogVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EVENTLOG_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES);
    for (int i = 0; i < 9; ++i) m_list.InsertColumn(i, kHeaders[i], LVCFMT_LEFT, 150);
    StartListing();
}

void CEventLogVw::StartListing() {
    StopListing();
    m_queued = std::make_shared<std::atomic<int>>(0);
    auto* task = new ListTask{m_hWnd, ++m_listings, m_listing.Shared(), m_queued};
    if (!m_listing.Start(ListLogThread, task)) delete task;
}

void CEventLogVw::StopListing() {
    m_listing.Stop();
    MSG m;
    while (::PeekMessageA(&m, m_hWnd, WM_EVENT_ROWS, WM_EVENT_ROWS, PM_REMOVE))
        delete reinterpret_cast<RowBatch*>(m.lParam);
}

void CEventLogVw::OnDestroy() {
    StopListing();  // before the list goes
    CPageView::OnDestroy();
}

LRESULT CEventLogVw::OnRows(WPARAM listing, LPARAM lParam) {
    std::unique_ptr<RowBatch> batch(reinterpret_cast<RowBatch*>(lParam));
    if (listing != m_listings) return 0;  // from a listing stopped since
    --*m_queued;
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    for (const eventlog::EventRow& row : *batch) {
        int at = m_list.InsertItem(m_list.GetItemCount(), row[0]);
        for (int col = 1; col < 9; ++col) m_list.SetItemText(at, col, row[col]);
    }
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
    return 0;
}

EraseResult CEventLogVw::EraseWithoutWindow() {
    EraseResult result;
    std::unique_ptr<eventlog::EventLogSource> log = eventlog::MakeSource();
    if (eventlog::ClearLog(*log))
        result.erased = 1;
    else
        result.Failed(kNotCleared);
    return result;
}

void CEventLogVw::OnErase() {
    if (m_erasing) return;
    m_erasing = true;
    // The old listing's rows must not land in the list the erase empties.
    StopListing();
    m_list.DeleteAllItems();
    EraseResult result = EraseWithoutWindow();
    StartListing();
    if (!result.Complete()) {
        HWND self = m_hWnd;
        ::MessageBoxA(nullptr, kNotCleared, "Corvane-Sweepmere", MB_ICONINFORMATION | MB_SYSTEMMODAL);
        // The page may have been closed while the box was up.
        if (!::IsWindow(self) || FromHandlePermanent(self) != this) return;
    }
    m_erasing = false;
}
