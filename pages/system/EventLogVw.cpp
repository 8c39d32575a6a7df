#include "EventLogVw.h"

#include <memory>
#include <vector>

#include "EventLogReader.h"
#include "resource.h"

namespace {
const wchar_t kNotCleared[] = L"The event log could not be cleared.";
constexpr UINT WM_EVENT_ROWS = WM_APP + 0x130;  // wParam: the listing; lParam: a RowBatch* the view deletes
constexpr size_t kBatch = 256;

using RowBatch = std::vector<eventlog::EventRow>;
}  // namespace

// Room for the batches a listing may post before the page has shown them: the worker waits for
// room, so a long log neither floods the window's queue nor holds all its rows at once.
struct CEventLogVw::BatchRoom {
    static constexpr LONG kMostQueued = 8;
    HANDLE slots = ::CreateSemaphoreW(nullptr, kMostQueued, kMostQueued, nullptr);
    ~BatchRoom() { ::CloseHandle(slots); }
};

namespace {
// What the worker uses; none of it belongs to the page, which may let go of a worker that is slow
// to stop.
struct ListTask {
    HWND view;
    WPARAM listing;  // which of the page's listings this is
    std::shared_ptr<filewalk::WalkThread::Request> stop;
    std::shared_ptr<CEventLogVw::BatchRoom> room;
};

// Hands a batch to the view; false when the page stopped the listing.
bool Hand(const ListTask& t, std::unique_ptr<RowBatch>& batch) {
    if (batch->empty()) return !t.stop->Wait(0);
    HANDLE waits[] = {t.stop->event, t.room->slots};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1 || t.stop->Wait(0)) return false;
    if (::PostMessageW(t.view, WM_EVENT_ROWS, t.listing, reinterpret_cast<LPARAM>(batch.get())))
        batch.release();
    else
        ::ReleaseSemaphore(t.room->slots, 1, nullptr);
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

const wchar_t* const kHeaders[] = {L"Event Type", L"Source",  L"Computer Name", L"Domain Name", L"User Name",
                                L"SID Type",   L"Event ID", L"Submit Time",  L"Write Time"};
}  // namespace

const MsgMap CEventLogVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_EVENTLOG_ERASE, &CEventLogVw::OnErase),
    msg::Message(WM_EVENT_ROWS, &CEventLogVw::OnRows),
    msg::Notify(LVN_GETDISPINFOW, IDC_EVENTLOG_LIST, &CEventLogVw::OnRowText),
}};

CEventLogVw::CEventLogVw() : CPageView(IDD_EVENTLOG, look::ListLook(IDC_EVENTLOG_TITLE, IDC_EVENTLOG_TEXT), L"Event Log") {}

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
    m_room = std::make_shared<BatchRoom>();
    auto* task = new ListTask{m_hWnd, ++m_listings, m_listing.Shared(), m_room};
    if (!m_listing.Start(ListLogThread, task)) delete task;
}

void CEventLogVw::StopListing() {
    m_listing.Stop(filewalk::kStopWaitMs);  // the worker holds nothing of the page
    MSG m;
    while (::PeekMessageW(&m, m_hWnd, WM_EVENT_ROWS, WM_EVENT_ROWS, PM_REMOVE))
        delete reinterpret_cast<RowBatch*>(m.lParam);
}

void CEventLogVw::OnDestroy() {
    StopListing();  // before the list goes
    CPageView::OnDestroy();
}

void CEventLogVw::TakeRows(WPARAM listing, LPARAM lParam) {
    std::unique_ptr<RowBatch> batch(reinterpret_cast<RowBatch*>(lParam));
    if (listing != m_listings) return;  // from a listing stopped since
    ::ReleaseSemaphore(m_room->slots, 1, nullptr);
    for (eventlog::EventRow& row : *batch) m_rows.push_back(std::move(row));
}

LRESULT CEventLogVw::OnRows(WPARAM listing, LPARAM lParam) {
    TakeRows(listing, lParam);
    // The batches waiting now join this one, so that the count is set once for all of them (the
    // list may take time over each new count), and no more: the window goes on painting.
    MSG m;
    for (int more = 0; more < BatchRoom::kMostQueued && ::PeekMessageW(&m, m_hWnd, WM_EVENT_ROWS, WM_EVENT_ROWS, PM_REMOVE); ++more)
        TakeRows(m.wParam, m.lParam);
    // The list holds no texts of its own: it asks for the rows it shows.
    m_list.SendMessage(LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOSCROLL);
    return 0;
}

void CEventLogVw::OnRowText(NMHDR* pNMHDR, LRESULT*) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item;
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
    size_t row = static_cast<size_t>(item.iItem), col = static_cast<size_t>(item.iSubItem);
    const wchar_t* text = row < m_rows.size() && col < m_rows[row].size() ? m_rows[row][col].c_str() : L"";
    ::lstrcpynW(item.pszText, text, item.cchTextMax);
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
    m_rows.clear();
    EraseResult result = EraseWithoutWindow();
    StartListing();
    if (!result.Complete()) {
        HWND self = m_hWnd;
        ::MessageBoxW(nullptr, kNotCleared, L"Corvane-Sweepmere", MB_ICONINFORMATION | MB_SYSTEMMODAL);
        // The page may have been closed while the box was up.
        if (!::IsWindow(self) || FromHandlePermanent(self) != this) return;
    }
    m_erasing = false;
}
